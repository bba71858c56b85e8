// Playing with what a player sets up beside the game: a controller alone through the menus, a level and
// its pause menu; keys rebound in controls.cfg.

#include <string>

#include <OgreSceneNode.h>
#include <SDL.h>

#include <gtest/gtest.h>

#include "core/access_points.h"
#include "gui/button_manager.h"
#include "input/input_state.h"
#include "scenes/intro_scene.h"
#include "scenes/main_scene.h"
#include "support/replay.h"
#include "support/virtual_pad.h"
#include "world/player.h"

namespace
{
Ogre::Vector3 playerAt(const GameDriver& game)
{
    return game.current<MainScene>().player(1)->pivotNode->getPosition();
}

void waitForGo(GameDriver& game)
{
    for (int frame = 0; frame < 600 && game.sceneAs<MainScene>() && game.sceneAs<MainScene>()->goSignUp();
         ++frame)
        game.idle(1);
}
} // namespace

TEST(ControlsPlay, AControllerAloneLeadsFromTheTitleIntoLevelOneAndFromItsPauseMenuBackToTheTitle)
{
    VirtualPadPort port;
    GameDriver game(new IntroScene());
    game.readGameControllers();
    VirtualPad pad("Quobbel Journey Pad");
    // A press held for a frame, then a frame released, so that the next is a new press.
    const auto tap = [&](int button)
    {
        pad.button(button, true);
        game.idle(1);
        pad.button(button, false);
        game.idle(1);
    };

    game.idle(30);
    ASSERT_TRUE(game.input().hasGamepad(1));
    auto* intro = game.sceneAs<IntroScene>();
    tap(SDL_CONTROLLER_BUTTON_A);
    game.idle(10);
    ASSERT_TRUE(intro->menu()->isVisible()) << "south accepts on the title";
    // A held stick is one step, like a key: right to two players, and the d-pad back.
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0.8);
    game.idle(20);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    tap(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    EXPECT_EQ(intro->menuSelection(), 1);
    tap(SDL_CONTROLLER_BUTTON_A);
    game.idle(10);
    ASSERT_EQ(intro->playerCount(), 1);
    tap(SDL_CONTROLLER_BUTTON_A); // level 1
    auto* level = game.sceneAs<MainScene>();
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->levelFile(), "mapa1.imf");

    // The stick runs the bear to the right on screen (towards -x).
    waitForGo(game);
    const float startX = playerAt(game).x;
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 1);
    game.idle(60);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_LT(playerAt(game).x, startX - 5);

    tap(SDL_CONTROLLER_BUTTON_START);
    ASSERT_TRUE(level->paused());
    tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN); // continuar -> sortir
    tap(SDL_CONTROLLER_BUTTON_A);
    for (int frame = 0; frame < 120 && !game.sceneAs<IntroScene>(); ++frame)
        game.idle(1);
    EXPECT_NE(game.sceneAs<IntroScene>(), nullptr) << "sortir leads back to the title";
}

TEST(ControlsPlay, AReboundKeyMovesTheBearAndEachBadLineOfTheFileIsLoggedWithTheDefaultKept)
{
    GameDriver game(new MainScene("mapa1.imf", 1), {},
                    {{"controls.cfg", "# Player 1 moves right with L\n"
                                      "player1.moveRight = KC_L\n"
                                      "player1.jump = KC_JUMP\n"
                                      "player3.moveLeft = KC_J\n"
                                      "walk faster\n"}});
    // The game read the file at start-up and said what it did not take.
    const std::string log = game.logText();
    for (
        const char* line :
        {R"(controls.cfg line 3: unknown key "KC_JUMP" for player1.jump; line ignored)",
         R"(controls.cfg line 4: unknown player "player3" (player1 or player2); line ignored)",
         R"(controls.cfg line 5: expected "player<1|2>.<action or tilt> = <value>", found "walk faster"; line ignored)"})
        EXPECT_NE(log.find(line), std::string::npos) << line;

    waitForGo(game);
    const float startX = playerAt(game).x;
    game.holdKeys({OIS::KC_D}, 30);
    EXPECT_NEAR(playerAt(game).x, startX, 0.01) << "D no longer moves the bear";
    game.holdKeys({OIS::KC_L}, 60);
    EXPECT_LT(playerAt(game).x, startX - 5) << "L moves it right on screen";
    game.idle(30);
    const float groundY = playerAt(game).y;
    game.holdKeys({OIS::KC_W}, 10);
    EXPECT_GT(playerAt(game).y, groundY + 0.5f) << "W still jumps";
}
