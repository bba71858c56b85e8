#include <chrono>
#include <vector>

#include <OgreConfigFile.h>
#include <OgreDataStream.h>

#include <gtest/gtest.h>

#include "app/frame_pacer.h"

using namespace std::chrono_literals;
using Clock = FramePacer::Clock;

namespace
{
// A game loop on a made-up clock: each frame works for `work` (or the one long frame), then the pacer says
// when the next starts. Returns the frames' start times.
struct SimulatedLoop
{
    FramePacer pacer;
    Clock::time_point now = Clock::time_point() + 1000s;
    std::vector<Clock::time_point> starts;

    explicit SimulatedLoop(unsigned maxFps) : pacer(maxFps) {}

    void run(int frames, Clock::duration work, bool hidden = false)
    {
        for (int i = 0; i < frames; ++i)
        {
            starts.push_back(now);
            now += work;
            now = pacer.nextFrameStart(now, hidden);
        }
    }
    // Frames that started in [from, to).
    long startedBetween(Clock::time_point from, Clock::time_point to) const
    {
        long n = 0;
        for (Clock::time_point t : starts)
            n += t >= from && t < to;
        return n;
    }
};

unsigned readFrom(const std::string& text)
{
    Ogre::ConfigFile config;
    std::string copy = text;
    config.load(Ogre::DataStreamPtr(new Ogre::MemoryDataStream(copy.data(), copy.size())), "=", true);
    return readMaxFps(config);
}
} // namespace

TEST(FramePacer, StartTimesLieOnWholePeriodsSoTheRateDoesNotDrift)
{
    SimulatedLoop loop(60);
    loop.run(2 + 60 * 100, 3ms);
    // The end of the first frame lays the grid; 6,000 frames later, 100 s on, a frame starts exactly on it.
    const Clock::time_point origin = loop.starts[1];
    EXPECT_EQ(loop.starts[0] + 3ms, origin);
    EXPECT_EQ(loop.starts.back(), origin + 100s);
    for (std::size_t i = 2; i < loop.starts.size(); ++i)
    {
        const auto gap = loop.starts[i] - loop.starts[i - 1];
        ASSERT_TRUE(gap == 16666666ns || gap == 16666667ns) << "frame " << i << ": " << gap.count() << " ns";
    }
}

TEST(FramePacer, ALateFrameStartsTheNextAtOnceAndIsNotFollowedByABurst)
{
    SimulatedLoop loop(60);
    loop.run(30, 2ms);
    const Clock::time_point longFrameStart = loop.now;
    loop.run(1, 500ms);
    const Clock::time_point afterIt = loop.now;
    loop.run(120, 2ms);
    // The frame after the long one starts as soon as it ends...
    EXPECT_EQ(afterIt, longFrameStart + 500ms);
    // ...and the second of frames after it holds 60 of them, not the 30 the long frame missed on top.
    EXPECT_LE(loop.startedBetween(afterIt, afterIt + 1s), 61);
    EXPECT_GE(loop.startedBetween(afterIt, afterIt + 1s), 59);
    // Frames slower than the cap run back to back, never waiting, and come no faster than their work.
    SimulatedLoop slow(60);
    slow.run(100, 20ms);
    for (std::size_t i = 1; i < slow.starts.size(); ++i)
        ASSERT_EQ(slow.starts[i] - slow.starts[i - 1], 20ms) << "frame " << i;
}

TEST(FramePacer, AHiddenWindowDrawsAtMostTwentyFiveFramesASecondAndAShownOneComesBack)
{
    EXPECT_EQ(frameRateCap(60, true), 25u);
    EXPECT_EQ(frameRateCap(0, true), 25u);
    EXPECT_EQ(frameRateCap(10, true), 10u);
    EXPECT_EQ(frameRateCap(0, false), 0u);
    EXPECT_EQ(frameRateCap(144, false), 144u);

    SimulatedLoop loop(0);
    loop.run(100, 1ms);
    EXPECT_EQ(loop.startedBetween(loop.starts.front(), loop.now), 100) << "no cap: nothing waits";
    const std::size_t firstHidden = loop.starts.size();
    loop.run(1 + 25 * 4, 1ms, true);
    // The end of the first hidden frame lays a new grid: exactly the frame-time clamp between frames, so
    // game time keeps up with real time.
    for (std::size_t i = firstHidden + 2; i < loop.starts.size(); ++i)
        ASSERT_EQ(loop.starts[i] - loop.starts[i - 1], 40ms) << "frame " << i;
    const Clock::time_point grid = loop.starts[firstHidden + 1];
    EXPECT_EQ(loop.startedBetween(grid, grid + 4s), 100);
    const Clock::time_point shown = loop.now;
    loop.run(100, 1ms);
    EXPECT_EQ(loop.starts.back() - shown, 99ms);
}

TEST(MaxFps, ReadsAWholeNumberAndFallsBackToSixtyOnAnythingElse)
{
    const struct
    {
        const char* file;
        unsigned fps;
    } cases[] = {
        {"MaxFPS = 30\n", 30},
        {"MaxFPS = 0\n", 0},
        {"MaxFPS=  144  \n", 144},
        {"MaxFPS = 007\n", 7},
        // A cap no display reaches, however it is written, is still a cap and never wraps round to 0.
        {"MaxFPS = 5000\n", largestMaxFps},
        {"MaxFPS = 18446744073709551616\n", largestMaxFps},
        {"", defaultMaxFps},
        {"MaxFPS =\n", defaultMaxFps},
        {"MaxFPS = fast\n", defaultMaxFps},
        {"MaxFPS = -1\n", defaultMaxFps},
        {"MaxFPS = 59.9\n", defaultMaxFps},
        {"MaxFPS = 60 fps\n", defaultMaxFps},
        {"maxfps = 30\n", defaultMaxFps},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(readFrom(c.file), c.fps);
    }
}
