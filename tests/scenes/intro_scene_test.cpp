// The title scene: its menu navigation on selection indices, and its menus with the real application,
// driven frame by frame.

#include <fstream>

#include <Ogre.h>
#include <OgrePanelOverlayElement.h>

#include <gtest/gtest.h>

#include "core/access_points.h"
#include "gui/button.h"
#include "gui/button_manager.h"
#include "scenes/end_scene.h"
#include "scenes/intro_scene.h"
#include "scenes/main_scene.h"
#include "scenes/score_table.h"
#include "support/replay.h"

namespace
{
using Move = IntroScene::MenuMove;

// Accept on the title opens the menu; the menu then needs a few frames of its fade to take clicks.
void openMenu(GameDriver& game)
{
    game.press("A");
    game.idle(10);
}

void writeScores(const std::string& text)
{
    std::ofstream(basePath + "scores.icl") << text;
}
} // namespace

// The main buttons (1-5) wrap round their two rows and the exit; the level buttons (7-10) move in their
// square; the score panel (6) is left only by pressing it.
TEST(IntroNavigation, ButtonsWrapAroundTheirRowsAndSquareAndThePanelStays)
{
    const struct
    {
        int from;
        Move move;
        int to;
    } moves[] = {
        {1, Move::left, 5},  {5, Move::right, 1}, {2, Move::right, 3},  {4, Move::down, 5},
        {5, Move::down, 1},  {3, Move::down, 5},  {1, Move::down, 3},   {2, Move::up, 5},
        {5, Move::up, 3},    {3, Move::none, 3},  {8, Move::down, 10},  {10, Move::down, 8},
        {7, Move::up, 9},    {9, Move::up, 7},    {10, Move::right, 7}, {7, Move::left, 10},
        {6, Move::right, 6}, {6, Move::left, 6},  {6, Move::up, 6},     {6, Move::down, 6},
    };
    for (const auto& [from, move, to] : moves)
        EXPECT_EQ(IntroScene::navigate(from, move), to) << from << " " << static_cast<int>(move);
    EXPECT_EQ(IntroScene::levelFileFor("level4"), "boss1.imf");
    EXPECT_EQ(IntroScene::levelFileFor("sortir"), "");
}

TEST(IntroScene, TheAcceptThatOpensTheMenuDoesNotAlsoPressTheFirstButton)
{
    GameDriver game(new IntroScene());
    auto& intro = game.current<IntroScene>();
    game.idle(30);
    EXPECT_EQ(intro.menu(), nullptr) << "the menu is made when it opens";
    openMenu(game);
    ASSERT_TRUE(intro.menu()->isVisible());
    EXPECT_EQ(intro.menuSelection(), 1);
    EXPECT_EQ(intro.playerCount(), 0);
    EXPECT_TRUE(intro.menu()->getChild("1player")->isVisible());

    // The menu rises into place (bottom offset 50 -> 420 pixels at 300 per second) and stops there.
    game.idle(120);
    EXPECT_NEAR(intro.menu()->getStoredPosition().y, 420, 5);
    game.idle(30);
    EXPECT_NEAR(intro.menu()->getStoredPosition().y, 420, 5);

    game.press("A");
    game.idle(1);
    EXPECT_EQ(intro.playerCount(), 1);
    EXPECT_EQ(intro.menuSelection(), 7);
    EXPECT_FALSE(intro.menu()->getChild("1player")->isVisible());
}

TEST(IntroScene, ScoresPressedTwiceBuildsTheTableOnceFromTheFileAsItWas)
{
    GameDriver game(new IntroScene());
    auto& intro = game.current<IntroScene>();
    writeScores("ANNA 83.2417\nBO 90\n");
    openMenu(game);
    game.press("D"); // 1player -> puntuacions
    ASSERT_EQ(intro.menuSelection(), 3);
    game.press("A");
    game.idle(1);
    const ScoreTable* table = intro.scoreTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->entries().size(), 2u);
    EXPECT_EQ(intro.menuSelection(), 6);
    EXPECT_TRUE(intro.menu()->getChild("puntuacionsPanel")->isVisible());

    writeScores("CARL 12\n");
    game.press("A"); // the panel itself goes back to the menu
    game.idle(1);
    EXPECT_EQ(intro.menuSelection(), 3);
    EXPECT_FALSE(intro.menu()->getChild("puntuacionsPanel")->isVisible());
    game.press("A");
    game.idle(1);
    EXPECT_EQ(intro.scoreTable(), table);
    EXPECT_EQ(table->entries().size(), 2u);
}

