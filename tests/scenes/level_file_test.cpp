#include <gtest/gtest.h>

#include "scenes/level_file.h"

namespace
{
const std::string header = "120 10 -300 5.5 mapa2.imf\n";

LevelDescription parse(const std::string& records)
{
    return parseLevel(header + records);
}

bool refused(const std::string& text)
{
    try
    {
        parseLevel(text);
    }
    catch (const char* error)
    {
        return std::string(error) == "Error reading map data!";
    }
    return false;
}
} // namespace

TEST(LevelFile, HeaderAloneGivesStartGoalAndNextLevelInAnyLayout)
{
    const LevelDescription level = parseLevel("120\n10\r\n  -300 5.5\tmapa2.imf");
    EXPECT_FLOAT_EQ(level.header.startX, 120);
    EXPECT_FLOAT_EQ(level.header.startY, 10);
    EXPECT_FLOAT_EQ(level.header.goalX, -300);
    EXPECT_FLOAT_EQ(level.header.goalY, 5.5f);
    EXPECT_EQ(level.header.nextLevel, "mapa2.imf");
    EXPECT_TRUE(level.records.empty());
}

TEST(LevelFile, ReadsEveryRecordTypeWithItsCodedWords)
{
    const LevelDescription level = parse("StaticPlatform 1 2 20 -15 lbl tronc\n"
                                         "SlidingPlatform 3 4 10 5.5 4466 1 0 1 0 1 30 lbl terra L\r\n"
                                         "RotatingPlatform 5 6 15 1 lbl box R\n"
                                         "\n"
                                         "BadBall 0 40 -10 2 1 4 1.5 0.5 1\n"
                                         "PhysBadBall -40 40 0 0 0 4 1.5 0 0\n"
                                         "BadBallEmitter -100 -20 60 0 -5 1 4 2 5\n"
                                         "Butterfly 10 15\n"
                                         "StaticDecor 0 -5 2 tree.mesh 1\n"
                                         "Static2dDecor 0 30 40 deco_hills\n"
                                         "Checkpoint -60 4\n"
                                         "Boss 7 8 3.5 5 40\n");
    ASSERT_EQ(level.records.size(), 11u);

    const auto& plank = std::get<StaticPlatformRecord>(level.records[0]);
    EXPECT_EQ(plank.length, 20);
    EXPECT_DOUBLE_EQ(plank.angle, -15);
    EXPECT_EQ(plank.kind, 1);

    const auto& slider = std::get<SlidingPlatformRecord>(level.records[1]);
    EXPECT_EQ(slider.rail, "4466");
    EXPECT_TRUE(slider.invertTilt);
    EXPECT_FALSE(slider.tiltDriven);
    EXPECT_TRUE(slider.circular);
    EXPECT_FALSE(slider.reverseSlide);
    EXPECT_TRUE(slider.tiltable);
    EXPECT_DOUBLE_EQ(slider.angle, 30);
    EXPECT_EQ(slider.kind, 2);
    EXPECT_EQ(slider.side, 1);

    const auto& rotating = std::get<RotatingPlatformRecord>(level.records[2]);
    EXPECT_EQ(rotating.kind, 0);
    EXPECT_EQ(rotating.side, 2);

    EXPECT_FALSE(std::get<LauncherRecord>(level.records[3]).physical);
    const auto& physical = std::get<LauncherRecord>(level.records[4]);
    EXPECT_TRUE(physical.physical);
    EXPECT_FALSE(physical.gravity);
    EXPECT_EQ(std::get<EmitterRowRecord>(level.records[5]).count, 5);
    EXPECT_EQ(std::get<StaticDecorRecord>(level.records[7]).mesh, "tree.mesh");
    EXPECT_TRUE(std::get<StaticDecorRecord>(level.records[7]).front);
    EXPECT_EQ(std::get<Static2dDecorRecord>(level.records[8]).material, "deco_hills");
    const auto& boss = std::get<BossRecord>(level.records[10]);
    EXPECT_EQ(boss.hp, 5);
    EXPECT_DOUBLE_EQ(boss.speed, 3.5);
    EXPECT_DOUBLE_EQ(boss.range, 40);
}

