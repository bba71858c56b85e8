#pragma once

#include <map>
#include <string>

#include <OgreRenderObjectListener.h>
#include <OgreRenderTargetListener.h>

namespace Ogre
{
class RenderTarget;
class SceneManager;
} // namespace Ogre

// Where a software rasteriser spends a frame, draw by draw. Before every renderable is drawn the GL
// pipeline is drained (glFinish), so the wall time until the next one is drawn is what that renderable
// cost: the main thread's share (Ogre's state changes, vertex processing and binning, which the software
// rasteriser does in the calling thread) and the rasteriser's threads filling its pixels. An occlusion
// query counts the pixels it wrote (blended pixels that show nothing included). Draining after every draw
// makes frames slower and merges nothing: use it to rank what costs, not to time frames.
//
// Columns: the wall time per frame, its share, the main thread's processor time up to the drain ("main
// ms") and with it ("+drain"). With LP_NUM_THREADS=0 the rasteriser works in the main thread while it
// drains, so "+drain" is the whole cost on the processor clock, which other programs on a busy machine
// barely disturb, unlike the wall time.
//
// Draws are tallied by material, with the kind of object that drew them (the mesh for an entity).
class DrawCosts : public Ogre::RenderObjectListener, public Ogre::RenderTargetListener
{
  public:
    // Listens to `scene` and `window` until destroyed; both must outlive this.
    DrawCosts(Ogre::SceneManager& scene, Ogre::RenderTarget& window);
    ~DrawCosts() override;
    DrawCosts(const DrawCosts&) = delete;
    DrawCosts& operator=(const DrawCosts&) = delete;

    void notifyRenderSingleObject(Ogre::Renderable* rend, const Ogre::Pass* pass,
                                  const Ogre::AutoParamDataSource* source, const Ogre::LightList* lights,
                                  bool suppressRenderStateChanges) override;
    void preRenderTargetUpdate(const Ogre::RenderTargetEvent& event) override;
    void postRenderTargetUpdate(const Ogre::RenderTargetEvent& event) override;

    // Prints the tallies since the last call, costliest first, per frame of `frames`, and forgets them.
    void printAndReset(long frames);
    void forget() { mTallies.clear(); }

  private:
    struct Tally
    {
        double ms = 0;
        double mainMs = 0;
        double drainedMs = 0;
        double pixels = 0;
        long draws = 0;
    };
    void closeCurrent();

    Ogre::SceneManager& mScene;
    Ogre::RenderTarget& mWindow;
    std::map<std::string, Tally> mTallies;
    std::string mCurrent;
    double mStartMicros = 0;
    double mStartCpuMicros = 0;
    unsigned mQuery = 0;
    bool mQueryOpen = false;
};
