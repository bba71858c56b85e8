// The results scene with the real application and media. The whole-game test covers the main scene's
// hand-over to it after a saved run; a run that could not be saved is played here on a short level.

#include <filesystem>
#include <fstream>

#include <OgrePanelOverlayElement.h>
#include <OgreSceneNode.h>

#include <gtest/gtest.h>

#include "core/access_points.h"
#include "decor/cat.h"
#include "gui/button.h"
#include "gui/button_manager.h"
#include "scenes/end_scene.h"
#include "scenes/intro_scene.h"
#include "scenes/main_scene.h"
#include "scenes/results_scene.h"
#include "scenes/score_table.h"
#include "support/replay.h"
#include "world/animation_blender.h"
#include "world/platform.h"
#include "world/player.h"

namespace
{
// Starts at the title (which loads nothing the results need) and hands over to `results`.
ResultsScene& switchTo(GameDriver& game, ResultsScene* results)
{
    game.scene()->next = results;
    game.idle(1);
    return game.current<ResultsScene>();
}

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}
} // namespace

TEST(ResultsDigits, CountsUnderTenHaveABlankTensCellAndCountsOverNinetyNineShowNinetyNine)
{
    const struct
    {
        int count;
        const char *tens, *units;
    } counts[] = {{0, "blank", "0"}, {9, "blank", "9"}, {10, "1", "0"}, {99, "9", "9"}, {150, "9", "9"}};
    for (const auto& [count, tens, units] : counts)
    {
        EXPECT_EQ(ResultsScene::digitMaterial(count, true), tens) << count;
        EXPECT_EQ(ResultsScene::digitMaterial(count, false), units) << count;
    }
}

TEST(ResultsScene, OnePlayerShowsTheSavedTableAndNoStage)
{
    GameDriver game(new IntroScene());
    std::ofstream(basePath + "scores.icl") << "ZED 61.5\nAMY 59\n";
    // The entry-mode table the main scene hands over is replaced by one read from the file.
    auto& results = switchTo(game, new ResultsScene(1, 1, 0, nullptr));
    ASSERT_NE(results.scoreTable(), nullptr);
    EXPECT_EQ(results.scoreTable()->entries().size(), 2u);
    EXPECT_EQ(results.winner(), 1);
    EXPECT_EQ(results.player(1), nullptr);
    EXPECT_EQ(results.cat(), nullptr);
    EXPECT_TRUE(Platform::instances().empty());
    EXPECT_TRUE(results.panel()->isVisible());
    EXPECT_EQ(results.panel()->getChild("notSaved"), nullptr);

    // Accept only changes the looks of the selected button; back leaves for the credits.
    game.step(ReplayFrame::holding("D"));
    game.step(ReplayFrame::holding("A"));
    game.idle(2);
    ASSERT_EQ(game.sceneAs<ResultsScene>(), &results);
    game.step(ReplayFrame::holding("B"));
    EXPECT_NE(game.sceneAs<EndScene>(), nullptr);
}

// A one-player game of one short level (the cat a few steps to the right of the start) whose time cannot
// be saved: the name of the file the save writes first is taken by a folder.
TEST(ResultsScene, ARunThatCouldNotBeSavedShowsTheNotSavedSignUnderTheTable)
{
    const GameDriver::LevelText level{"last.imf",
                                      "0 6 -30 1.35 end\nStaticPlatform -10 0 100 0 floor terra\n"};
    GameDriver game(new MainScene(level.fileName, 1), {level});
    std::ofstream(ScoreTable::filePath()) << "OWL 61.5\n";
    std::filesystem::create_directory(ScoreTable::filePath() + ".new");
    auto* scene = game.sceneAs<MainScene>();
    for (int frame = 0; frame < 900 && scene->winner() == 0; ++frame)
        game.step(ReplayFrame::holding("R"));
    ASSERT_EQ(scene->winner(), 1);
    // Back skips the jingle; the name entry opens, and accept saves the name "A".
    game.step(ReplayFrame::holding("B"));
    game.idle(2);
    ASSERT_NE(scene->scoreTable(), nullptr);
    game.press("A");
    game.idle(2);

    auto* results = game.sceneAs<ResultsScene>();
    ASSERT_NE(results, nullptr);
    buttonGUI::button* sign = results->panel()->getChild("notSaved");
    ASSERT_NE(sign, nullptr);
    EXPECT_TRUE(sign->isVisible());
    EXPECT_TRUE(startsWith(sign->panel->getMaterialName(), "textNotSaved"));
    EXPECT_EQ(results->scoreTable()->entries().size(), 1u) << "the table as it is in the file";
    EXPECT_NE(game.logText().find("Could not save the best times"), std::string::npos);
}

TEST(ResultsScene, ATwoPlayerTieGoesToPlayerTwoWithTheCatOnItsSide)
{
    GameDriver game(new IntroScene());
    auto& results = switchTo(game, new ResultsScene(2, 3, 3, nullptr));
    EXPECT_EQ(results.winner(), 2);
    EXPECT_TRUE(startsWith(results.panel()->panel->getMaterialName(), "classification2pHigh0"));
    EXPECT_TRUE(
        startsWith(results.panel()->getChild("punctuationtensp1")->panel->getMaterialName(), "blank"));
    EXPECT_TRUE(startsWith(results.panel()->getChild("punctuationunitsp2")->panel->getMaterialName(), "3"));
    ASSERT_NE(results.cat(), nullptr);
    EXPECT_NEAR(results.cat()->position().x, -69, 0.5);
    EXPECT_EQ(Platform::instances().size(), 2u);
    game.idle(60);
    EXPECT_EQ(results.player(1)->blender().getAnimationName(), "lose");
    EXPECT_EQ(results.player(2)->blender().getAnimationName(), "win");
    EXPECT_NEAR(results.player(2)->pivotNode->getPosition().x, -69, 1.0) << "stands on its patch";
}

TEST(ResultsScene, APlayerOneLeadShowsItsBannerAndTheBearsStandOnTheirPatches)
{
    GameDriver game(new IntroScene());
    auto& results = switchTo(game, new ResultsScene(2, 12, 4, nullptr));
    EXPECT_EQ(results.winner(), 1);
    EXPECT_TRUE(startsWith(results.panel()->panel->getMaterialName(), "classification2pHigh1"));
    EXPECT_TRUE(startsWith(results.panel()->getChild("punctuationtensp1")->panel->getMaterialName(), "1"));
    EXPECT_NEAR(results.cat()->position().x, -11, 0.5);
    game.idle(30);
    EXPECT_GT(results.player(1)->pivotNode->getPosition().y, 5) << "the patches of ground hold the bears";
}
