#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "level_objects_fixture.h"
#include "world/rotating_platform.h"
#include "world/sliding_platform.h"
#include "world/static_platform.h"

namespace
{

std::string meshOf(const Platform& platform)
{
    return platform.entity()->getMesh()->getName();
}

// The children of a plank's node that carry an object of the given type (the axle's "Entity", the
// burst's "ParticleSystem").
template <typename T> std::vector<std::pair<Ogre::SceneNode*, T*>> childrenCarrying(const Platform& platform)
{
    std::vector<std::pair<Ogre::SceneNode*, T*>> found;
    for (Ogre::Node* child : platform.node()->getChildren())
    {
        auto* node = static_cast<Ogre::SceneNode*>(child);
        if (node->numAttachedObjects() == 1)
            if (auto* object = dynamic_cast<T*>(node->getAttachedObject(0)))
                found.emplace_back(node, object);
    }
    return found;
}

std::string materialOf(const Platform& platform)
{
    return platform.entity()->getSubEntity(0)->getMaterialName();
}

Ogre::Vector3 worldPositionOf(Ogre::SceneNode* node)
{
    node->getCreator()->getRootSceneNode()->_update(true, false);
    return node->_getDerivedPosition();
}

using PlatformTest = LevelObjectsTest;

TEST_F(PlatformTest, PlankPictureAndBodyFollowKindAndLength)
{
    const std::pair<int, const char*> logs[] = {{24, "tronc_20.mesh"}, {25, "tronc_30.mesh"},
                                                {34, "tronc_30.mesh"}, {35, "tronc_40.mesh"},
                                                {44, "tronc_40.mesh"}, {45, "tronc_50.mesh"}};
    for (const auto& [length, mesh] : logs)
    {
        auto* log = new StaticPlatform(0, 0, 0, length, Platform::kindLog, 0.0);
        EXPECT_EQ(meshOf(*log), mesh) << length;
        // Scaled to be drawn length units long whatever the mesh's own length.
        EXPECT_NEAR(log->entity()->getBoundingBox().getSize().x * log->node()->getScale().x, length, 1e-3);
    }

    auto* ground = new StaticPlatform(0, 0, 0, 30, Platform::kindGround, 0.0);
    EXPECT_EQ(meshOf(*ground), "terra.mesh");
    EXPECT_NEAR(ground->entity()->getBoundingBox().getSize().x * ground->node()->getScale().x, 30.0f, 1e-3);
    auto* box = new StaticPlatform(5, 7, 3, 20, Platform::kindBox, 30.0);
    EXPECT_EQ(meshOf(*box), "box.mesh");
    EXPECT_EQ(box->node()->getScale(), Ogre::Vector3(2.0f, 0.15f, 0.5f));
    EXPECT_EQ(box->node()->getPosition(), Ogre::Vector3(5, 7, 3));
    EXPECT_NEAR(box->node()->getOrientation().getRoll().valueDegrees(), 30.0f, 1e-3);

    EXPECT_NEAR(box->plankBody()->GetAngle(), 30.0f * Ogre::Math::fDeg2Rad, 1e-5);
}

TEST_F(PlatformTest, ALengthBox2DCannotBuildIsRejectedBeforeAnythingIsMade)
{
    const int bodies = world->GetBodyCount();
    EXPECT_THROW(new StaticPlatform(0, 0, 0, 0, Platform::kindBox, 0.0), const char*);
    EXPECT_THROW(new RotatingPlatform(0, 0, 0, -4, Platform::kindLog, false, 1), const char*);
    EXPECT_TRUE(Platform::instances().empty());
    EXPECT_EQ(world->GetBodyCount(), bodies);
}

TEST_F(PlatformTest, StaticPlankCarriesAPlayerWithoutMoving)
{
    auto* platform = new StaticPlatform(10, 0, 0, 20, Platform::kindGround, 0.0);
    b2Body* feet = makeFeet(12, 6);
    for (int i = 0; i < framesFor(2.0f); ++i)
        frame(feet);
    EXPECT_NEAR(platform->plankBody()->GetPosition().x, 10.0f, 1e-3);
    EXPECT_NEAR(platform->plankBody()->GetPosition().y, 0.0f, 1e-3);
    EXPECT_NEAR(feet->GetPosition().y, 3.0f, 0.05f);
    EXPECT_TRUE(platform->checkContact(feet, 1));
}

TEST_F(PlatformTest, InvertedTiltSteersTheOtherWayAtABoundedRate)
{
    auto* platform = new RotatingPlatform(0, 20, 0, 20, Platform::kindBox, true, 0);
    const float maxRate = 5.0f * 7.0f / 20.0f;
    float fastest = 0;
    for (int i = 0; i < framesFor(3.0f); ++i)
    {
        platform->update(35.0f, 1, frameTime);
        physics::step(*world, frameTime);
        fastest = std::max(fastest, std::fabs(platform->plankBody()->GetAngularVelocity()));
        EXPECT_GT(platform->plankBody()->GetAngle() * Ogre::Math::fRad2Deg, -35.5f);
    }
    EXPECT_LE(fastest, maxRate + 1e-3f);
    EXPECT_GT(fastest, maxRate * 0.99f);
    EXPECT_NEAR(platform->plankBody()->GetAngle() * Ogre::Math::fRad2Deg, -35.0f, 0.5f);
    EXPECT_NEAR(platform->node()->getOrientation().getRoll().valueDegrees(), -35.0f, 0.5f);
    // Turning about the axle at the plank's centre: the centre stays put.
    EXPECT_NEAR(platform->plankBody()->GetPosition().x, 0.0f, 1e-3);
    EXPECT_NEAR(platform->plankBody()->GetPosition().y, 20.0f, 1e-3);
}

TEST_F(PlatformTest, AxleIsDrawnWhereThePlankTurns)
{
    // A box 20 long is drawn at twice its mesh's size; a log 35 long at 35/40 of tronc_40's.
    auto* left = new RotatingPlatform(50, 10, 0, 20, Platform::kindBox, false, 1);
    auto* right = new RotatingPlatform(-50, 10, 0, 35, Platform::kindLog, false, 2);
    EXPECT_NEAR(left->plankBody()->GetPosition().x, 45.0f, 1e-4);
    EXPECT_NEAR(right->plankBody()->GetPosition().x, -42.0f, 1e-4);
    for (int i = 0; i < framesFor(2.0f); ++i)
    {
        left->update(30.0f, 1, frameTime);
        right->update(-20.0f, 2, frameTime);
        physics::step(*world, frameTime);
    }
    left->update(30.0f, 1, frameTime);
    right->update(-20.0f, 2, frameTime);
    const float angle = left->plankBody()->GetAngle();
    EXPECT_NEAR(angle * Ogre::Math::fRad2Deg, 30.0f, 0.5f);
    EXPECT_NEAR(left->plankBody()->GetPosition().x, 50.0f - 5.0f * std::cos(angle), 1e-2);
    EXPECT_NEAR(left->plankBody()->GetPosition().y, 10.0f - 5.0f * std::sin(angle), 1e-2);

    for (Platform* platform : {static_cast<Platform*>(left), static_cast<Platform*>(right)})
    {
        const auto axles = childrenCarrying<Ogre::Entity>(*platform);
        ASSERT_EQ(axles.size(), 1u);
        Ogre::SceneNode* axle = axles[0].first;
        const Ogre::Vector3 where = worldPositionOf(axle);
        const float axleX = platform == left ? 50.0f : -50.0f;
        EXPECT_NEAR(where.x, axleX, 1e-3);
        EXPECT_NEAR(where.y, 10.0f, 1e-3);
        EXPECT_NEAR(where.z, -10.0f, 1e-3);
        EXPECT_EQ(axle->_getDerivedScale(), Ogre::Vector3::UNIT_SCALE);
        EXPECT_EQ(axles[0].second->getMesh()->getName(), "eix.mesh");
    }
}

TEST_F(PlatformTest, FirstPlayerToLandHoldsALogUntilHalfASecondAfterLeaving)
{
    auto* log = new RotatingPlatform(0, 0, 0, 30, Platform::kindLog, false, 0);
    EXPECT_EQ(materialOf(*log), "tronc0");
    b2Body* first = makeFeet(-5, 4);
    b2Body* second = makeFeet(5, 12);

    int frames = 0;
    while (!log->checkContact(first, 1) && frames++ < 60)
        frame(first, 0, second, 0);
    frame(first, 0, second, 0);
    EXPECT_EQ(materialOf(*log), "tronc1");
    EXPECT_EQ(log->colourOwner, 1);

    for (int i = 0; i < framesFor(1.0f); ++i)
        frame(first, 0, second, 0);
    ASSERT_TRUE(physics::touches(*log->plankBody(), *second));
    EXPECT_FALSE(log->checkContact(second, 2));
    EXPECT_EQ(log->colourOwner, 1);

    // The first player steps off: it keeps the log for its grace time, then the second one takes it.
    first->SetTransform(b2Vec2(0, 200), 0);
    first->SetEnabled(false);
    int heldFrames = 0;
    while (!log->checkContact(second, 2) && heldFrames < 120)
    {
        EXPECT_TRUE(log->checkContact(first, 1));
        frame(first, 0, second, 0);
        ++heldFrames;
    }
    EXPECT_GE(heldFrames * frameTime, 0.5f);
    EXPECT_LE(heldFrames * frameTime, 0.55f);
    frame(first, 0, second, 0);
    EXPECT_EQ(materialOf(*log), "tronc2");
    EXPECT_EQ(log->colourOwner, 2);
}

TEST_F(PlatformTest, LandingSetsOffABurstInTheLandingPlayersColours)
{
    auto* log = new RotatingPlatform(0, 0, 0, 40, Platform::kindLog, false, 0);
    std::vector<Ogre::ParticleSystem*> systems;
    for (const auto& [node, system] : childrenCarrying<Ogre::ParticleSystem>(*log))
        systems.push_back(system);
    ASSERT_EQ(systems.size(), 4u);
    for (Ogre::ParticleSystem* system : systems)
        EXPECT_FALSE(system->getEmitting());

    b2Body* feet = makeFeet(0, 3.2f);
    for (int i = 0; i < 30 && !systems[0]->getEmitting(); ++i)
        frame(nullptr, 0, feet, 0);
    const char* expected[4] = {"platf_particle2b", "platf_particle2b", "platf_particle1b",
                               "platf_particle1b"};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_TRUE(systems[i]->getEmitting()) << i;
        EXPECT_EQ(systems[i]->getMaterialName(), expected[i]) << i;
    }
    for (int i = 0; i < framesFor(0.25f); ++i)
        frame(nullptr, 0, feet, 0);
    for (Ogre::ParticleSystem* system : systems)
        EXPECT_FALSE(system->getEmitting());
}

} // namespace
