#include <algorithm>
#include <cmath>
#include <memory>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "core/access_points.h"
#include "platform/headless_engine.h"
#include "support/stand_in_media.h"
#include "world/animation_blender.h"
#include "world/bad_ball.h"
#include "world/enemic.h"
#include "world/physics.h"
#include "world/player.h"

namespace
{

constexpr float frame = 1.0f / 60.0f;

// A meteor reduced to what the player sees of it: a point that strikes a box containing it.
class PointMeteor : public Enemic
{
  public:
    explicit PointMeteor(Ogre::Vector3 where) : position(where) {}
    void update(float) override {}
    bool hitsSphere(Ogre::Sphere) override { return false; }
    bool hitsBox(Ogre::AxisAlignedBox box) override
    {
        ++asked;
        box.setExtents(box.getMinimum() * Ogre::Vector3(1, 1, 0) - Ogre::Vector3(0, 0, 5),
                       box.getMaximum() * Ogre::Vector3(1, 1, 0) + Ogre::Vector3(0, 0, 5));
        return box.intersects(Ogre::Sphere(position, 0.05f));
    }
    Ogre::Vector3 position;
    int asked = 0;
};

class PlayerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        // The meteors' smoke needs time controllers, which the headless engine does not make.
        if (!Ogre::ControllerManager::getSingletonPtr())
            controllers = std::make_unique<Ogre::ControllerManager>();
        standin::provideWorldMedia(engine);
        theSceneManager = &engine.sceneManager();
        thePhysicsWorld = world.get();
    }
    void TearDown() override
    {
        players.clear();
        Enemic::deleteAll();
        theSceneManager->clearScene();
        controllers.reset();
        theSceneManager = nullptr;
        thePhysicsWorld = nullptr;
    }

    // A platform plank as the level builds it: a box 2 units thick, top at y + 1, welded to a static anchor.
    b2Body* addPlank(float x, float y, float halfLength)
    {
        b2BodyDef def;
        def.position.Set(x, y);
        b2Body* anchor = world->CreateBody(&def);
        def.type = b2_dynamicBody;
        b2Body* plank = world->CreateBody(&def);
        physics::addBox(*plank, halfLength, 1.0f, {1.0f, 9999.0f, 0.0f});
        physics::weldBodies(*world, *anchor, *plank, plank->GetPosition());
        return plank;
    }
    Player& addPlayer(float x, float y, int number = 1)
    {
        players.push_back(std::make_unique<Player>(x, y, 0.0f, number));
        return *players.back();
    }
    // One frame as the main scene runs it: players, then the step; a player that fell below the level
    // starts its 1.2 s countdown.
    void frameWith(int direction, bool jump)
    {
        for (auto& player : players)
        {
            player->update(frame, direction, jump);
            if (player->pivotNode->getPosition().y < -10 && !player->respawnCountdown)
                player->respawnCountdown = 1.2;
        }
        physics::step(*world, frame);
    }
    void run(float seconds, int direction = 0, bool jump = false)
    {
        for (int i = 0; i < static_cast<int>(std::lround(seconds / frame)); ++i)
            frameWith(direction, jump);
    }
    b2Vec2 feet(const Player& player) const { return player.feetBody()->GetPosition(); }
    b2Vec2 velocity(const Player& player) const { return player.feetBody()->GetLinearVelocity(); }

    platform::HeadlessEngine engine;
    std::unique_ptr<Ogre::ControllerManager> controllers;
    std::unique_ptr<b2World> world{physics::createWorld()};
    std::vector<std::unique_ptr<Player>> players;
};

