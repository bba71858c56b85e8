// The main scene with the real application, media and physics, driven at 60 frames per second.

#include <memory>
#include <vector>

#include <Ogre.h>
#include <box2d/box2d.h>

#include <gtest/gtest.h>

#include "audio/sound_effect.h"
#include "core/access_points.h"
#include "scenes/hud_clock.h"
#include "scenes/main_scene.h"
#include "scenes/results_scene.h"
#include "support/replay.h"
#include "world/player.h"

namespace
{
float playerX(MainScene& scene, int number)
{
    return scene.player(number)->pivotNode->getPosition().x;
}

// A short level of the tests' own: one plank at y 0 from x -60 to 40, the start at x 0 and the cat 30
// units to screen-right of it (towards -x).
GameDriver::LevelText shortLevel(const std::string& fileName, const std::string& next)
{
    return {fileName, "0 6 -30 1.35 " + next + "\nStaticPlatform -10 0 100 0 floor terra\n"};
}

// Steps holding `actions` for both players until `done` holds; false after `limit` frames.
template <typename Done>
bool stepUntil(GameDriver& game, const std::string& actions, Done done, int limit = 900)
{
    for (int frame = 0; frame < limit; ++frame)
    {
        if (done())
            return true;
        game.step(ReplayFrame::holding(actions, actions));
    }
    return done();
}

std::vector<b2Vec2> bodyPositions()
{
    std::vector<b2Vec2> positions;
    for (const b2Body* body = thePhysicsWorld->GetBodyList(); body; body = body->GetNext())
        positions.push_back(body->GetPosition());
    return positions;
}

std::vector<Ogre::Vector3> nodePositions(Ogre::Node& node, std::vector<Ogre::Vector3> positions = {})
{
    positions.push_back(node._getDerivedPosition());
    for (Ogre::Node* child : node.getChildren())
        positions = nodePositions(*child, std::move(positions));
    return positions;
}

bool samePositions(const std::vector<b2Vec2>& a, const std::vector<b2Vec2>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y)
            return false;
    return true;
}
} // namespace

TEST(MainScene, TheGoSignFreezesPlayAndThenTheClockRunsAndThePlayerWalks)
{
    GameDriver game(new MainScene("mapa1.imf", 1));
    auto& scene = game.current<MainScene>();
    const float startX = playerX(scene, 1);
    for (int frame = 0; frame < 10; ++frame)
        game.step(ReplayFrame::holding("R"));
    const std::vector<b2Vec2> bodies = bodyPositions();
    const std::vector<Ogre::Vector3> nodes = nodePositions(*theSceneManager->getRootSceneNode());
    for (int frame = 0; frame < 10; ++frame)
        game.step(ReplayFrame::holding("R"));
    EXPECT_TRUE(scene.goSignUp());
    EXPECT_FLOAT_EQ(scene.levelTime(), 0);
    EXPECT_FLOAT_EQ(playerX(scene, 1), startX) << "nothing moves while GO is up";
    EXPECT_TRUE(samePositions(bodyPositions(), bodies)) << "the physics is frozen too";
    EXPECT_NE(nodePositions(*theSceneManager->getRootSceneNode()), nodes)
        << "but the clouds and birds fly on";

    while (scene.goSignUp())
        game.step(ReplayFrame());
    for (int frame = 0; frame < 60; ++frame)
        game.step(ReplayFrame::holding("R"));
    EXPECT_NEAR(scene.levelTime(), 1.0, 0.02);
    EXPECT_LT(playerX(scene, 1), startX - 5) << "right on screen is towards -x";
    EXPECT_EQ(scene.lives(), 5);
}

TEST(MainScene, PauseFreezesTheClockAndItsMenuWraps)
{
    GameDriver game(new MainScene("mapa1.imf", 1));
    auto& scene = game.current<MainScene>();
    game.idle(90);
    game.step(ReplayFrame::holding("B"));
    game.idle(1);
    ASSERT_TRUE(scene.paused());
    const float frozen = scene.levelTime();
    const std::vector<b2Vec2> bodies = bodyPositions();
    for (int frame = 0; frame < 30; ++frame)
        game.step(ReplayFrame::holding("R"));
    EXPECT_FLOAT_EQ(scene.levelTime(), frozen);
    EXPECT_TRUE(samePositions(bodyPositions(), bodies)) << "the physics waits with the clock";

    game.step(ReplayFrame::holding("D")); // continuar -> sortir
    game.idle(1);
    game.step(ReplayFrame::holding("D")); // sortir wraps to continuar
    game.idle(1);
    game.step(ReplayFrame::holding("A"));
    game.idle(30);
    EXPECT_FALSE(scene.paused()) << "accept on continuar closes the menu";
    EXPECT_GT(scene.levelTime(), frozen);
}

