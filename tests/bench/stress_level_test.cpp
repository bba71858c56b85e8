// The benchmark's generated level and its order statistics: what the reported figures rest on.

#include <set>
#include <variant>

#include <gtest/gtest.h>

#include "frame_stats.h"
#include "scenes/level_file.h"
#include "stress_level.h"

namespace
{
struct Census
{
    int statics = 0, sliders = 0, rotators = 0, launchers = 0, butterflies = 0, checkpoints = 0;
    std::set<int> kinds, sides;
    std::set<std::string> sliderModes;

    void operator()(const StaticPlatformRecord& r)
    {
        ++statics;
        kinds.insert(r.kind);
    }
    void operator()(const SlidingPlatformRecord& r)
    {
        ++sliders;
        kinds.insert(r.kind);
        sides.insert(r.side);
        sliderModes.insert(std::string(r.invertTilt ? "i" : "") + (r.tiltDriven ? "t" : "") +
                           (r.circular ? "c" : "") + (r.reverseSlide ? "r" : "") + (r.tiltable ? "T" : ""));
    }
    void operator()(const RotatingPlatformRecord& r)
    {
        ++rotators;
        kinds.insert(r.kind);
        sides.insert(r.side);
    }
    void operator()(const LauncherRecord&) { ++launchers; }
    void operator()(const EmitterRowRecord& r) { launchers += r.count; }
    void operator()(const ButterflyRecord&) { ++butterflies; }
    void operator()(const CheckpointRecord&) { ++checkpoints; }
    template <typename Other> void operator()(const Other&) {}
};

Census census(const StressLevelSize& size)
{
    Census c;
    for (const LevelRecord& record : parseLevel(stressLevelText(size)).records)
        std::visit(c, record);
    return c;
}
} // namespace

// The figures reported for the stress level rest on it holding what it claims: 1,000 planks of every kind,
// axle side and slider mode, 200 launchers and 100 butterflies, and a goal the players can run to.
TEST(StressLevel, TheReaderAcceptsItWithTheObjectsItClaimsOfEveryKind)
{
    const StressLevelSize size;
    const Census c = census(size);
    EXPECT_EQ(size.platforms, 1000);
    EXPECT_EQ(c.statics + c.sliders + c.rotators, size.platforms);
    EXPECT_EQ(c.launchers, size.launchers);
    EXPECT_EQ(c.butterflies, size.butterflies);
    EXPECT_EQ(c.kinds, (std::set<int>{0, 1, 2})) << "box, log and earth planks";
    EXPECT_EQ(c.sides, (std::set<int>{0, 1, 2})) << "centre, left and right axles";
    EXPECT_EQ(c.sliderModes.size(), 5u) << "plain-inverted, tilt-driven, circular, reversed, tiltable";
    EXPECT_GE(c.checkpoints, 3);
    const LevelHeader header = parseLevel(stressLevelText(size)).header;
    EXPECT_LT(header.goalX, header.startX) << "the players run towards -x to the goal";
}

TEST(FrameStats, MedianNearestRankPercentileAndTrimmedMean)
{
    std::vector<double> none;
    EXPECT_EQ(summarise(none).count, 0);

    std::vector<double> odd = {5, 1, 3};
    EXPECT_EQ(summarise(odd).median, 3);
    std::vector<double> even = {4, 1, 3, 2};
    EXPECT_EQ(summarise(even).median, 2.5);

    // 1..1000 in reverse: 99 % of the samples are at or below 990; the worst is 1000.
    std::vector<double> thousand;
    for (int i = 1000; i >= 1; --i)
        thousand.push_back(i);
    const FrameStats s = summarise(thousand);
    EXPECT_EQ(s.p99, 990);
    EXPECT_EQ(s.max, 1000);
    EXPECT_DOUBLE_EQ(s.trimmedMean, 495.5) << "the worst 1 % is left out";
    // With fewer than 100 samples the 99th percentile is the worst one.
    std::vector<double> few = {1, 2, 50};
    EXPECT_EQ(summarise(few).p99, 50);
}
