#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "level_objects_fixture.h"
#include "world/bad_ball.h"
#include "world/bad_ball_emitter.h"
#include "world/phys_bad_ball.h"

namespace
{

Ogre::AxisAlignedBox boxAround(float x, float y, float halfSize = 1.0f)
{
    // A player's box stands at its own depth; the strike test ignores it.
    return Ogre::AxisAlignedBox(x - halfSize, y - halfSize, -30, x + halfSize, y + halfSize, -20);
}

using EnemyTest = LevelObjectsTest;

TEST_F(EnemyTest, LevelLauncherSpreadsItsPoolOverOneLifeAndRelaunchesForEver)
{
    auto* launcher = new BadBall({0, 50, -50}, false, false, 2.0, 1.0, 4.0, 1.5, 0.5);
    ASSERT_EQ(launcher->meteors().size(), 3u);
    for (const BadBall::Meteor& meteor : launcher->meteors())
        EXPECT_FALSE(meteor.picture.node->getAttachedObject(0)->isVisible());

    std::vector<std::vector<float>> launches(3);
    std::vector<double> lifeBefore(3);
    for (int frameIndex = 1; frameIndex <= framesFor(10.0f); ++frameIndex)
    {
        for (size_t i = 0; i < 3; ++i)
            lifeBefore[i] = launcher->meteors()[i].lifeLeft;
        frame();
        for (size_t i = 0; i < 3; ++i)
        {
            const BadBall::Meteor& meteor = launcher->meteors()[i];
            if (meteor.lifeLeft > lifeBefore[i])
            {
                launches[i].push_back(frameIndex * frameTime);
                // Launched from the launch point in the plane of play, at the launch velocity.
                EXPECT_EQ(meteor.picture.node->getPosition(), Ogre::Vector3(0, 50, 0));
                EXPECT_EQ(std::make_tuple(meteor.vx, meteor.vy), std::make_tuple(2.0, 1.0));
                EXPECT_TRUE(meteor.picture.node->getAttachedObject(0)->isVisible());
                EXPECT_TRUE(meteor.picture.smoke->getEmitting());
            }
        }
    }
    for (size_t i = 0; i < 3; ++i)
    {
        // Launches at 0.5, 4.5, 8.5; 1.83, 5.83, 9.83; 3.17, 7.17 s.
        ASSERT_EQ(launches[i].size(), i < 2 ? 3u : 2u) << i;
        for (size_t k = 0; k < launches[i].size(); ++k)
            // A meteor is relaunched in the frame after its life ran out: each flight lasts one frame more.
            EXPECT_NEAR(launches[i][k], 0.5f + i * 4.0f / 3.0f + k * 4.0f, (2.5f + k) * frameTime)
                << i << " " << k;
    }
}

TEST_F(EnemyTest, WaitingMeteorStrikesUnseenAtItsLaunchPointAndFallsAway)
{
    auto* launcher = new BadBall({30, 40, -50}, true, false, 0.0, 0.0, 4.0, 4.0, 3.0);
    EXPECT_TRUE(launcher->hitsBox(boxAround(30, 40)));
    EXPECT_TRUE(launcher->hitsSphere(Ogre::Sphere({30, 40, 70}, 0.5f)));
    EXPECT_FALSE(launcher->hitsBox(boxAround(30, 45)));
    EXPECT_FALSE(launcher->hitsBox(Ogre::AxisAlignedBox()));

    for (int i = 0; i < framesFor(1.0f); ++i)
        frame();
    const float fallen = 40.0f - 0.5f * 70.0f;
    EXPECT_FALSE(launcher->hitsBox(boxAround(30, 40)));
    EXPECT_TRUE(launcher->hitsBox(boxAround(30, fallen, 1.5f)));
    EXPECT_FALSE(launcher->meteors()[0].picture.node->getAttachedObject(0)->isVisible());
}

TEST_F(EnemyTest, IdlePoolMeteorsStrikeNobodyUntilLaunchedFromWhereTheParentIsNow)
{
    Ogre::SceneNode* boss =
        theSceneManager->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(100, 0, 40));
    auto* pool = new BadBall({-8, 25, 0}, boss, 5.0, 2.9);
    ASSERT_EQ(pool->meteors().size(), 2u);
    EXPECT_FALSE(pool->hitsBox(boxAround(-8, 25)));
    EXPECT_FALSE(pool->hitsBox(boxAround(92, 25)));
    for (int i = 0; i < 10; ++i)
        frame();

