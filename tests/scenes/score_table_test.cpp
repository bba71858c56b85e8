#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "core/access_points.h"
#include "core/scene.h"
#include "gui/button.h"
#include "gui/button_manager.h"
#include "input/input_state.h"
#include "scenes/score_table.h"
#include "support/file_bytes.h"
#include "support/replay.h"
#include "support/x11_window.h"

namespace
{
std::string names(const std::set<ScoreTable::Entry>& entries)
{
    std::string all;
    for (const auto& entry : entries)
        all += entry.second + " ";
    return all;
}

const std::string tenTimes = "A 10\nB 20\nC 30\nD 40\nE 50\nF 60\nG 70\nH 80\nI 90\nJ 100\n";
} // namespace

TEST(ScoreTableText, OrdersByTimeThenNameBytesAndDropsRepeatedPairs)
{
    const auto entries = ScoreTable::parse("BOB 12.5\nANN 12.5 BOB 12.5\nZED 3\nAN 12.5\n");
    EXPECT_EQ(names(entries), "ZED AN ANN BOB ");
    EXPECT_TRUE(ScoreTable::parse("").empty());
}

// Each case: the file, the names read in best-first order, and what was skipped as "line:text" words.
TEST(ScoreTableText, AnUnreadableLineIsSkippedAndTheLinesAfterItAreRead)
{
    const struct
    {
        const char* file;
        const char* names;
        const char* skipped;
    } cases[] = {
        {"OWL 10\nPANDA oops\r\nFOX 12\r\n \t\r\n", "OWL FOX ", "2:PANDA oops "},
        {"OWL 10 FOX 12 hoot\nemu 4\nEmU 4\n", "EMU OWL FOX ", "1:hoot "},
        {"NEG -3\nNAN nan\nBIG 1e999\nHEX 0x10 ANT 1\nBAT\n2\n", "",
         "1:NEG -3 2:NAN nan 3:BIG 1e999 4:HEX 0x10 ANT 1 5:BAT 6:2 "},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.file);
        std::vector<ScoreTable::SkippedText> skipped;
        EXPECT_EQ(names(ScoreTable::parse(c.file, &skipped)), c.names);
        std::string shown;
        for (const auto& text : skipped)
            shown += std::to_string(text.line) + ":" + text.text + " ";
        EXPECT_EQ(shown, c.skipped);
    }
}

TEST(ScoreTableText, TimeCellsShowSecondsSeparatorAndTwoDecimals)
{
    EXPECT_EQ(ScoreTable::timeCells(90), "90:00");
    EXPECT_EQ(ScoreTable::timeCells(83.2417), "83:24") << "cut, not rounded";
    EXPECT_EQ(ScoreTable::timeCells(125.5), "125:50");
    EXPECT_EQ(ScoreTable::timeCells(0.5), "0:50");
}

class ScoreEntryTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(displayAvailable());
        game = std::make_unique<GameDriver>(new Scene);
    }

    buttonGUI::button* window()
    {
        return theButtonManager->createWindow("classficador", "butTime", 0, 0, 0, false, true,
                                              buttonGUI::position(buttonGUI::CENTER, 0, 0));
    }

    void writeScores(const std::string& text) { std::ofstream(ScoreTable::filePath()) << text; }

    // One press of `actions` for player 1, then a frame with nothing held.
    void press(ScoreTable& table, const std::string& actions)
    {
        game->step(Route::parse("1 " + actions).frames.front());
        table.update(GameDriver::frameSeconds, &game->input());
        game->step(ReplayFrame());
        table.update(GameDriver::frameSeconds, &game->input());
    }

    std::unique_ptr<GameDriver> game;
};

TEST_F(ScoreEntryTest, ATimeEqualToTheTenthIsARecordAndOneHundredthWorseIsNot)
{
    writeScores(tenTimes);
    buttonGUI::button* first = window();
    ScoreTable equal(first, 1, 100.0);
    EXPECT_FALSE(equal.finished);
    EXPECT_TRUE(first->isVisible());

    buttonGUI::button* second = window();
    ScoreTable worse(second, 1, 100.01);
    EXPECT_TRUE(worse.finished);
    EXPECT_FALSE(second->isVisible()) << "nothing shown";
}

