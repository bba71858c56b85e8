// The chain of levels a game checks before it starts.

#include <map>

#include <gtest/gtest.h>

#include "scenes/level_chain.h"

namespace
{
std::string level(const std::string& next)
{
    return "0 10 -100 10 " + next + "\nStaticPlatform -50 0 120 0 floor terra\n";
}

// The chain's first problem, or "" when the game may start.
std::string firstProblem(const std::map<std::string, std::string>& files, const std::string& first,
                         int players)
{
    const LevelSource source = [&](const std::string& name) -> std::optional<std::string>
    {
        const auto file = files.find(name);
        return file == files.end() ? std::nullopt : std::optional<std::string>(file->second);
    };
    try
    {
        checkLevelChain(first, players, source);
    }
    catch (const LevelError& error)
    {
        EXPECT_STREQ(error.what(), "Error reading map data!");
        return error.problem().describe();
    }
    return "";
}
} // namespace

TEST(LevelChain, AGameStartsOnlyWhenEveryLevelItWillPlayExistsAndReads)
{
    const std::map<std::string, std::string> shipped = {
        {"mapa1.imf", level("mapa2.imf")}, {"mapa2.imf", level("boss1.imf")}, {"boss1.imf", level("end")}};
    EXPECT_EQ(firstProblem(shipped, "mapa1.imf", 1), "");
    EXPECT_EQ(firstProblem(shipped, "mapa9.imf", 1), "mapa9.imf: no such level file");

    // A broken last level stops a one-player game before it starts; two players never play the boss level.
    std::map<std::string, std::string> brokenBoss = shipped;
    brokenBoss["boss1.imf"] = "0 10 -100 10 end\nBoss 0 10 8 0 10\n";
    EXPECT_EQ(firstProblem(brokenBoss, "mapa1.imf", 1), "boss1.imf:2: Boss: hp 0 is below 1");
    EXPECT_EQ(firstProblem(brokenBoss, "mapa1.imf", 2), "");
    EXPECT_EQ(firstProblem(brokenBoss, "boss1.imf", 2), "boss1.imf:2: Boss: hp 0 is below 1")
        << "a game chosen at the boss level plays it";

    std::map<std::string, std::string> missing = shipped;
    missing.erase("mapa2.imf");
    EXPECT_EQ(firstProblem(missing, "mapa1.imf", 2),
              "mapa1.imf:1: header: next level mapa2.imf does not exist");

    const std::map<std::string, std::string> loop = {{"mapa1.imf", level("mapa2.imf")},
                                                     {"mapa2.imf", level("mapa2.imf")}};
    EXPECT_EQ(
        firstProblem(loop, "mapa1.imf", 1),
        "mapa2.imf:1: header: next level mapa2.imf comes round again (mapa2.imf -> mapa2.imf): the game "
        "would never end");
}