    boss->setPosition(200, 10, 40);
    ASSERT_TRUE(pool->launch(-5.0, 20.0));
    const BadBall::Meteor& meteor = pool->meteors()[0];
    EXPECT_EQ(meteor.picture.node->getPosition(), Ogre::Vector3(192, 35, 0));
    EXPECT_TRUE(pool->hitsBox(boxAround(192, 35)));
    // Varied launch speeds: each factor between 1 and 1 + 29/60.
    EXPECT_LE(meteor.vx, -5.0);
    EXPECT_GE(meteor.vx, -5.0 * (1 + 29.0 / 60));
    EXPECT_GE(meteor.vy, 20.0);
    EXPECT_LE(meteor.vy, 20.0 * (1 + 29.0 / 60));

    // At the end of its flight it goes idle again where it stopped, and strikes nobody there.
    for (int i = 0; i < framesFor(5.1f); ++i)
        frame();
    const Ogre::Vector3 stopped = meteor.picture.node->getPosition();
    EXPECT_FALSE(pool->hitsBox(boxAround(stopped.x, stopped.y)));
    EXPECT_FALSE(meteor.picture.node->getAttachedObject(0)->isVisible());
}

TEST_F(EnemyTest, LaunchOnAFullPoolChangesNothing)
{
    Ogre::SceneNode* boss = theSceneManager->getRootSceneNode()->createChildSceneNode();
    auto* ballistic = new BadBall({8, 25, 0}, boss, 5.0, 2);
    auto* physical = new PhysBadBall({14, 20, 0}, boss, 10.0, 2);
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_TRUE(ballistic->launch(5, 20));
        EXPECT_TRUE(physical->launch(5, 20));
        frame();
    }
    const auto snapshot = [&]
    {
        std::vector<double> state;
        for (const BadBall::Meteor& m : ballistic->meteors())
            state.insert(state.end(), {m.vx, m.vy, m.lifeLeft, m.picture.node->getPosition().x});
        for (const PhysBadBall::Meteor& m : physical->meteors())
            state.insert(state.end(), {m.lifeLeft, m.body->GetPosition().x, m.body->GetLinearVelocity().y});
        return state;
    };
    const std::vector<double> before = snapshot();
    EXPECT_FALSE(ballistic->launch(-5, 20));
    EXPECT_FALSE(physical->launch(-5, 20));
    EXPECT_EQ(snapshot(), before);
}

TEST_F(EnemyTest, PhysicalMeteorStrikesOnlyWhileInTheWorld)
{
    auto* launcher = new PhysBadBall({0, 30, -50}, false, false, 10.0, 0.0, 4.0, 4.0, 1.0);
    ASSERT_EQ(launcher->meteors().size(), 1u);
    const PhysBadBall::Meteor& meteor = launcher->meteors()[0];
    EXPECT_EQ(static_cast<Ogre::Entity*>(meteor.picture.node->getAttachedObject(0))
                  ->getSubEntity(0)
                  ->getMaterialName(),
              "green_meteor_tex");

    for (int i = 0; i < framesFor(0.9f); ++i)
    {
        frame();
        EXPECT_FALSE(meteor.body->IsEnabled());
        const Ogre::Vector3 at = meteor.picture.node->getPosition();
        EXPECT_FALSE(launcher->hitsBox(boxAround(at.x, at.y)));
        EXPECT_FALSE(launcher->hitsBox(boxAround(0, 30)));
    }
    for (int i = 0; i < framesFor(1.2f); ++i)
        frame();
    // In flight for about a second: held up against its weight it drifts almost level.
    EXPECT_TRUE(meteor.body->IsEnabled());
    const b2Vec2 position = meteor.body->GetPosition();
    EXPECT_NEAR(position.x, 10.0f, 1.5f);
    EXPECT_NEAR(position.y, 30.0f, 1.5f);
    const Ogre::Vector3 at = meteor.picture.node->getPosition();
    EXPECT_TRUE(launcher->hitsBox(boxAround(at.x, at.y)));
    EXPECT_TRUE(launcher->hitsSphere(Ogre::Sphere({at.x, at.y, -10}, 1)));
}