TEST_F(PlayerTest, IsBuiltAsTheSceneExpectsIt)
{
    Player& first = addPlayer(0, 3, 1);
    Player& second = addPlayer(-5, 3, 2);
    addPlank(0, 0, 20);
    run(0.1f);
    EXPECT_EQ(first.entity()->getSubEntity(0)->getMaterialName(), "Pimbear_tex");
    EXPECT_EQ(second.entity()->getSubEntity(0)->getMaterialName(), "PimbearPanda_tex");
    EXPECT_FLOAT_EQ(first.pivotNode->getPosition().z, -10.0f);
    EXPECT_FLOAT_EQ(second.pivotNode->getPosition().z, -20.0f);
    first.update(frame, 0, false);
    EXPECT_NEAR(first.pivotNode->getPosition().y, feet(first).y + 1.5f, 1e-4f);
    EXPECT_EQ(first.blender().getAnimationName(), "respirar");
    EXPECT_EQ(first.spawnPosition, Ogre::Vector3(0, 3, 0));
    for (b2Body* body : {first.feetBody(), first.torsoBody()})
    {
        const b2Filter filter = body->GetFixtureList()->GetFilterData();
        EXPECT_EQ(filter.categoryBits, 0x0001);
        EXPECT_EQ(filter.maskBits, 0x00FF);
        EXPECT_EQ(filter.groupIndex, -2);
    }

    // Facing follows the walking direction; the turn is a proper rotation.
    frameWith(-1, false);
    EXPECT_NEAR(first.meshNode()->getOrientation().Norm(), 1.0f, 1e-5f);
    const Ogre::Vector3 forward = first.meshNode()->getOrientation() * Ogre::Vector3::UNIT_Z;
    EXPECT_GT(forward.x, 0.5f);
    frameWith(1, false);
    EXPECT_LT((first.meshNode()->getOrientation() * Ogre::Vector3::UNIT_Z).x, -0.5f);
}

TEST_F(PlayerTest, WalksAtMostTwentyUnitsPerSecondAndStopsAtOnce)
{
    Player& player = addPlayer(0, 3);
    addPlank(0, 0, 60);
    run(0.5f);
    EXPECT_NEAR(feet(player).y, 3.0f, 0.05f);

    float fastest = 0;
    const float startX = feet(player).x;
    for (int i = 0; i < 90; ++i)
    {
        frameWith(-1, false);
        fastest = std::max(fastest, velocity(player).x);
    }
    EXPECT_GT(feet(player).x, startX + 20.0f);
    EXPECT_NEAR(fastest, 20.0f, 0.5f);
    EXPECT_EQ(player.blender().getAnimationName(), "correr");

    frameWith(0, false);
    frameWith(0, false);
    EXPECT_NEAR(velocity(player).x, 0.0f, 0.2f);
    const float stopped = feet(player).x;
    run(0.5f);
    EXPECT_NEAR(feet(player).x, stopped, 0.05f);
    EXPECT_EQ(player.blender().getAnimationName(), "respirar");
}

TEST_F(PlayerTest, HeldJumpRisesAboutSixteenAndRepeatsOnlyAfterLanding)
{
    Player& player = addPlayer(0, 3);
    addPlank(0, 0, 20);
    run(0.5f);
    const float rest = feet(player).y;

    float peak = rest;
    int jumps = 0;
    int lastJump = -100;
    int firstLanding = -1;
    for (int i = 0; i < 150; ++i)
    {
        const float before = velocity(player).y;
        frameWith(0, true);
        if (velocity(player).y > 40.0f && before < 40.0f)
        {
            if (jumps > 0)
            {
                EXPECT_GT(firstLanding, lastJump) << "jumped again in the air";
                EXPECT_GE((i - lastJump) * frame, 0.15f);
            }
            ++jumps;
            lastJump = i;
        }
        if (jumps == 1)
            peak = std::max(peak, feet(player).y);
        if (jumps == 1 && firstLanding < 0 && i > lastJump + 10 && feet(player).y < rest + 0.1f)
            firstLanding = i;
    }
    // 48 units/s shared with the torso's unit mass leaves about 44 units/s: some 14 units under gravity 70.
    EXPECT_GT(peak - rest, 13.0f);
    EXPECT_LT(peak - rest, 17.0f);
    EXPECT_GE(jumps, 2);
}

