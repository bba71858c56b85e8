#pragma once

#include <memory>
#include <string>
#include <vector>

#include <Bites/OgreWindowEventUtilities.h>
#include <OgreConfigFile.h>
#include <OgreFrameListener.h>

#include "app/frame_pacer.h"

namespace Ogre
{
class LogManager;
class OverlaySystem;
class Root;
class Viewport;
} // namespace Ogre
namespace platform
{
class DisplayLossGuard;
class MediaPrefetch;
} // namespace platform
class FullScreenSwitch;
class InputState;
class Scene;

// The application: starts the engine and every process-wide service, runs the chain of scenes and drives
// the current scene once per rendered frame. One exists per process; it sets the access points of
// core/access_points.h and owns what they point to.
class Quobbel : public OgreBites::WindowEventListener, public Ogre::FrameListener
{
  public:
    // The game's log, "quobbel.log" under basePath. The entry function opens it before the application, so
    // that a start-up that fails is logged too; an application made where no log is open opens its own.
    static std::unique_ptr<Ogre::LogManager> openLog(const std::string& basePath);

    // The whole start-up, with files opened under basePath ("./"). Throws the engine's exceptions, a text
    // error ("Config file is missing"), std::runtime_error for a configuration path that is not a file, and
    // platform::MediaError for media that fail their manifest's check. The media files named in
    // `firstSceneMedia` are unpacked on a thread of their own while the engine starts.
    explicit Quobbel(const std::string& basePath, std::vector<std::string> firstSceneMedia = {});
    // Shuts the services down in the reverse of their dependencies.
    ~Quobbel() override;
    Quobbel(const Quobbel&) = delete;
    Quobbel& operator=(const Quobbel&) = delete;

    // The scene loop; owns `first` and every successor.
    void run(Scene* first);

    void windowResized(Ogre::RenderWindow* window) override;
    // Ends the program after the current frame, through the normal unload of the scene.
    void windowClosed(Ogre::RenderWindow* window) override;
    // The game's work for one frame: input, full-screen keys, music key, scene update. Returns false once the
    // scene has named its successor, which ends the engine's rendering loop.
    bool frameEnded(const Ogre::FrameEvent& event) override;

    // The input state, updated at every frame's end; for tests and tools that render frames themselves.
    InputState& input() { return *mInput; }
    // Paces the frames the engine's rendering loop makes ("MaxFPS").
    const FramePacer& pacer() const { return *mPacer; }

  private:
    void startEngine();
    void openWindow();
    void addBlackBarsViewport();
    void registerResources();
    void endPrefetch();

    // Null when the log was open before the application.
    std::unique_ptr<Ogre::LogManager> mLogManager;
    std::unique_ptr<platform::DisplayLossGuard> mDisplayGuard;
    // Until the first frame has been drawn; the resource groups' loading listener meanwhile.
    std::unique_ptr<platform::MediaPrefetch> mPrefetch;
    Ogre::Root* mRoot = nullptr;
    Ogre::ConfigFile mConfig;
    InputState* mInput = nullptr;
    Scene* mCurrentScene = nullptr;
    std::unique_ptr<FramePacer> mPacer;
    // Draws the overlays; must exist before resources are parsed (fonts) and go before the root.
    std::unique_ptr<Ogre::OverlaySystem> mOverlaySystem;
    // F11 and Alt+Return.
    std::unique_ptr<FullScreenSwitch> mFullScreen;
    // The whole-window viewport that keeps the bars around the picture black; the window owns it.
    Ogre::Viewport* mBars = nullptr;
};
