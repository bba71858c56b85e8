// The main scene with the real application, media and physics, driven at 60 frames per second.

#include <OgreSceneNode.h>

#include <gtest/gtest.h>

#include "scenes/main_scene.h"
#include "support/replay.h"
#include "support/x11_window.h"
#include "world/player.h"

namespace
{
ReplayFrame holding(const std::string& player1, const std::string& player2 = "-")
{
    return Route::parse("1 " + player1 + " " + player2).frames.front();
}

float playerX(MainScene& scene, int number)
{
    return scene.player(number)->pivotNode->getPosition().x;
}
} // namespace

TEST(MainScene, TheGoSignFreezesPlayAndThenTheClockRunsAndThePlayerWalks)
{
    ASSERT_TRUE(displayAvailable());
    GameDriver game(new MainScene("mapa1.imf", 1));
    auto& scene = *game.sceneAs<MainScene>();
    const float startX = playerX(scene, 1);
    for (int frame = 0; frame < 20; ++frame)
        game.step(holding("R"));
    EXPECT_TRUE(scene.goSignUp());
    EXPECT_FLOAT_EQ(scene.levelTime(), 0);
    EXPECT_FLOAT_EQ(playerX(scene, 1), startX) << "nothing moves while GO is up";

    while (scene.goSignUp())
        game.step(ReplayFrame());
    for (int frame = 0; frame < 60; ++frame)
        game.step(holding("R"));
    EXPECT_NEAR(scene.levelTime(), 1.0, 0.02);
    EXPECT_LT(playerX(scene, 1), startX - 5) << "right on screen is towards -x";
    EXPECT_EQ(scene.lives(), 5);
}

TEST(MainScene, PauseFreezesTheClockAndItsMenuWraps)
{
    ASSERT_TRUE(displayAvailable());
    GameDriver game(new MainScene("mapa1.imf", 1));
    auto& scene = *game.sceneAs<MainScene>();
    game.idle(90);
    game.step(holding("B"));
    game.idle(1);
    ASSERT_TRUE(scene.paused());
    const float frozen = scene.levelTime();
    game.idle(30);
    EXPECT_FLOAT_EQ(scene.levelTime(), frozen);

    game.step(holding("D")); // continuar -> sortir
    game.idle(1);
    game.step(holding("D")); // sortir wraps to continuar
    game.idle(1);
    game.step(holding("A"));
    game.idle(30);
    EXPECT_FALSE(scene.paused()) << "accept on continuar closes the menu";
    EXPECT_GT(scene.levelTime(), frozen);
}

TEST(MainScene, AFallCostsALifeOnlyWhenThePlayerComesBack)
{
    ASSERT_TRUE(displayAvailable());
    GameDriver game(new MainScene("mapa1.imf", 1));
    auto& scene = *game.sceneAs<MainScene>();
    game.idle(60);
    // Left on screen is +x: off the back of the first plank.
    int frames = 0;
    while (scene.player(1)->pivotNode->getPosition().y > -10 && frames++ < 600)
        game.step(holding("L"));
    ASSERT_LT(scene.player(1)->pivotNode->getPosition().y, -10);
    game.idle(30);
    EXPECT_EQ(scene.lives(), 5) << "the life goes when the player reappears";
    game.idle(90);
    EXPECT_EQ(scene.lives(), 4);
    EXPECT_GT(scene.player(1)->pivotNode->getPosition().y, 0) << "back at the start";
}