TEST_F(EnemyTest, FallingPhysicalMeteorIsPutAwayBelowTheLevelThenRelaunched)
{
    auto* launcher = new PhysBadBall({0, 0, -50}, true, false, 0.0, 0.0, 4.0, 4.0, 0.0);
    const PhysBadBall::Meteor& meteor = launcher->meteors()[0];
    float putAwayAt = 0;
    float relaunchedAt = 0;
    for (int i = 1; i <= framesFor(5.0f); ++i)
    {
        const bool wasActive = meteor.body->IsEnabled();
        frame();
        if (wasActive && !meteor.body->IsEnabled() && putAwayAt == 0)
            putAwayAt = i * frameTime;
        if (!wasActive && meteor.body->IsEnabled() && putAwayAt > 0)
            relaunchedAt = i * frameTime;
    }
    // It falls below -21 within 0.8 s but stays in play for the first quarter of its 4 s life.
    EXPECT_NEAR(putAwayAt, 1.0f, 2.5f * frameTime);
    EXPECT_NEAR(relaunchedAt, 4.0f, 2.5f * frameTime);
}

TEST_F(EnemyTest, DeflectBouncesAFallingMeteorRadiallyAtItsFormerSpeed)
{
    Ogre::SceneNode* boss = theSceneManager->getRootSceneNode()->createChildSceneNode();
    auto* pool = new PhysBadBall({0, 30, 0}, boss, 10.0, 3);
    const Ogre::Sphere head({0, 5, 40}, 18);
    EXPECT_FALSE(pool->deflect(head));
    ASSERT_TRUE(pool->launch(0, 0));
    ASSERT_TRUE(pool->launch(0, 0));
    b2Body* rising = pool->meteors()[0].body;
    b2Body* falling = pool->meteors()[1].body;
    rising->SetTransform({-3, 20}, 0);
    rising->SetLinearVelocity({0, 10});
    falling->SetTransform({3, 20}, 0);
    falling->SetLinearVelocity({0, -2});
    pool->update(frameTime);
    EXPECT_FALSE(pool->deflect(head));

    falling->SetLinearVelocity({0, -10});
    EXPECT_TRUE(pool->deflect(head));
    const b2Vec2 velocity = falling->GetLinearVelocity();
    const Ogre::Vector3 away = Ogre::Vector3(3, 15, 0).normalisedCopy();
    EXPECT_NEAR(velocity.x, 10 * away.x, 1e-4);
    EXPECT_NEAR(velocity.y, 10 * away.y, 1e-4);
    EXPECT_EQ(rising->GetLinearVelocity(), b2Vec2(0, 10));

    // Below the head's centre nothing bounces.
    falling->SetTransform({3, 0}, 0);
    falling->SetLinearVelocity({0, -10});
    pool->update(frameTime);
    EXPECT_FALSE(pool->deflect(head));
}

struct Row
{
    std::vector<Ogre::Vector3> launchers;
    std::vector<double> firstLaunches;
    std::vector<Ogre::Vector3> clouds;
};

