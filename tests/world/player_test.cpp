#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "level_objects_fixture.h"
#include "world/animation_blender.h"
#include "world/bad_ball.h"
#include "world/player.h"

namespace
{

// A level meteor waiting (for 10 s) at its launch point (x, y), at the level's depth of -50: the strike test
// ignores depth, so it strikes a player there.
void waitingMeteorAt(float x, float y)
{
    new BadBall({x, y, -50}, false, false, 0, 0, 4, 4, 10);
}

class PlayerTest : public LevelObjectsTest
{
  protected:
    void TearDown() override
    {
        players.clear();
        LevelObjectsTest::TearDown();
    }

    // A platform plank as the level builds it: a box 2 units thick, top at y + 1, welded to a static anchor.
    void addPlank(float x, float y, float halfLength)
    {
        b2BodyDef def;
        def.position.Set(x, y);
        b2Body* anchor = world->CreateBody(&def);
        def.type = b2_dynamicBody;
        b2Body* plank = world->CreateBody(&def);
        physics::addBox(*plank, halfLength, 1.0f, {1.0f, 9999.0f, 0.0f});
        physics::weldBodies(*world, *anchor, *plank, plank->GetPosition());
    }
    // A player standing still on a plank of its own.
    Player& addPlayer(float x, float y, int number = 1, float plankHalfLength = 20)
    {
        players.push_back(std::make_unique<Player>(x, y, 0.0f, number));
        if (plankHalfLength > 0)
            addPlank(x, y - 3, plankHalfLength);
        return *players.back();
    }
    // Frames as the main scene runs them: a player that fell below the level starts its 1.2 s countdown,
    // then the frame of play moves the players (the first `direction`, the second `direction2`), the
    // platforms under them, the enemies, and steps the world.
    void run(float seconds, int direction = 0, bool jump = false, int direction2 = 0)
    {
        for (int i = 0; i < std::max(1, framesFor(seconds)); ++i)
        {
            std::array<PlayerTurn, 2> turns;
            for (std::size_t p = 0; p < players.size(); ++p)
            {
                Player& player = *players[p];
                if (player.pivotNode->getPosition().y < -10 && !player.respawnCountdown)
                    player.respawnCountdown = 1.2;
                turns[p] = {&player, player.feetBody(), p == 0 ? direction : direction2, jump, 0.0f};
            }
            runPlayFrame(*world, turns, frameTime);
            // As rendering would: the player's box for the next frame's strike test follows its nodes.
            theSceneManager->getRootSceneNode()->_update(true, false);
        }
    }
    static b2Vec2 feet(const Player& player) { return player.feetBody()->GetPosition(); }
    static b2Vec2 velocity(const Player& player) { return player.feetBody()->GetLinearVelocity(); }

