#include "draw_costs.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <Ogre.h>
#include <OgreOverlayElement.h>

#include "render_phases.h"
#include "step_timer.h"

namespace
{
std::string kindOf(Ogre::Renderable* rend)
{
    if (auto* sub = dynamic_cast<Ogre::SubEntity*>(rend))
        return "mesh " + sub->getParent()->getMesh()->getName();
    if (auto* movable = dynamic_cast<Ogre::MovableObject*>(rend))
        return movable->getMovableType();
    if (dynamic_cast<Ogre::ManualObject::ManualObjectSection*>(rend))
        return "ManualObject";
    if (dynamic_cast<Ogre::OverlayElement*>(rend))
        return "overlay";
    return "other";
}
} // namespace

DrawCosts::DrawCosts(Ogre::SceneManager& scene, Ogre::RenderTarget& window) : mScene(scene), mWindow(window)
{
    mScene.addRenderObjectListener(this);
    mWindow.addListener(this);
    glGenQueries(1, &mQuery);
}

DrawCosts::~DrawCosts()
{
    mWindow.removeListener(this);
    mScene.removeRenderObjectListener(this);
    glDeleteQueries(1, &mQuery);
}

void DrawCosts::closeCurrent()
{
    if (mQueryOpen)
        glEndQuery(GL_SAMPLES_PASSED);
    const double submitted = threadCpuMicros();
    glFinish();
    const double now = wallMicros();
    const double drained = threadCpuMicros();
    if (!mCurrent.empty())
    {
        Tally& tally = mTallies[mCurrent];
        tally.ms += (now - mStartMicros) / 1000;
        tally.mainMs += (submitted - mStartCpuMicros) / 1000;
        tally.drainedMs += (drained - mStartCpuMicros) / 1000;
        tally.draws += 1;
        if (mQueryOpen)
        {
            GLuint samples = 0;
            glGetQueryObjectuiv(mQuery, GL_QUERY_RESULT, &samples);
            tally.pixels += samples;
        }
    }
    mQueryOpen = false;
    mCurrent.clear();
    mStartMicros = wallMicros();
    mStartCpuMicros = threadCpuMicros();
}

void DrawCosts::notifyRenderSingleObject(Ogre::Renderable* rend, const Ogre::Pass* pass,
                                         const Ogre::AutoParamDataSource*, const Ogre::LightList*, bool)
{
    closeCurrent();
    mCurrent = kindOf(rend) + " | " + pass->getParent()->getParent()->getName();
    glBeginQuery(GL_SAMPLES_PASSED, mQuery);
    mQueryOpen = true;
}

void DrawCosts::preRenderTargetUpdate(const Ogre::RenderTargetEvent&)
{
    glFinish();
    mStartMicros = wallMicros();
    mStartCpuMicros = threadCpuMicros();
    mCurrent = "(frame start to the first draw: clears, culling)";
}

void DrawCosts::postRenderTargetUpdate(const Ogre::RenderTargetEvent&)
{
    closeCurrent();
}

void DrawCosts::printAndReset(long frames)
{
    std::vector<std::pair<std::string, Tally>> sorted(mTallies.begin(), mTallies.end());
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return a.second.ms > b.second.ms; });
    double total = 0;
    for (const auto& [name, tally] : sorted)
        total += tally.ms;
    const double n = static_cast<double>(std::max(frames, 1L));
    std::printf("    %8s %6s %8s %8s %8s %9s  %s\n", "ms/frame", "share", "main ms", "+drain", "draws",
                "kpixels", "what (kind | material)");
    for (const auto& [name, tally] : sorted)
        std::printf("    %8.3f %5.1f%% %8.3f %8.3f %8.1f %9.1f  %s\n", tally.ms / n, 100 * tally.ms / total,
                    tally.mainMs / n, tally.drainedMs / n, static_cast<double>(tally.draws) / n,
                    tally.pixels / n / 1000, name.c_str());
    std::printf("    %8.3f  total drained draw time per frame\n", total / n);
    mTallies.clear();
}