TEST(LevelFile, TokensAfterTheLastFieldAreIgnored)
{
    const LevelDescription level = parse("Checkpoint 1 2 Butterfly 3 4\nButterfly 5 6 # a comment\n");
    ASSERT_EQ(level.records.size(), 2u);
    EXPECT_TRUE(std::holds_alternative<CheckpointRecord>(level.records[0]));
    EXPECT_DOUBLE_EQ(std::get<ButterflyRecord>(level.records[1]).x, 5);
}

TEST(LevelFile, KeywordsAreExactAndCaseSensitive)
{
    EXPECT_TRUE(refused(header + "staticPlatform 1 2 20 0 lbl box\n"));
    EXPECT_TRUE(refused(header + "StaticPlatfrom 1 2 20 0 lbl box\n"));
    EXPECT_TRUE(refused(header + "Checkpoint 1 2\nBUTTERFLY 1 2\n"));
}

TEST(LevelFile, ARecordSplitOverTwoLinesIsRefused)
{
    // Fields come from the keyword's line only: the first part lacks fields, and the second line's first
    // token would be taken as a keyword.
    EXPECT_TRUE(refused(header + "StaticPlatform 1 2 20\n0 lbl box\n"));
}

TEST(LevelFile, RefusesUnreadableHeaders)
{
    EXPECT_TRUE(refused(""));
    EXPECT_TRUE(refused("120 10 -300"));
    EXPECT_TRUE(refused("120 ten -300 5 mapa2.imf"));
    EXPECT_TRUE(refused("120 10 -300 nan mapa2.imf"));
    EXPECT_TRUE(refused("1e999 10 -300 5 mapa2.imf"));
    EXPECT_TRUE(refused("1e6 10 -300 5 mapa2.imf"));
}

TEST(LevelFile, RefusesMissingUnreadableOrNonFiniteFields)
{
    for (const char* record :
         {"Checkpoint 1\n", "Checkpoint\n", "Checkpoint 1 x\n", "Butterfly 1 inf\n",
          "StaticPlatform 1 2 20 0 lbl\n", "RotatingPlatform 1 2 10 true lbl box R\n",
          "RotatingPlatform 1 2 10 2 lbl box R\n", "Boss 1 2 3\n", "StaticDecor 0 0 2 tree.mesh\n"})
        EXPECT_TRUE(refused(header + record)) << record;
}

TEST(LevelFile, RefusesValuesNoSensibleLevelHas)
{
    for (const char* record :
         {"StaticPlatform 1 2 0 0 lbl box\n",               // length below 1
          "StaticPlatform 1 2 -5 0 lbl box\n",              //
          "StaticPlatform 1 2 5000 0 lbl box\n",            // longer than any level
          "StaticPlatform 1 2e6 20 0 lbl box\n",            // far off any screen
          "BadBall 0 40 -10 0 1 0 1.5 0.5 1\n",             // no life
          "BadBall 0 40 -10 0 1 4 -1 0.5 1\n",              // negative interval
          "PhysBadBall 0 40 -10 0 1 4 0 0.5 1\n",           // no interval
          "BadBallEmitter -100 -20 60 0 -5 1 4 2 -1\n",     // negative count
          "BadBallEmitter -100 -20 60 0 -5 1 4 2 100000\n", // a row that would stall the game
          "Boss 7 8 3.5 0 40\n",                            // no hit points
          "StaticDecor 0 0 0 tree.mesh 1\n",                // invisible
          "Static2dDecor 0 0 -3 deco_hills\n"})
        EXPECT_TRUE(refused(header + record)) << record;
}

TEST(LevelFile, AcceptsTheEdgesOfTheBounds)
{
    const LevelDescription level = parse("StaticPlatform -100000 100000 1 0 lbl box\n"
                                         "BadBallEmitter -100 -20 60 0 -5 1 4 2 0\n"
                                         "Boss 7 8 0 1 0\n");
    EXPECT_EQ(level.records.size(), 3u);
}