TEST(MainScene, TheClockShowsTheLevelTimeAndTheCameraSettlesAtItsOnePlayerWidth)
{
    GameDriver game(new MainScene("mapa1.imf", 1));
    auto& scene = game.current<MainScene>();
    ASSERT_TRUE(stepUntil(game, "-", [&] { return scene.levelTime() >= 5.25f; }));
    HudClock shown;
    shown.show(scene.levelTime());
    for (int k = 0; k < HudClock::cellCount; ++k)
        EXPECT_EQ(scene.clock().cell(k), shown.cell(k)) << "cell " << k;
    EXPECT_NEAR(theCamera->getOrthoWindowWidth(), 126.0, 0.5);
}

// A fall costs a life only when the player comes back at the start.
TEST(MainScene, EachFallCostsALifeOnReturnAndLosingTheFifthRestartsTheSameLevelWithTheClockAtZero)
{
    GameDriver game(new MainScene("short.imf", 1), {shortLevel("short.imf", "end")});
    auto* scene = &game.current<MainScene>();
    for (int life = 5; life >= 2; --life)
    {
        // Left on screen is +x: off the back of the plank, then wait to reappear.
        ASSERT_TRUE(stepUntil(game, "L", [&] { return scene->player(1)->pivotNode->getPosition().y < -10; }));
        game.idle(30);
        EXPECT_EQ(scene->lives(), life) << "the life goes when the player reappears";
        ASSERT_TRUE(stepUntil(game, "-", [&] { return scene->lives() == life - 1; }));
        EXPECT_GT(scene->player(1)->pivotNode->getPosition().y, 0) << "back at the start";
    }
    EXPECT_GT(scene->levelTime(), 5.0f);
    ASSERT_TRUE(stepUntil(game, "L", [&] { return game.scene() != scene; }));
    auto* restarted = game.sceneAs<MainScene>();
    ASSERT_NE(restarted, nullptr);
    EXPECT_EQ(restarted->levelFile(), "short.imf");
    EXPECT_EQ(restarted->lives(), 5);
    EXPECT_FLOAT_EQ(restarted->levelTime(), 0);
}

TEST(MainScene, EscapeDuringTheJingleEndsItWithoutOpeningThePauseMenu)
{
    GameDriver game(new MainScene("first.imf", 1),
                    {shortLevel("first.imf", "second.imf"), shortLevel("second.imf", "end")});
    auto& scene = game.current<MainScene>();
    ASSERT_TRUE(stepUntil(game, "R", [&] { return scene.winner() == 1; }));
    game.idle(5);
    ASSERT_EQ(scene.levelFile(), "first.imf") << "the jingle is playing";
    game.step(ReplayFrame::holding("B"));
    game.idle(2);
    EXPECT_EQ(scene.levelFile(), "second.imf");
    EXPECT_FALSE(scene.paused());
}

// Without a free sound source the jingle cannot play; the level must still end rather than wait for it.
TEST(MainScene, ALevelEndsEvenWhenItsJingleGetsNoSoundSource)
{
    GameDriver game(new MainScene("first.imf", 1),
                    {shortLevel("first.imf", "second.imf"), shortLevel("second.imf", "end")});
    auto& scene = game.current<MainScene>();
    std::vector<std::unique_ptr<SoundEffect>> hogs;
    for (bool lent = true; lent;)
    {
        hogs.push_back(std::make_unique<SoundEffect>());
        lent = hogs.back()->acquireSource();
    }
    ASSERT_TRUE(stepUntil(game, "R", [&] { return scene.levelFile() == "second.imf"; }));
    EXPECT_EQ(scene.lives(), 5);
}

TEST(MainScene, TwoPlayerGamesSkipTheBossLevelAndEndInTheResults)
{
    GameDriver game(new MainScene("last.imf", 2), {shortLevel("last.imf", "boss1.imf")});
    auto* scene = &game.current<MainScene>();
    ASSERT_TRUE(stepUntil(game, "R", [&] { return scene->winner() != 0; }));
    // The jingle plays in real time: skip it.
    game.step(ReplayFrame::holding("B"));
    ASSERT_TRUE(stepUntil(
        game, "-", [&] { return game.scene() != scene; }, 10));
    EXPECT_NE(game.sceneAs<ResultsScene>(), nullptr);
}
