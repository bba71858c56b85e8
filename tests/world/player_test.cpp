#include <algorithm>
#include <memory>
#include <vector>

#include "level_objects_fixture.h"
#include "world/animation_blender.h"
#include "world/bad_ball.h"
#include "world/player.h"
#include "world/rotating_platform.h"
#include "world/sliding_platform.h"

namespace
{

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

class PlayerTest : public LevelObjectsTest
{
  protected:
    void TearDown() override
    {
        players.clear();
        LevelObjectsTest::TearDown();
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
    // One frame as the main scene runs it: the players (one that fell below the level starts its 1.2 s
    // countdown), then the platforms under them, the enemies and the step.
    void frameWith(int direction, bool jump, float tilt = 0.0f)
    {
        for (auto& player : players)
        {
            player->update(frameTime, direction, jump);
            if (player->pivotNode->getPosition().y < -10 && !player->respawnCountdown)
                player->respawnCountdown = 1.2;
        }
        frame(players[0]->feetBody(), tilt, players.size() > 1 ? players[1]->feetBody() : nullptr, tilt);
    }
    void run(float seconds, int direction = 0, bool jump = false, float tilt = 0.0f)
    {
        for (int i = 0; i < framesFor(seconds); ++i)
            frameWith(direction, jump, tilt);
    }
    b2Vec2 feet(const Player& player) const { return player.feetBody()->GetPosition(); }
    b2Vec2 velocity(const Player& player) const { return player.feetBody()->GetLinearVelocity(); }

    std::vector<std::unique_ptr<Player>> players;
};

TEST_F(PlayerTest, WearsItsPlayersCostumeAndFacesTheWayItWalks)
{
    Player& first = addPlayer(0, 3, 1);
    Player& second = addPlayer(-5, 3, 2);
    addPlank(0, 0, 20);
    run(0.1f);
    EXPECT_EQ(first.entity()->getSubEntity(0)->getMaterialName(), "Pimbear_tex");
    EXPECT_EQ(second.entity()->getSubEntity(0)->getMaterialName(), "PimbearPanda_tex");
    first.update(frameTime, 0, false);
    EXPECT_NEAR(first.pivotNode->getPosition().y, feet(first).y + 1.5f, 1e-4f);

    // The turn is a proper rotation.
    frameWith(-1, false);
    EXPECT_NEAR(first.meshNode()->getOrientation().Norm(), 1.0f, 1e-5f);
    EXPECT_GT((first.meshNode()->getOrientation() * Ogre::Vector3::UNIT_Z).x, 0.5f);
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
                EXPECT_GE((i - lastJump) * frameTime, 0.15f);
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
    EXPECT_NEAR(rising - velocity(player).y, (70.0f + 240.0f) * frameTime, 0.6f);
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
        run(frameTime * static_cast<float>(lateFrames - 1), -1, false);
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
    Player& player = addPlayer(0, 500);
    float fastest = 0;
    for (int i = 0; i < 60; ++i)
    {
        frameWith(-1, false);
        fastest = std::max(fastest, velocity(player).x);
    }
    EXPECT_GT(fastest, 14.0f);
    EXPECT_LE(fastest, 15.0f + 100.0f * frameTime + 1e-3f);
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

TEST_F(PlayerTest, TwoPlayersWalkThroughEachOther)
{
    Player& first = addPlayer(-6, 3, 1);
    Player& second = addPlayer(6, 3, 2);
    addPlank(0, 0, 40);
    run(0.3f);
    for (int i = 0; i < 60; ++i)
    {
        first.update(frameTime, -1, false);
        second.update(frameTime, 1, false);
        physics::step(*world, frameTime);
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
    player.update(frameTime, 0, true);
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

// The real bear on the game's own planks and meteors.
TEST_F(PlayerTest, BearRidesASlidingPlankAlongItsRail)
{
    auto* slider = new SlidingPlatform(0, 0, 0, 20, Platform::kindBox, false, "44", false, false, false,
                                       false, 0, 5.0, 0.0);
    Player& bear = addPlayer(0, 3);
    run(0.5f);
    EXPECT_TRUE(slider->checkContact(bear.feetBody(), 1));
    run(2.5f);
    const float plankX = slider->plankBody()->GetPosition().x;
    EXPECT_GT(plankX, 8.0f);
    EXPECT_NEAR(feet(bear).x, plankX, 0.5f);
    EXPECT_TRUE(slider->checkContact(bear.feetBody(), 1));
}

TEST_F(PlayerTest, BearTiltsTheLogItStandsOnAndStaysOnIt)
{
    auto* log = new RotatingPlatform(0, 0, 0, 30, Platform::kindLog, false, 0);
    Player& bear = addPlayer(0, 3);
    run(3.0f, 0, false, 20.0f);
    EXPECT_NEAR(log->plankBody()->GetAngle() * Ogre::Math::fRad2Deg, 20.0f, 1.0f);
    EXPECT_EQ(log->colourOwner, 1);
    EXPECT_TRUE(physics::touches(*log->plankBody(), *bear.feetBody()));
    EXPECT_LT(std::fabs(feet(bear).x), 10.0f);
}

TEST_F(PlayerTest, WaitingMeteorAtTheBearKnocksItOut)
{
    // The bear stands at depth -10 and the meteor waits at -50: the strike test ignores depth.
    Player& bear = addPlayer(0, 3);
    new BadBall({0, 4, -50}, false, false, 0, 0, 4, 4, 10);
    run(0.1f);
    EXPECT_TRUE(bear.isKnockedOut());
}

} // namespace