TEST_F(ScoreEntryTest, LettersWrapTheNameStaysWithinSevenAndTheSaveIsReadBack)
{
    writeScores(tenTimes);
    ScoreTable table(window(), 1, 55.5);
    press(table, "L");
    EXPECT_EQ(table.name(), "A") << "left with one letter does nothing";
    press(table, "U");
    EXPECT_EQ(table.name(), "Z");
    press(table, "D");
    EXPECT_EQ(table.name(), "A");
    for (int letter = 0; letter < 6; ++letter)
        press(table, "R");
    EXPECT_EQ(table.name(), "AAAAAAA");
    EXPECT_FALSE(table.finished);
    press(table, "L");
    press(table, "D");
    press(table, "R");
    press(table, "D");
    EXPECT_EQ(table.name(), "AAAAABB");
    press(table, "R");
    EXPECT_TRUE(table.finished) << "right on the seventh letter saves";

    const std::string saved = readFile(ScoreTable::filePath());
    EXPECT_EQ(saved, "A 10\nB 20\nC 30\nD 40\nE 50\nAAAAABB 55.5\nF 60\nG 70\nH 80\nI 90\n");
    EXPECT_EQ(names(ScoreTable::parse(saved)), "A B C D E AAAAABB F G H I ");
}

// The bad line used to end the reading, and the save then wrote only what came before it.
TEST_F(ScoreEntryTest, EveryReadableEntrySurvivesASaveAfterABadLineAndIsWrittenInCapitals)
{
    writeScores("A 10\nB 20\nC 30 D 40\nPANDA oops\nE 50\nF 60 purr\ng 70\nH 80\nI 90\nJ 100\n");
    ScoreTable late(window(), 1, 100.01);
    EXPECT_TRUE(late.finished) << "the ten after the bad line make the table full";

    ScoreTable table(window(), 1, 55.5);
    press(table, "A");
    EXPECT_FALSE(table.saveFailed());
    EXPECT_EQ(readFile(ScoreTable::filePath()),
              "A 10\nB 20\nC 30\nD 40\nE 50\nA 55.5\nF 60\nG 70\nH 80\nI 90\n");
    const std::string log = readFile(basePath + "quobbel.log");
    EXPECT_NE(log.find(ScoreTable::filePath() + ", line 4: \"PANDA oops\""), std::string::npos) << log;
    EXPECT_NE(log.find(ScoreTable::filePath() + ", line 6: \"purr\""), std::string::npos) << log;
}

// The folder gone, or the file there but unreadable (a folder): the entry ends as after a save, the
// failure is logged and kept for the results screen, and what was there stays.
TEST_F(ScoreEntryTest, AFailedSaveFinishesHidesLogsAndKeepsTheOldFile)
{
    namespace fs = std::filesystem;
    const std::string gameDir = basePath;
    const std::string path = ScoreTable::filePath();
    for (const bool folderGone : {true, false})
    {
        SCOPED_TRACE(folderGone ? "folder gone" : "file unreadable");
        fs::remove_all(path);
        writeScores("OLD 42\n");
        if (!folderGone)
        {
            fs::remove(path);
            fs::create_directories(path + "/OLD 42");
        }
        const std::size_t logged = readFile(gameDir + "quobbel.log").size();
        buttonGUI::button* shown = window();
        ScoreTable table(shown, 1, 12);
        if (folderGone)
            basePath = "/nonexistent-quobbel-dir/";
        press(table, "A");
        basePath = gameDir;
        EXPECT_TRUE(table.finished);
        EXPECT_TRUE(table.saveFailed());
        EXPECT_FALSE(shown->isVisible());
        EXPECT_NE(readFile(gameDir + "quobbel.log").find("Could not save the best times", logged),
                  std::string::npos);
        EXPECT_TRUE(folderGone ? readFile(path) == "OLD 42\n" : fs::exists(path + "/OLD 42"));
    }
}

TEST_F(ScoreEntryTest, DisplayShowsTheBestTenOnly)
{
    writeScores(tenTimes + "K 110\nA 10\n");
    buttonGUI::button* panel = window();
    ScoreTable table(panel);
    EXPECT_EQ(table.entries().size(), 11u);
    // Ten rows: one letter and four time cells ("10:00") or five ("100:00") each.
    EXPECT_EQ(panel->getChildren().size(), 10u + 9u * 5u + 6u);
}
