#include <cmath>
#include <memory>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "platform/headless_engine.h"
#include "world/physics.h"

namespace
{

constexpr float frame = 1.0f / 60.0f;

class PhysicsTest : public ::testing::Test
{
  protected:
    std::unique_ptr<b2World> world{physics::createWorld()};

    b2Body* makeBody(b2BodyType type, float x, float y)
    {
        b2BodyDef def;
        def.type = type;
        def.position.Set(x, y);
        return world->CreateBody(&def);
    }
    // A plank like the game's: a dynamic box welded to a static anchor.
    b2Body* makePlank(float x, float y, float halfLength)
    {
        b2Body* anchor = makeBody(b2_staticBody, x, y);
        b2Body* plank = makeBody(b2_dynamicBody, x, y);
        physics::addBox(*plank, halfLength, 1.0f, {1.0f, 9999.0f, 0.0f});
        physics::weldBodies(*world, *anchor, *plank, plank->GetPosition());
        return plank;
    }
    b2Body* makePlayerFeet(float x, float y)
    {
        b2Body* feet = makeBody(b2_dynamicBody, x, y);
        physics::addCircle(*feet, 2.0f, {1.0f, 9999.0f, 0.0f});
        physics::setFilter(*feet, physics::playerFilter());
        return feet;
    }
    void run(float seconds)
    {
        for (int i = 0; i < static_cast<int>(std::lround(seconds / frame)); ++i)
            physics::step(*world, frame);
    }
};

TEST_F(PhysicsTest, WorldFallsAtSeventyAndStepsTheFrameTimeInOneGo)
{
    EXPECT_EQ(world->GetGravity(), b2Vec2(0.0f, -70.0f));
    EXPECT_TRUE(world->GetAllowSleeping());
    b2Body* ball = makeBody(b2_dynamicBody, 0, 100);
    physics::addCircle(*ball, 1.0f, {1.0f, 0.2f, 0.0f});
    physics::step(*world, 0.04f);
    EXPECT_NEAR(ball->GetLinearVelocity().y, -70.0f * 0.04f, 1e-4f);
    EXPECT_NEAR(ball->GetPosition().y, 100.0f - 70.0f * 0.04f * 0.04f, 1e-4f);
}

TEST_F(PhysicsTest, PlayersStandOnPlanksButPassThroughEachOther)
{
    b2Body* plank = makePlank(0, 0, 20);
    b2Body* first = makePlayerFeet(0, 3.5f);
    b2Body* second = makePlayerFeet(0.5f, 3.5f);
    b2Body* meteor = makeBody(b2_dynamicBody, 10, 3.5f);
    physics::addCircle(*meteor, 1.0f, {2.0f, 999.0f, 0.0f});
    run(1.0f);

    EXPECT_NEAR(first->GetPosition().y, 3.0f, 0.05f);
    EXPECT_NEAR(second->GetPosition().y, 3.0f, 0.05f);
    EXPECT_NEAR(second->GetPosition().x - first->GetPosition().x, 0.5f, 0.05f);
    EXPECT_TRUE(physics::touches(*first, *plank));
    EXPECT_FALSE(physics::touches(*first, *second));
    EXPECT_FALSE(physics::touches(*first, *meteor));
    EXPECT_TRUE(physics::touchesAnything(*meteor));
    // The weld holds the plank rigidly in place under its load.
    EXPECT_NEAR(plank->GetPosition().y, 0.0f, 1e-3f);
    EXPECT_NEAR(plank->GetAngle(), 0.0f, 1e-3f);

    // A player rolling into a meteor collides with it.
    first->SetLinearVelocity(b2Vec2(20, 0));
    bool struck = false;
    for (int i = 0; i < 60 && !struck; ++i)
    {
        physics::step(*world, frame);
        struck = physics::touches(*first, *meteor);
    }
    EXPECT_TRUE(struck);
}

TEST_F(PhysicsTest, KnockedOutPlayerFallsThroughAndComesBackWithItsFilter)
{
    makePlank(0, 0, 20);
    b2Body* feet = makePlayerFeet(0, 3.5f);
    run(0.5f);
    physics::setFilter(*feet, physics::knockedOutFilter());
    run(0.5f);
    EXPECT_LT(feet->GetPosition().y, -2.0f);
    EXPECT_FALSE(physics::touchesAnything(*feet));

    physics::setFilter(*feet, physics::playerFilter());
    feet->SetTransform(b2Vec2(0, 3.5f), 0);
    feet->SetLinearVelocity(b2Vec2(0, 0));
    run(0.5f);
    EXPECT_NEAR(feet->GetPosition().y, 3.0f, 0.05f);
    const b2Filter filter = feet->GetFixtureList()->GetFilterData();
    EXPECT_EQ(filter.categoryBits, 0x0001);
    EXPECT_EQ(filter.maskBits, 0x00FF);
    EXPECT_EQ(filter.groupIndex, -2);
}

TEST_F(PhysicsTest, InactiveBodyTakesNoPart)
{
    b2Body* ball = makeBody(b2_dynamicBody, 0, 10);
    physics::addCircle(*ball, 1.0f, {2.0f, 999.0f, 0.9f});
    physics::setActive(*ball, false);
    run(0.5f);
    EXPECT_FALSE(physics::isActive(*ball));
    EXPECT_EQ(ball->GetPosition().y, 10.0f);
    physics::setActive(*ball, true);
    // A floating meteor's lift nearly cancels its weight of 2 x pi x 70.
    for (int i = 0; i < 30; ++i)
    {
        physics::applyForce(*ball, b2Vec2(0, 450), ball->GetPosition());
        physics::step(*world, frame);
    }
    EXPECT_GT(ball->GetPosition().y, 10.0f);
    EXPECT_LT(ball->GetPosition().y, 10.3f);
}

TEST(PhysicsNodeTest, NodeFollowsItsBodyWithOffsetDepthAndRoll)
{
    platform::HeadlessEngine engine;
    Ogre::SceneNode* node = engine.sceneManager().getRootSceneNode()->createChildSceneNode();
    std::unique_ptr<b2World> world(physics::createWorld());
    b2BodyDef def;
    def.position.Set(3, 4);
    def.angle = physics::degreesToRadians(30);
    b2Body* body = world->CreateBody(&def);

    physics::followWithRoll(*node, *body, 0, 1.5f, -20);
    EXPECT_TRUE(node->getPosition().positionEquals(Ogre::Vector3(3, 5.5f, -20)));
    EXPECT_NEAR(node->getOrientation().getRoll().valueDegrees(), 30.0f, 1e-3f);
    // follow() leaves the orientation alone.
    body->SetTransform(b2Vec2(-1, 0), 0);
    physics::follow(*node, *body, 2, 0, 7);
    EXPECT_TRUE(node->getPosition().positionEquals(Ogre::Vector3(1, 0, 7)));
    EXPECT_NEAR(node->getOrientation().getRoll().valueDegrees(), 30.0f, 1e-3f);
}

} // namespace