Row rowInScene(Ogre::SceneManager& scene)
{
    Row row;
    for (Enemic* enemy : Enemic::instances())
    {
        auto* launcher = dynamic_cast<BadBall*>(enemy);
        if (!launcher)
            continue;
        row.launchers.push_back(launcher->meteors()[0].picture.node->getPosition());
        row.firstLaunches.push_back(launcher->meteors()[0].lifeLeft);
    }
    for (Ogre::Node* child : scene.getRootSceneNode()->getChildren())
    {
        auto* node = static_cast<Ogre::SceneNode*>(child);
        auto* clouds = dynamic_cast<Ogre::BillboardSet*>(node->getAttachedObject(0));
        if (clouds)
            row.clouds.push_back(node->getPosition());
    }
    std::sort(row.launchers.begin(), row.launchers.end(),
              [](const Ogre::Vector3& a, const Ogre::Vector3& b) { return a.x < b.x; });
    std::sort(row.firstLaunches.begin(), row.firstLaunches.end());
    return row;
}

TEST_F(EnemyTest, EmitterRowSpansItsEndsInEitherOrder)
{
    buildMeteorEmitter(40, 10, 5, -3, 2, false, 4, 1.5, 4);
    const Row row = rowInScene(*theSceneManager);
    ASSERT_EQ(row.launchers.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(row.launchers[i], Ogre::Vector3(10 + i * 7.5f, 5, -50));
    // First delays (i mod 3) / 4 x 1.5 for launchers 0..3: 0, 0.375, 0.75, 0.
    const std::vector<double> delays = {0.0, 0.0, 0.375, 0.75};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(row.firstLaunches[i], delays[i], 1e-9);
    ASSERT_EQ(row.clouds.size(), 3u);
    for (int j = 0; j < 3; ++j)
        EXPECT_NE(std::find(row.clouds.begin(), row.clouds.end(), Ogre::Vector3(10 + j * 10.0f, 7, -80)),
                  row.clouds.end());

    // Launcher i adds i mod 4 to the upward launch speed.
    std::vector<std::pair<BadBall*, int>> launchers;
    for (Enemic* enemy : Enemic::instances())
    {
        auto* launcher = static_cast<BadBall*>(enemy);
        launchers.emplace_back(
            launcher, std::lround((launcher->meteors()[0].picture.node->getPosition().x - 10) / 7.5));
    }
    for (int i = 0; i < framesFor(1.0f); ++i)
        frame();
    for (const auto& [launcher, index] : launchers)
    {
        EXPECT_EQ(launcher->meteors()[0].vy, 2.0 + index % 4) << index;
        EXPECT_EQ(launcher->meteors()[0].vx, -3.0) << index;
    }

    Enemic::deleteAll();
    theSceneManager->clearScene();
    buildMeteorEmitter(10, 40, 5, -3, 2, false, 4, 1.5, 4);
    const Row swapped = rowInScene(*theSceneManager);
    EXPECT_EQ(swapped.launchers, row.launchers);
    EXPECT_EQ(swapped.clouds.size(), row.clouds.size());
}

TEST_F(EnemyTest, PoolSizeFollowsLifeOverIntervalAndSurvivesBadData)
{
    EXPECT_EQ(meteor::poolSizeFor(4, 1.5), 3);
    EXPECT_EQ(meteor::poolSizeFor(3, 1.5), 2);
    EXPECT_EQ(meteor::poolSizeFor(0, 1.5), 0);
    EXPECT_EQ(meteor::poolSizeFor(4, 0), 1);
    EXPECT_EQ(meteor::poolSizeFor(4, -1), 1);
    EXPECT_EQ(meteor::poolSizeFor(1e9, 1e-9), meteor::maxPool);
    auto* launcher = new BadBall({0, 0, -50}, false, false, 1, 1, 2, 0, 0);
    EXPECT_EQ(launcher->meteors().size(), 1u);
    frame();
}

} // namespace
