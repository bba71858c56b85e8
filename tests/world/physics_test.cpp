#include <cmath>
#include <memory>

#include <gtest/gtest.h>

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

TEST_F(PhysicsTest, ADynamicBodyWithoutDensityStillMovesWithUnitMass)
{
    b2Body* torso = makeBody(b2_dynamicBody, 0, 10);
    physics::addBox(*torso, 1.5f, 3.0f, {0.0f, 0.0f, 1.0f});
    EXPECT_EQ(torso->GetMass(), 1.0f);
    b2Body* feet = makeBody(b2_dynamicBody, 0, 8);
    physics::addCircle(*feet, 2.0f, {1.0f, 9999.0f, 0.0f});
    physics::pinBodies(*world, *feet, *torso, feet->GetPosition());
    physics::step(*world, frame);
    EXPECT_NEAR(torso->GetLinearVelocity().y, -70.0f * frame, 1e-3f);
    EXPECT_NEAR(feet->GetLinearVelocity().y, -70.0f * frame, 1e-3f);
}

TEST_F(PhysicsTest, ContactsAreTheTouchingOnesLeftByTheLastStep)
{
    b2Body* ground = makeBody(b2_staticBody, 0, 0);
    physics::addBox(*ground, 10.0f, 1.0f, {});
    b2Body* resting = makeBody(b2_dynamicBody, 0, 2.5f);
    physics::addCircle(*resting, 1.5f, {1.0f, 0.2f, 0.0f});
    // Its bounding box overlaps the ground's, so Box2D keeps a contact that is not touching.
    b2Body* hovering = makeBody(b2_dynamicBody, 8, 2.1f);
    physics::addCircle(*hovering, 1.0f, {1.0f, 0.2f, 0.0f});
    physics::step(*world, frame);
    EXPECT_TRUE(physics::touches(*resting, *ground));
    EXPECT_TRUE(physics::touches(*ground, *resting));
    EXPECT_FALSE(physics::touches(*resting, *hovering));
    EXPECT_FALSE(physics::touchesAnything(*hovering));
    EXPECT_NE(hovering->GetContactList(), nullptr);
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

} // namespace
