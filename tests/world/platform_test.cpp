#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "level_objects_fixture.h"
#include "world/rotating_platform.h"
#include "world/static_platform.h"

namespace
{

// The children of a plank's node that carry an entity: its axle.
std::vector<Ogre::SceneNode*> axlesOf(const Platform& platform)
{
    std::vector<Ogre::SceneNode*> found;
    for (Ogre::Node* child : platform.node()->getChildren())
        if (auto* node = static_cast<Ogre::SceneNode*>(child); node->numAttachedObjects() == 1)
            if (dynamic_cast<Ogre::Entity*>(node->getAttachedObject(0)))
                found.push_back(node);
    return found;
}

std::string materialOf(const Platform& platform)
{
    return platform.entity()->getSubEntity(0)->getMaterialName();
}

using PlatformTest = LevelObjectsTest;

TEST_F(PlatformTest, PlankPictureAndBodyFollowKindLengthAndAngle)
{
    const std::pair<int, const char*> logs[] = {{24, "tronc_20.mesh"}, {25, "tronc_30.mesh"},
                                                {34, "tronc_30.mesh"}, {35, "tronc_40.mesh"},
                                                {44, "tronc_40.mesh"}, {45, "tronc_50.mesh"}};
    for (const auto& [length, mesh] : logs)
    {
        auto* log = new StaticPlatform(0, 0, 0, length, PlankKind::log, 0.0);
        EXPECT_EQ(log->entity()->getMesh()->getName(), mesh) << length;
        // Scaled to be drawn length units long whatever the mesh's own length.
        EXPECT_NEAR(log->entity()->getBoundingBox().getSize().x * log->node()->getScale().x, length, 1e-3);
    }
    auto* box = new StaticPlatform(5, 7, 3, 20, PlankKind::box, 30.0);
    EXPECT_NEAR(box->node()->getOrientation().getRoll().valueDegrees(), 30.0f, 1e-3);
    EXPECT_NEAR(box->plankBody()->GetAngle(), 30.0f * Ogre::Math::fDeg2Rad, 1e-5);
}

TEST_F(PlatformTest, InvertedTiltSteersTheOtherWayAtABoundedRate)
{
    auto* platform = new RotatingPlatform(0, 20, 0, 20, PlankKind::box, true, AxleSide::centre);
    // Five times the rotation gain, 7 over the length.
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
}

// The axle's node is a child of the scaled plank node: its position must not be scaled with the plank.
TEST_F(PlatformTest, AxleIsDrawnWhereThePlankTurns)
{
    // A box 20 long is drawn at twice its mesh's size; a log 35 long at 35/40 of tronc_40's.
    auto* left = new RotatingPlatform(50, 10, 0, 20, PlankKind::box, false, AxleSide::left);
    auto* right = new RotatingPlatform(-50, 10, 0, 35, PlankKind::log, false, AxleSide::right);
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

    theSceneManager->getRootSceneNode()->_update(true, false);
    for (const auto& [platform, axleX] : {std::make_pair(left, 50.0f), std::make_pair(right, -50.0f)})
    {
        const auto axles = axlesOf(*platform);
        ASSERT_EQ(axles.size(), 1u);
        EXPECT_TRUE(axles[0]->_getDerivedPosition().positionEquals({axleX, 10, -10}, 1e-3f))
            << axles[0]->_getDerivedPosition();
        EXPECT_EQ(axles[0]->_getDerivedScale(), Ogre::Vector3::UNIT_SCALE);
    }
}

// The frame tells its caller once each time a player takes the log (the game rumbles that player's remote).
TEST_F(PlatformTest, FirstPlayerToLandHoldsALogUntilHalfASecondAfterLeaving)
{
    auto* log = new RotatingPlatform(0, 0, 0, 30, PlankKind::log, false, AxleSide::centre);
    b2Body* first = makeFeet(-5, 4);
    b2Body* second = makeFeet(5, 12);
    int taken[2] = {0, 0};
    const auto play = [&]
    {
        const PlayFrameOutcome outcome = frame(first, 0, second, 0);
        taken[0] += outcome.tookLog[0];
        taken[1] += outcome.tookLog[1];
    };

    int frames = 0;
    while (!log->checkContact(first, 1) && frames++ < 60)
        play();
    play();
    EXPECT_EQ(materialOf(*log), "tronc1");

    for (int i = 0; i < framesFor(1.0f); ++i)
        play();
    ASSERT_TRUE(physics::touches(*log->plankBody(), *second));
    EXPECT_FALSE(log->checkContact(second, 2));
    EXPECT_EQ(log->colourOwner, 1);
    EXPECT_EQ(taken[0], 1);
    EXPECT_EQ(taken[1], 0);

    // The first player steps off: it keeps the log for its grace time, then the second one takes it.
    first->SetTransform(b2Vec2(0, 200), 0);
    first->SetEnabled(false);
    int heldFrames = 0;
    while (!log->checkContact(second, 2) && heldFrames < 120)
    {
        EXPECT_TRUE(log->checkContact(first, 1));
        play();
        ++heldFrames;
    }
    EXPECT_GE(heldFrames * frameTime, 0.5f);
    EXPECT_LE(heldFrames * frameTime, 0.55f);
    play();
    EXPECT_EQ(materialOf(*log), "tronc2");
    EXPECT_EQ(taken[0], 1);
    EXPECT_EQ(taken[1], 1);
}

} // namespace