TEST(IntroScene, TwoPlayersThenALevelStartsATwoPlayerGame)
{
    GameDriver game(new IntroScene());
    openMenu(game);
    game.press("R"); // 1player -> 2players
    game.press("A");
    game.idle(10);
    ASSERT_EQ(game.current<IntroScene>().playerCount(), 2);
    game.press("A"); // level1
    game.idle(1);
    auto* play = game.sceneAs<MainScene>();
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->numPlayers(), 2);
    EXPECT_EQ(play->levelFile(), "mapa1.imf");
}

// The leak sanitizer of the test build reports the replaced scene if it is not deleted.
TEST(IntroScene, ASecondSceneChangingPressInOneFrameReplacesTheFirstScene)
{
    GameDriver game(new IntroScene());
    auto& intro = game.current<IntroScene>();
    openMenu(game);
    game.press("A");
    game.idle(10);
    intro.selectMenuEntry(7);
    theButtonManager->activateSelected();
    intro.selectMenuEntry(8);
    theButtonManager->activateSelected();
    game.idle(1);
    // Events come newest first, so the press of "level1" is handled last and wins.
    auto* play = game.sceneAs<MainScene>();
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->levelFile(), "mapa1.imf");
}

TEST(IntroScene, CreditsAndExitLeaveTheTitle)
{
    GameDriver game(new IntroScene());
    auto& intro = game.current<IntroScene>();
    openMenu(game);
    game.press("L"); // 1player -> sortir
    game.press("L"); // sortir -> creditos
    ASSERT_EQ(intro.menuSelection(), 4);
    game.press("A");
    ASSERT_NE(game.sceneAs<EndScene>(), nullptr);

    game.scene()->next = new IntroScene();
    game.idle(1);
    openMenu(game);
    game.press("L");
    game.press("A");
    EXPECT_EQ(game.scene(), nullptr) << "exit names the quit marker";
}

// A game checks its whole chain of levels before it starts: here the first level reads, but the second
// (standing in broken for the shipped one) does not.
TEST(IntroScene, AGameWithALevelThatCannotBeReadComesBackToTheTitleWithTheMessageAndTheGameGoesOn)
{
    GameDriver game(new IntroScene(),
                    {{"mapa2.imf", "95 29 -1190 46 mapa3.imf\nStaticPlatfrom 0 0 20 0 x box\n"}});
    openMenu(game);
    game.press("A"); // 1player
    game.idle(10);
    game.press("A"); // level1: mapa1.imf, then mapa2.imf
    game.idle(1);
    auto* title = game.sceneAs<IntroScene>();
    ASSERT_NE(title, nullptr) << "the game ends at the title, not in the level";
    const std::string logText = game.logText();
    EXPECT_NE(logText.find("Level refused: mapa2.imf:2: StaticPlatfrom: unknown record"), std::string::npos);
    ASSERT_NE(title->notice(), nullptr);
    EXPECT_TRUE(title->notice()->isVisible());
    EXPECT_EQ(title->notice()->panel->getMaterialName().rfind("textMapError", 0), 0u);
    game.idle(5 * 60);
    EXPECT_FALSE(title->notice()->isVisible()) << "the message goes after a few seconds";

    openMenu(game);
    game.press("A");
    game.idle(10);
    game.press("D"); // level1 -> level3: mapa3.imf, then boss1.imf
    game.press("A");
    game.idle(1);
    auto* play = game.sceneAs<MainScene>();
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->levelFile(), "mapa3.imf");
    EXPECT_FALSE(play->levelRefused());
    game.idle(60);
    EXPECT_GT(play->levelTime(), 0.0f);
}

// The title's figures sample the nearest mipmap level; the levels' bears and cat, which share the title's
// pictures, keep blending two levels after the title has been shown, and come back to the title the same.
TEST(IntroScene, TheFiguresSampleOneMipmapLevelWithoutChangingTheLevelsMaterials)
{
    const auto mipFilter = [](const Ogre::MaterialPtr& material) {
        return material->getTechnique(0)->getPass(0)->getTextureUnitState(0)->getTextureFiltering(
            Ogre::FT_MIP);
    };
    const auto checkTitle = [&]
    {
        int figures = 0;
        for (const auto& [name, object] : theSceneManager->getMovableObjects("Entity"))
        {
            const auto* entity = static_cast<Ogre::Entity*>(object);
            EXPECT_EQ(mipFilter(entity->getSubEntity(0)->getMaterial()), Ogre::FO_POINT) << name;
            ++figures;
        }
        EXPECT_EQ(figures, 4) << "two bears, the cat and the planet";
        for (const char* shared : {"Pimbear_tex", "PimbearPanda_tex", "cat_tex"})
            EXPECT_EQ(mipFilter(Ogre::MaterialManager::getSingleton().getByName(shared)), Ogre::FO_LINEAR)
                << shared;
    };
    GameDriver game(new IntroScene());
    game.idle(1);
    checkTitle();
    game.scene()->next = new IntroScene();
    game.idle(2);
    checkTitle();
}