    std::vector<std::unique_ptr<Player>> players;
};

TEST_F(PlayerTest, WalksAtMostTwentyUnitsPerSecondFacingItsWayAndStopsAtOnce)
{
    Player& player = addPlayer(0, 3, 1, 60);
    run(0.5f);

    float fastest = 0;
    for (int i = 0; i < 90; ++i)
    {
        run(frameTime, -1);
        fastest = std::max(fastest, velocity(player).x);
    }
    EXPECT_NEAR(fastest, 20.0f, 0.5f);
    EXPECT_EQ(player.blender().getAnimationName(), "correr");
    EXPECT_GT((player.meshNode()->getOrientation() * Ogre::Vector3::UNIT_Z).x, 0.5f);

    run(2 * frameTime);
    EXPECT_NEAR(velocity(player).x, 0.0f, 0.2f);
    const float stopped = feet(player).x;
    run(0.5f);
    EXPECT_NEAR(feet(player).x, stopped, 0.05f);
    EXPECT_EQ(player.blender().getAnimationName(), "respirar");
}

TEST_F(PlayerTest, HeldJumpRisesAboutFourteenAndRepeatsOnlyAfterLanding)
{
    Player& player = addPlayer(0, 3);
    run(0.5f);
    const float rest = feet(player).y;

    // Held for 2.5 s: it jumps again and again, each take-off after a landing.
    float peak = rest;
    int jumps = 0;
    bool landed = true;
    for (int i = 0; i < 150; ++i)
    {
        const float before = velocity(player).y;
        run(frameTime, 0, true);
        if (velocity(player).y > 40.0f && before < 40.0f)
        {
            EXPECT_TRUE(landed) << "jumped again in the air at frame " << i;
            landed = false;
            ++jumps;
        }
        landed = landed || (velocity(player).y <= 0.0f && feet(player).y < rest + 0.1f);
        if (jumps == 1)
            peak = std::max(peak, feet(player).y);
    }
    // 48 units/s shared with the torso's unit mass leaves about 44 units/s: some 14 units under gravity 70.
    EXPECT_GT(peak - rest, 13.0f);
    EXPECT_LT(peak - rest, 17.0f);
    EXPECT_GE(jumps, 2);

    // Released after two frames, the jump stays low.
    run(1.0f);
    run(2 * frameTime, 0, true);
    peak = rest;
    for (int i = 0; i < 60; ++i)
    {
        run(frameTime);
        peak = std::max(peak, feet(player).y);
    }
    EXPECT_LT(peak - rest, 8.0f);
    EXPECT_GT(peak - rest, 1.0f);
}

TEST_F(PlayerTest, CanStillJumpJustAfterWalkingOffAnEdge)
{
    for (const int lateFrames : {3, 9})
    {
        Player& player = addPlayer(-1, 3 + 100.0f * lateFrames, 1, 3);
        run(0.5f);
        int frames = 0;
        while (physics::touchesAnything(*player.feetBody()) && frames++ < 300)
            run(frameTime, -1);
        ASSERT_LT(frames, 300);
        run(frameTime * static_cast<float>(lateFrames - 1), -1);
        player.update(frameTime, -1, true);
        // 3 frames after the last contact is within the 0.1 s grace; 9 frames is past it.
        if (lateFrames == 3)
            EXPECT_NEAR(velocity(player).y, 48.0f, 3.0f);
        else
            EXPECT_LT(velocity(player).y, 0.0f);
        players.clear();
    }
}

TEST_F(PlayerTest, AirControlNeverPushesPastFifteenNorBrakesAFasterBody)
{
    Player& player = addPlayer(0, 500, 1, 0);
    float fastest = 0;
    for (int i = 0; i < 60; ++i)
    {
        run(frameTime, -1);
        fastest = std::max(fastest, velocity(player).x);
    }
    EXPECT_GT(fastest, 14.0f);
    EXPECT_LE(fastest, 15.0f + 100.0f * frameTime + 1e-3f);

    player.feetBody()->SetLinearVelocity(b2Vec2(-30, 0));
    player.torsoBody()->SetLinearVelocity(b2Vec2(-30, 0));
    run(frameTime, 1);
    EXPECT_LT(velocity(player).x, -29.0f);
}

TEST_F(PlayerTest, AWaitingMeteorKnocksThePlayerOutUntilItRespawns)
{
    Player& player = addPlayer(0, 3);
    run(0.5f);
    player.spawnPosition = Ogre::Vector3(-10, 20, 0);
    waitingMeteorAt(0, 4);
    run(frameTime);
    EXPECT_TRUE(player.isKnockedOut());
    EXPECT_EQ(player.blender().getAnimationName(), "rebre_front");

    // Falls through the plank and waits out the countdown frozen.
    int frames = 0;
    while (!player.respawnCountdown && frames++ < 300)
        run(frameTime, -1, true);
    ASSERT_TRUE(player.respawnCountdown.has_value());
    const Ogre::Vector3 frozen = player.pivotNode->getPosition();
    run(1.0f);
    EXPECT_EQ(player.pivotNode->getPosition(), frozen);

    // After 1.2 s in all it comes back at the spawn point, drops onto the plank and plays again.
    run(0.25f);
    EXPECT_FALSE(player.isKnockedOut());
    run(1.5f);
    EXPECT_NEAR(feet(player).x, -10.0f, 1.0f);
    EXPECT_NEAR(feet(player).y, 3.0f, 0.1f);
    for (b2Body* body : {player.feetBody(), player.torsoBody()})
        EXPECT_EQ(body->GetFixtureList()->GetFilterData().maskBits, physics::playerFilter().maskBits);
    EXPECT_EQ(player.blender().getAnimationName(), "respirar");
}

TEST_F(PlayerTest, TwoPlayersWalkThroughEachOther)
{
    Player& first = addPlayer(-6, 3, 1, 40);
    Player& second = addPlayer(6, 3, 2, 0);
    EXPECT_EQ(second.entity()->getSubEntity(0)->getMaterialName(), "PimbearPanda_tex");
    run(0.3f);
    run(1.0f, -1, false, 1);
    EXPECT_GT(feet(first).x, 6.0f);
    EXPECT_LT(feet(second).x, -6.0f);
}

TEST_F(PlayerTest, FinishEndsControlForGood)
{
    Player& winner = addPlayer(0, 3, 1, 30);
    Player& loser = addPlayer(-10, 3, 2, 0);
    run(0.5f);
    winner.finish(true);
    loser.finish(false);
    waitingMeteorAt(0, 4);
    const float x = feet(winner).x;
    run(1.0f, 1, true);
    EXPECT_NEAR(feet(winner).x, x, 0.1f);
    EXPECT_FALSE(winner.isKnockedOut());
    EXPECT_EQ(winner.blender().getAnimationName(), "win");

    // Coming back after a fall, a finished player keeps its last animation.
    loser.respawnCountdown = 0.01;
    run(0.1f);
    EXPECT_EQ(loser.blender().getAnimationName(), "lose");
}

} // namespace
