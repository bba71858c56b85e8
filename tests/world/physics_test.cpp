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
};

// Box2D 2.4 leaves a dynamic body without density massless and so motionless; the player's torso is one.
TEST_F(PhysicsTest, ADynamicBodyWithoutDensityStillFallsWithUnitMass)
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

} // namespace
