#include <gtest/gtest.h>

#include "scenes/level_file.h"

namespace
{
const std::string header = "120 10 -300 5.5 mapa2.imf\n";

LevelDescription parse(const std::string& records)
{
    return parseLevel(header + records, "test.imf");
}

// Every problem of a file, one "file:line: record: reason" per line.
std::string problemsOf(const std::string& text)
{
    std::string found;
    for (const LevelProblem& problem : readLevel(text, "mapa1.imf").problems)
        found += problem.describe() + "\n";
    return found;
}
} // namespace

TEST(LevelFile, HeaderAloneGivesStartGoalAndNextLevelInAnyLayout)
{
    const LevelDescription level = parseLevel("120\n10\r\n  -300 5.5\n\n\tmapa2.imf", "test.imf");
    EXPECT_FLOAT_EQ(level.header.startX, 120);
    EXPECT_FLOAT_EQ(level.header.startY, 10);
    EXPECT_FLOAT_EQ(level.header.goalX, -300);
    EXPECT_FLOAT_EQ(level.header.goalY, 5.5f);
    EXPECT_EQ(level.header.nextLevel, "mapa2.imf");
    EXPECT_EQ(level.header.nextLevelLine, 5);
    EXPECT_TRUE(level.records.empty());
}

TEST(LevelFile, ReadsEveryRecordTypeWithItsCodedWords)
{
    const LevelDescription level = parse("StaticPlatform 1 2 20 -15 lbl tronc\n"
                                         "SlidingPlatform 3 4 10 5.5 4466 1 0 1 0 1 30 lbl terra L\r\n"
                                         "RotatingPlatform 5 6 15 1 lbl box R\n"
                                         "\n"
                                         "BadBall 0 40 -10 2 1 4 1.5 0.5 1\n"
                                         "PhysBadBall -40 40 +0 0 0 4 1.5 0 0\n"
                                         "BadBallEmitter -100 -20 60 0 -5 1 4 2 5\n"
                                         "Butterfly 10 15\n"
                                         "StaticDecor 0 -5 2 tree.mesh 1\n"
                                         "Static2dDecor 0 30 40 deco_hills\n"
                                         "Checkpoint -60 4\n"
                                         "Boss 7 8 3.5 5 4e1\n");
    ASSERT_EQ(level.records.size(), 11u);

    const auto& plank = std::get<StaticPlatformRecord>(level.records[0]);
    EXPECT_EQ(plank.length, 20);
    EXPECT_DOUBLE_EQ(plank.angle, -15);
    EXPECT_EQ(plank.label, "lbl");
    EXPECT_EQ(plank.kind, PlankKind::log);

    const auto& slider = std::get<SlidingPlatformRecord>(level.records[1]);
    EXPECT_EQ(slider.rail, "4466");
    EXPECT_TRUE(slider.invertTilt);
    EXPECT_FALSE(slider.tiltDriven);
    EXPECT_TRUE(slider.circular);
    EXPECT_FALSE(slider.reverseSlide);
    EXPECT_TRUE(slider.tiltable);
    EXPECT_DOUBLE_EQ(slider.angle, 30);
    EXPECT_EQ(slider.kind, PlankKind::ground);
    EXPECT_EQ(slider.side, AxleSide::left);

    const auto& rotating = std::get<RotatingPlatformRecord>(level.records[2]);
    EXPECT_EQ(rotating.kind, PlankKind::box);
    EXPECT_EQ(rotating.side, AxleSide::right);

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

// Bounds are inclusive; tokens after a record's last field are ignored.
TEST(LevelFile, AcceptsTheEdgesOfTheBoundsAndIgnoresTokensAfterTheLastField)
{
    const LevelDescription level = parse("StaticPlatform -100000 100000 1 0 lbl box\n"
                                         "BadBallEmitter -100 -20 60 0 -5 1 4 2 0\n"
                                         "Boss 7 8 0 1 0\n"
                                         "Checkpoint 1 2 Butterfly 3 4\n"
                                         "Butterfly 5 6 # a comment\n");
    ASSERT_EQ(level.records.size(), 5u);
    EXPECT_TRUE(std::holds_alternative<CheckpointRecord>(level.records[3]));
    EXPECT_DOUBLE_EQ(std::get<ButterflyRecord>(level.records[4]).x, 5);
}

// Each broken file and the one problem it must be reported with.
TEST(LevelFile, EachRefusalNamesTheFileTheLineTheRecordAndWhatWasWrong)
{
    const struct
    {
        std::string text;
        const char* problem;
    } cases[] = {
        {"", "mapa1.imf:1: header: 0 of 5 fields"},
        {"120 10\n-300", "mapa1.imf:2: header: 3 of 5 fields"},
        {"120 10 -300 5\nStaticPlatform 1 2 20 0 lbl box", "mapa1.imf:1: header: 4 of 5 fields"},
        {"120 ten -300 5 mapa2.imf", "mapa1.imf:1: header: startY 'ten' is not a number"},
        {"120 10\n-300 nan mapa2.imf", "mapa1.imf:2: header: goalY 'nan' is not a number"},
        {"1e999 10 -300 5 mapa2.imf", "mapa1.imf:1: header: startX '1e999' is not a number"},
        {"1e6 10 -300 5 mapa2.imf", "mapa1.imf:1: header: startX 1e6 is above 100000"},
        {"0 0 0 0 end\n\nstaticPlatform 1 2 20 0 lbl box",
         "mapa1.imf:3: staticPlatform: unknown record (keywords are case-sensitive: StaticPlatform)"},
        {"0 0 0 0 end\nStaticPlatfrom 1 2 20 0 lbl box", "mapa1.imf:2: StaticPlatfrom: unknown record"},
        {"0 0 0 0 end\nSlidingPlatform 1 2 20 5 44 0 0 0 0\n",
         "mapa1.imf:2: SlidingPlatform: 9 of 14 fields"},
        {"0 0 0 0 end\n\n\nStaticPlatform 1 2 0.2 0 lbl box\n",
         "mapa1.imf:4: StaticPlatform: length 0.2 is below 1"},
        {"0 0 0 0 end\nStaticPlatform 1 2 12.5 0 lbl box\n",
         "mapa1.imf:2: StaticPlatform: length 12.5 is not a whole number"},
        {"0 0 0 0 end\nButterfly 1 inf\n", "mapa1.imf:2: Butterfly: y 'inf' is not a number"},
        {"0 0 0 0 end\nCheckpoint 1 3x\n", "mapa1.imf:2: Checkpoint: y '3x' is not a number"},
        {"0 0 0 0 end\nRotatingPlatform 1 2 10 true lbl box R\n",
         "mapa1.imf:2: RotatingPlatform: invertTilt 'true' is not 0 or 1"},
        {"0 0 0 0 end\nBadBall 0 40 -10 0 1 0 1.5 0.5 1\n", "mapa1.imf:2: BadBall: life 0 must be above 0"},
        {"0 0 0 0 end\nSlidingPlatform 1 2 20 5 " + std::string(501, '4') + " 0 0 0 0 0 0 l box C\n",
         "mapa1.imf:2: SlidingPlatform: rail has 501 digits, more than 500"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(problemsOf(c.text), std::string(c.problem) + "\n") << c.text;
        try
        {
            parseLevel(c.text, "mapa1.imf");
            ADD_FAILURE() << "the game reads " << c.text;
        }
        catch (const LevelError& error)
        {
            EXPECT_STREQ(error.what(), "Error reading map data!");
            EXPECT_EQ(error.problem().describe(), c.problem);
        }
    }
}

TEST(LevelFile, ReadingGoesOnPastBadLinesToReportEveryProblemAndKeepsTheGoodRecords)
{
    // A record split over two lines loses the fields of its second line, whose first token is then taken
    // for a keyword; every bad field of a record is reported.
    const std::string text = header + "Checkpoint 1 2\n"
                                      "StaticPlatform 1 2 20\n"
                                      "0 lbl box\n"
                                      "Butterfly 3 4\n"
                                      "BadBall x 40 -10 0 2 4 1.5 0.5 1\n"
                                      "Checkpoint 5 6\n";
    EXPECT_EQ(problemsOf(text), "mapa1.imf:3: StaticPlatform: 3 of 6 fields\n"
                                "mapa1.imf:4: 0: unknown record\n"
                                "mapa1.imf:6: BadBall: x 'x' is not a number\n"
                                "mapa1.imf:6: BadBall: gravity '2' is not 0 or 1\n");
    const LevelReading reading = readLevel(text, "mapa1.imf");
    ASSERT_EQ(reading.level.records.size(), 3u);
    EXPECT_DOUBLE_EQ(std::get<CheckpointRecord>(reading.level.records[2]).x, 5);
}
