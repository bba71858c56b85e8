// The benchmark's generated level and its order statistics: what the reported figures rest on.

#include <gtest/gtest.h>

#include "frame_stats.h"
#include "scenes/level_file.h"
#include "stress_level.h"

// The stress figures are only worth reporting if the game reads the generated level whole, with its goal
// ahead of the players.
TEST(StressLevel, TheReaderAcceptsTheGeneratedLevel)
{
    const StressLevelSize size;
    const LevelDescription level = parseLevel(stressLevelText(size), "stress.imf");
    EXPECT_GE(level.records.size(), static_cast<std::size_t>(size.platforms + size.butterflies));
    EXPECT_LT(level.header.goalX, level.header.startX) << "the players run towards -x to the goal";
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