TEST_F(PlayerTest, ReleasingJumpCutsTheRise)
{
    Player& player = addPlayer(0, 3);
    addPlank(0, 0, 20);
    run(0.5f);
    const float rest = feet(player).y;
    frameWith(0, true);
    frameWith(0, true);
    const float rising = velocity(player).y;
    frameWith(0, false);
    // Gravity's 70 plus the brake's 240, per second.
    EXPECT_NEAR(rising - velocity(player).y, (70.0f + 240.0f) * frame, 0.6f);
    float peak = rest;
    for (int i = 0; i < 60; ++i)
    {
        frameWith(0, false);
        peak = std::max(peak, feet(player).y);
    }
    EXPECT_LT(peak - rest, 8.0f);
    EXPECT_GT(peak - rest, 1.0f);
}

TEST_F(PlayerTest, CanStillJumpJustAfterWalkingOffAnEdge)
{
    for (const int lateFrames : {3, 9})
    {
        Player& player = addPlayer(-1, 3 + 100.0f * lateFrames);
        addPlank(0, 100.0f * lateFrames, 3);
        run(0.5f);
        // Walk towards +x until the feet lose the plank.
        int frames = 0;
        while (physics::touchesAnything(*player.feetBody()) && frames++ < 300)
            frameWith(-1, false);
        ASSERT_LT(frames, 300);
        run(frame * static_cast<float>(lateFrames - 1), -1, false);
        player.update(frame, -1, true);
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
    Player& player = addPlayer(0, 500);
    float fastest = 0;
    for (int i = 0; i < 60; ++i)
    {
        frameWith(-1, false);
        fastest = std::max(fastest, velocity(player).x);
    }
    EXPECT_GT(fastest, 14.0f);
    EXPECT_LE(fastest, 15.0f + 100.0f * frame + 1e-3f);
    EXPECT_EQ(player.blender().getAnimationName(), "caure");

    player.feetBody()->SetLinearVelocity(b2Vec2(-30, 0));
    player.torsoBody()->SetLinearVelocity(b2Vec2(-30, 0));
    frameWith(1, false);
    EXPECT_LT(velocity(player).x, -29.0f);
}

TEST_F(PlayerTest, AMeteorKnocksThePlayerOutUntilItRespawns)
{
    Player& player = addPlayer(0, 3);
    addPlank(0, 0, 20);
    run(0.5f);
    player.spawnPosition = Ogre::Vector3(-10, 20, 0);
    // Two meteors in the player, one far away: the first one found strikes, and only once.
    const Ogre::Vector3 inside = player.pivotNode->getPosition() * Ogre::Vector3(1, 1, 0);
    auto* near = new PointMeteor(inside);
    auto* alsoNear = new PointMeteor(inside);
    new PointMeteor(Ogre::Vector3(300, 300, 0));
    frameWith(0, false);
    EXPECT_TRUE(player.isKnockedOut());
    EXPECT_EQ(near->asked + alsoNear->asked, 1);
    EXPECT_EQ(player.blender().getAnimationName(), "rebre_front");
    EXPECT_EQ(player.feetBody()->GetFixtureList()->GetFilterData().maskBits, 0);
    EXPECT_EQ(player.torsoBody()->GetFixtureList()->GetFilterData().maskBits, 0);

    // Falls through the plank, is not asked again, and waits out the countdown frozen.
    float lowestPivot = 0;
    int frames = 0;
    while (!player.respawnCountdown && frames++ < 300)
        frameWith(-1, true);
    ASSERT_TRUE(player.respawnCountdown.has_value());
    EXPECT_EQ(near->asked + alsoNear->asked, 1);
    const Ogre::Vector3 frozen = player.pivotNode->getPosition();
    run(1.0f);
    EXPECT_EQ(player.pivotNode->getPosition(), frozen);
    lowestPivot = frozen.y;
    EXPECT_LT(lowestPivot, -10.0f);

    // After 1.2 s in all it comes back at the spawn point, drops onto the plank and plays again.
    near->position = alsoNear->position = Ogre::Vector3(300, 300, 0);
    run(0.25f);
    EXPECT_FALSE(player.respawnCountdown.has_value());
    EXPECT_FALSE(player.isKnockedOut());
    run(1.5f);
    EXPECT_NEAR(feet(player).x, -10.0f, 1.0f);
    EXPECT_NEAR(feet(player).y, 3.0f, 0.1f);
    EXPECT_NEAR(player.torsoBody()->GetPosition().y, 5.0f, 0.2f);
    for (b2Body* body : {player.feetBody(), player.torsoBody()})
    {
        const b2Filter filter = body->GetFixtureList()->GetFilterData();
        EXPECT_EQ(filter.maskBits, 0x00FF);
        EXPECT_EQ(filter.groupIndex, -2);
    }
    EXPECT_EQ(player.blender().getAnimationName(), "respirar");
}

TEST_F(PlayerTest, ALevelMeteorFlyingIntoThePlayerKnocksItOut)
{
    Player& player = addPlayer(0, 3);
    addPlank(0, 0, 20);
    run(0.5f);
    // One meteor at a time from 30 units to the left on screen, flying level towards the player.
    auto* launcher = new BadBall(Ogre::Vector3(30, 4.5f, -50), false, false, -40.0, 0.0, 2.0, 2.0, 0.0);
    int frames = 0;
    while (!player.isKnockedOut() && frames++ < 60)
    {
        player.update(frame, 0, false);
        launcher->update(frame);
        physics::step(*world, frame);
    }
    EXPECT_TRUE(player.isKnockedOut());
    // Reached when the meteor's centre enters the bear's box, some 28 units into its flight.
    EXPECT_NEAR(frames * frame, 28.0f / 40.0f, 0.1f);
}

TEST_F(PlayerTest, TwoPlayersWalkThroughEachOther)
{
    Player& first = addPlayer(-6, 3, 1);
    Player& second = addPlayer(6, 3, 2);
    addPlank(0, 0, 40);
    run(0.3f);
    for (int i = 0; i < 60; ++i)
    {
        first.update(frame, -1, false);
        second.update(frame, 1, false);
        physics::step(*world, frame);
    }
    EXPECT_GT(feet(first).x, 6.0f);
    EXPECT_LT(feet(second).x, -6.0f);
}

TEST_F(PlayerTest, AMeteorBodyUnderfootCountsAsGround)
{
    Player& player = addPlayer(0, 3.5f);
    b2BodyDef def;
    def.position.Set(0, 0);
    b2Body* rock = world->CreateBody(&def);
    physics::addCircle(*rock, 1.0f, {2.0f, 999.0f, 0.0f});
    run(0.5f);
    ASSERT_TRUE(physics::touches(*player.feetBody(), *rock));
    player.update(frame, 0, true);
    EXPECT_NEAR(velocity(player).y, 48.0f, 3.0f);
}

TEST_F(PlayerTest, FinishEndsControlForGood)
{
    Player& winner = addPlayer(0, 3, 1);
    Player& loser = addPlayer(-10, 3, 2);
    addPlank(0, 0, 30);
    run(0.5f);
    run(0.2f, -1, false);
    winner.finish(true);
    loser.finish(false);
    EXPECT_EQ(winner.blender().getAnimationName(), "win");
    EXPECT_EQ(loser.blender().getAnimationName(), "lose");
    new PointMeteor(winner.pivotNode->getPosition() * Ogre::Vector3(1, 1, 0));
    const float x = feet(winner).x;
    run(1.0f, 1, true);
    EXPECT_NEAR(feet(winner).x, x, 0.1f);
    EXPECT_NEAR(velocity(winner).y, 0.0f, 0.1f);
    EXPECT_FALSE(winner.isKnockedOut());

    // Coming back after a fall, a finished player keeps its last animation.
    loser.respawnCountdown = 0.01;
    run(0.1f);
    EXPECT_EQ(loser.blender().getAnimationName(), "lose");
}

} // namespace
