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

TEST(StressLevel, TheReaderAcceptsItWithExactlyTheObjectsAskedForOfEveryKind)
{
    for (const StressLevelSize& size :
         {StressLevelSize{1000, 200, 100}, StressLevelSize{250, 50, 25}, StressLevelSize{7, 3, 1}})
    {
        const Census c = census(size);
        EXPECT_EQ(c.statics + c.sliders + c.rotators, size.platforms);
        EXPECT_EQ(c.launchers, size.launchers);
        EXPECT_EQ(c.butterflies, size.butterflies);
        EXPECT_GT(c.sliders, 0);
        EXPECT_GT(c.rotators, 0);
    }
    const Census full = census({});
    EXPECT_EQ(full.kinds, (std::set<int>{0, 1, 2})) << "box, log and earth planks";
    EXPECT_EQ(full.sides, (std::set<int>{0, 1, 2})) << "centre, left and right axles";
    EXPECT_EQ(full.sliderModes.size(), 5u) << "plain-inverted, tilt-driven, circular, reversed, tiltable";
    EXPECT_GE(full.checkpoints, 3);
}

TEST(StressLevel, TheGoalIsOnTheLastFloorPlank)
{
    const LevelDescription level = parseLevel(stressLevelText({}));
    float farthest = 0;
    for (const LevelRecord& record : level.records)
        if (const auto* plank = std::get_if<StaticPlatformRecord>(&record))
            farthest = std::min(farthest, static_cast<float>(plank->x));
    EXPECT_LT(level.header.goalX, level.header.startX);
    EXPECT_FLOAT_EQ(level.header.goalX, farthest) << "the players run towards -x to the goal";
    EXPECT_EQ(level.header.nextLevel, "end");
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
