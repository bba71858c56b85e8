#include "level_run.h"

#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "scenes/main_scene.h"
#include "step_timer.h"
#include "support/replay.h"

namespace
{
using Clock = std::chrono::steady_clock;

double microsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}
} // namespace

MeasuredScene::MeasuredScene(const std::string& level, int players, RunRecord& record,
                             std::size_t expectedFrames)
    : mLevel(level), mInner(std::make_unique<MainScene>(level, players)), mRecord(record)
{
    mRecord.updateMicros.reserve(expectedFrames);
    mRecord.stepMicros.reserve(expectedFrames);
    mRecord.allocations.reserve(expectedFrames);
}

MeasuredScene::~MeasuredScene() = default;

void MeasuredScene::load()
{
    const Clock::time_point start = Clock::now();
    const double cpuStart = threadCpuMicros();
    mInner->load();
    // The game would go back to the title: a benchmark of a level that is not there measures nothing.
    if (mInner->levelRefused())
        throw std::runtime_error(mLevel + " cannot be read (see the message above)");
    mRecord.loadCpuMilliseconds = (threadCpuMicros() - cpuStart) / 1000;
    mRecord.loadMilliseconds = microsSince(start) / 1000;
}

void MeasuredScene::unload()
{
    mInner->unload();
    // A successor the wrapped scene named but the run did not take (the run was handed over first).
    if (mInner->next && mInner->next != Scene::quitMarker())
        delete mInner->next;
    mInner->next = nullptr;
}

void MeasuredScene::handOver(Scene* successor)
{
    if (next && next != Scene::quitMarker())
        delete next;
    next = successor;
    mHandedOver = true;
}

void MeasuredScene::update(double frameTime, InputState* input)
{
    mRecord.lastUpdateMicros = 0;
    if (mHandedOver || mRecord.ended)
        return;
    if (mInner->goSignUp() || mInner->paused())
    {
        const double start = threadCpuMicros();
        mInner->update(frameTime, input);
        mRecord.lastUpdateMicros = threadCpuMicros() - start;
        return;
    }
    if (allocationCount::tracing())
        std::fprintf(stderr, "==== frame %zu of %s\n", mRecord.updateMicros.size(), mLevel.c_str());
    const long stepsBefore = stepTimer::steps();
    const double start = threadCpuMicros();
    allocationCount::start();
    mInner->update(frameTime, input);
    const AllocationTally tally = allocationCount::stop();
    const double micros = threadCpuMicros() - start;
    mRecord.lastUpdateMicros = micros;

    mRecord.goalReached = mRecord.goalReached || mInner->winner() != 0;
    if (mInner->next || mInner->levelFile() != mLevel)
    {
        mRecord.goalReached = mRecord.goalReached || mInner->levelFile() != mLevel;
        mRecord.ended = true;
        next = mInner->next;
        mInner->next = nullptr;
        return;
    }
    // A frame that ended early (the name entry starting) made no step: it has no physics floor.
    if (stepTimer::steps() == stepsBefore + 1)
        mRecord.stepMicros.push_back(stepTimer::lastMicros());
    mRecord.updateMicros.push_back(micros);
    mRecord.allocations.push_back(tally);
}

void switchTo(GameDriver& game, Scene* successor)
{
    Scene* current = game.scene();
    if (!current)
        throw std::runtime_error("a route quit the game; the runs after it cannot be made");
    auto* measured = dynamic_cast<MeasuredScene*>(current);
    if (measured)
        measured->handOver(nullptr);
    while ((game.frameCount() + 1) % 3 != 0)
        game.step(ReplayFrame());
    if (measured)
        measured->handOver(successor);
    else
    {
        if (current->next && current->next != Scene::quitMarker())
            delete current->next;
        current->next = successor;
    }
    game.step(ReplayFrame());
}
