#include <algorithm>
#include <vector>

#include "level_objects_fixture.h"
#include "world/bad_ball.h"
#include "world/phys_bad_ball.h"

namespace
{

Ogre::AxisAlignedBox boxAround(float x, float y, float halfSize = 1.0f)
{
    // A player's box stands at its own depth; the strike test ignores it.
    return Ogre::AxisAlignedBox(x - halfSize, y - halfSize, -30, x + halfSize, y + halfSize, -20);
}

bool shown(const BadBall::Meteor& meteor)
{
    return meteor.picture.node->getAttachedObject(0)->isVisible();
}

// The halo billboard hanging somewhere below a meteor's node; null when there is none.
const Ogre::BillboardSet* haloOf(const Ogre::SceneNode& node)
{
    for (const Ogre::Node* child : node.getChildren())
    {
        const auto& scene = static_cast<const Ogre::SceneNode&>(*child);
        for (const Ogre::MovableObject* object : scene.getAttachedObjects())
            if (const auto* halo = dynamic_cast<const Ogre::BillboardSet*>(object))
                return halo;
        if (const Ogre::BillboardSet* deeper = haloOf(scene))
            return deeper;
    }
    return nullptr;
}

using EnemyTest = LevelObjectsTest;

// A player tells the two kinds apart by colour, and a meteor waiting unseen shows no halo either.
TEST_F(EnemyTest, EachKindOfMeteorGlowsInItsOwnColourOnlyWhileItFlies)
{
    auto* ballistic = new BadBall({0, 50, -50}, false, false, 2.0, 1.0, 1.0, 1.0, 0.5);
    auto* physical = new PhysBadBall({20, 50, -50}, false, false, 2.0, 1.0, 1.0, 1.0, 0.5);
    Ogre::SceneNode& molten = *ballistic->meteors()[0].picture.node;
    Ogre::SceneNode& green = *physical->meteors()[0].picture.node;
    ASSERT_TRUE(haloOf(molten) && haloOf(green));
    EXPECT_EQ(haloOf(molten)->getMaterialName(), "meteor_glow");
    EXPECT_EQ(haloOf(green)->getMaterialName(), "green_meteor_glow");
    EXPECT_EQ(
        static_cast<const Ogre::Entity*>(green.getAttachedObject(0))->getSubEntity(0)->getMaterialName(),
        "green_meteor_tex");
    EXPECT_FALSE(haloOf(molten)->isVisible());
    EXPECT_FALSE(haloOf(green)->isVisible());
    for (int i = 0; i < framesFor(0.6f); ++i)
        frame();
    EXPECT_TRUE(haloOf(molten)->isVisible());
    EXPECT_TRUE(haloOf(green)->isVisible());
    // Well wider than the meteor (2 across), whatever the scale of the meteor's node.
    const Ogre::BillboardSet& halo = *haloOf(molten);
    theSceneManager->getRootSceneNode()->_update(true, false);
    EXPECT_GT(halo.getDefaultWidth() * halo.getParentSceneNode()->_getDerivedScale().x, 4.0f);
}

TEST_F(EnemyTest, LevelLauncherSpreadsItsPoolOverOneLifeAndRelaunchesForEver)
{
    auto* launcher = new BadBall({0, 50, -50}, false, false, 2.0, 1.0, 4.0, 1.5, 0.5);
    ASSERT_EQ(launcher->meteors().size(), 3u);
    EXPECT_FALSE(shown(launcher->meteors()[0]));
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
                // Launched from the launch point in the plane of play, and shown only from then on.
                EXPECT_EQ(meteor.picture.node->getPosition(), Ogre::Vector3(0, 50, 0));
                EXPECT_TRUE(shown(meteor));
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
    for (int i = 0; i < framesFor(0.9f); ++i)
    {
        frame();
        EXPECT_FALSE(meteor.body->IsEnabled());
        EXPECT_FALSE(launcher->hitsBox(boxAround(0, 30)));
    }
    for (int i = 0; i < framesFor(1.2f); ++i)
        frame();
    // In flight for about a second: held up against its weight it drifts almost level.
    EXPECT_TRUE(meteor.body->IsEnabled());
    EXPECT_NEAR(meteor.body->GetPosition().x, 10.0f, 1.5f);
    EXPECT_NEAR(meteor.body->GetPosition().y, 30.0f, 1.5f);
    const Ogre::Vector3 at = meteor.picture.node->getPosition();
    EXPECT_TRUE(launcher->hitsBox(boxAround(at.x, at.y)));
    EXPECT_TRUE(launcher->hitsSphere(Ogre::Sphere({at.x, at.y, -10}, 1)));
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

// Bad level data must neither divide by zero nor ask for an absurd pool.
TEST_F(EnemyTest, PoolSizeFollowsLifeOverIntervalAndSurvivesBadData)
{
    EXPECT_EQ(meteor::poolSizeFor(4, 1.5), 3);
    EXPECT_EQ(meteor::poolSizeFor(0, 1.5), 0);
    EXPECT_EQ(meteor::poolSizeFor(4, 0), 1);
    EXPECT_EQ(meteor::poolSizeFor(4, -1), 1);
    EXPECT_EQ(meteor::poolSizeFor(1e9, 1e-9), meteor::maxPool);
    auto* launcher = new BadBall({0, 0, -50}, false, false, 1, 1, 2, 0, 0);
    EXPECT_EQ(launcher->meteors().size(), 1u);
    frame();
}

} // namespace
