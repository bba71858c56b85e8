#pragma once

#include <functional>
#include <vector>

#include <OgreSceneManager.h>

#include "frame_stats.h"

// Where the main thread's time goes in one rendered frame, on its own processor clock:
//   update:  the scene's update (game logic and physics);
//   scene:   the rest of the game's step (the scene graph brought up to date), then the engine's frame up to
//            the moment the picture's viewport has its render queue filled (controllers and particles, the
//            scene graph again, culling, for the black-bars viewport too);
//   submit:  from there to the end of the frame: the render queues handed to GL (overlays included), the
//            buffer swap, which waits for the software rasteriser's threads and copies the picture to
//            the X server, and the application's frame-ended handler.
// Besides, the frame's wall-clock time and the whole process's processor time (every thread, the
// rasteriser's included).
struct FrameCosts
{
    double updateMs = 0;
    double sceneMs = 0;
    double submitMs = 0;
    double wallMs = 0;
    double processCpuMs = 0;
};

struct FrameCostSummary
{
    long frames = 0;
    FrameStats wallMs;
    double medianFps = 0;
    double lowFps = 0;   // 1% low: the rate of the frame at the 99th percentile of frame times
    double updateMs = 0; // medians, main thread
    double sceneMs = 0;
    double submitMs = 0;
    double processCpuMs = 0;
};

FrameCostSummary summarise(const std::vector<FrameCosts>& frames);

// Times frames made by `step` (the game's update) followed by the engine's renderOneFrame.
class RenderPhases : public Ogre::SceneManager::Listener
{
  public:
    // Listens to `sceneManager` for the end of culling of `picture`, the viewport that shows the game.
    RenderPhases(Ogre::SceneManager& sceneManager, const Ogre::Viewport& picture);
    ~RenderPhases() override;
    RenderPhases(const RenderPhases&) = delete;
    RenderPhases& operator=(const RenderPhases&) = delete;

    // One frame. `step` runs the game's step and returns the processor time of the scene's update inside
    // it, in milliseconds.
    FrameCosts frame(const std::function<double()>& step);

    void postFindVisibleObjects(Ogre::SceneManager* source, Ogre::SceneManager::IlluminationRenderStage irs,
                                Ogre::Viewport* viewport) override;

  private:
    Ogre::SceneManager& mSceneManager;
    const Ogre::Viewport& mPicture;
    double mQueuedMicros = 0;
};

// Processor time of the whole process (all threads), microseconds.
double processCpuMicros();
// Wall-clock time on the monotonic clock, microseconds.
double wallMicros();
