#include "render_phases.h"

#include <ctime>

#include <Ogre.h>

#include "step_timer.h"

namespace
{
double clockMicros(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

double median(std::vector<double> values)
{
    return summarise(values).median;
}
} // namespace

double processCpuMicros()
{
    return clockMicros(CLOCK_PROCESS_CPUTIME_ID);
}

double wallMicros()
{
    return clockMicros(CLOCK_MONOTONIC);
}

FrameCostSummary summarise(const std::vector<FrameCosts>& frames)
{
    FrameCostSummary s;
    s.frames = static_cast<long>(frames.size());
    if (frames.empty())
        return s;
    std::vector<double> wall;
    std::vector<double> update;
    std::vector<double> scene;
    std::vector<double> submit;
    std::vector<double> process;
    for (const FrameCosts& f : frames)
    {
        wall.push_back(f.wallMs);
        update.push_back(f.updateMs);
        scene.push_back(f.sceneMs);
        submit.push_back(f.submitMs);
        process.push_back(f.processCpuMs);
    }
    s.wallMs = summarise(wall);
    s.medianFps = s.wallMs.median > 0 ? 1000 / s.wallMs.median : 0;
    s.lowFps = s.wallMs.p99 > 0 ? 1000 / s.wallMs.p99 : 0;
    s.updateMs = median(update);
    s.sceneMs = median(scene);
    s.submitMs = median(submit);
    s.processCpuMs = median(process);
    return s;
}

RenderPhases::RenderPhases(Ogre::SceneManager& sceneManager, const Ogre::Viewport& picture)
    : mSceneManager(sceneManager), mPicture(picture)
{
    mSceneManager.addListener(this);
}

RenderPhases::~RenderPhases()
{
    mSceneManager.removeListener(this);
}

FrameCosts RenderPhases::frame(const std::function<double()>& step)
{
    const double wall0 = wallMicros();
    const double process0 = processCpuMicros();
    const double cpu0 = threadCpuMicros();
    const double updateMs = step();
    const double cpu1 = threadCpuMicros();
    mQueuedMicros = 0;
    Ogre::Root::getSingleton().renderOneFrame();
    const double cpu2 = threadCpuMicros();
    // A frame that drew nothing (a hidden window) never filled the queue.
    const double queued = mQueuedMicros > 0 ? mQueuedMicros : cpu2;

    FrameCosts costs;
    costs.updateMs = updateMs;
    costs.sceneMs = (cpu1 - cpu0) / 1000 - updateMs + (queued - cpu1) / 1000;
    costs.submitMs = (cpu2 - queued) / 1000;
    costs.wallMs = (wallMicros() - wall0) / 1000;
    costs.processCpuMs = (processCpuMicros() - process0) / 1000;
    return costs;
}

void RenderPhases::postFindVisibleObjects(Ogre::SceneManager*, Ogre::SceneManager::IlluminationRenderStage,
                                          Ogre::Viewport* viewport)
{
    if (viewport == &mPicture)
        mQueuedMicros = threadCpuMicros();
}
