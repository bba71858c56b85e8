#include <algorithm>
#include <string>
#include <vector>

#include "level_objects_fixture.h"
#include "world/sliding_platform.h"

namespace
{

// Where the anchor (the rail point the plank rides on) was, and how fast it went, frame by frame.
struct Track
{
    std::vector<b2Vec2> positions;
    std::vector<b2Vec2> velocities;
    std::vector<float> speeds;
};

class SlidingPlatformTest : public LevelObjectsTest
{
  protected:
    // A plain box slider that nobody tilts, at the origin.
    SlidingPlatform* makeShuttle(const std::string& rail, double speed, bool circular = false)
    {
        return new SlidingPlatform(0, 0, 0, 10, Platform::kindBox, false, rail, false, false, circular, false,
                                   0, speed, 0.0);
    }

    Track ride(SlidingPlatform* platform, float seconds, int player = 0, float tilt = 0.0f)
    {
        Track track;
        for (int i = 0; i < framesFor(seconds); ++i)
        {
            platform->update(tilt, player, frameTime);
            physics::step(*world, frameTime);
            track.positions.push_back(platform->anchorBody()->GetPosition());
            track.velocities.push_back(platform->anchorBody()->GetLinearVelocity());
            track.speeds.push_back(track.velocities.back().Length());
        }
        return track;
    }
};

TEST_F(SlidingPlatformTest, StraightRunKeepsFullSpeedAcrossTheJoint)
{
    const Track track = ride(makeShuttle("44", 5.0), 6.0f);
    float slowestAtJoint = 5.0f;
    float furthest = 0.0f;
    for (size_t i = 0; i < track.positions.size(); ++i)
    {
        furthest = std::max(furthest, track.positions[i].x);
        EXPECT_NEAR(track.positions[i].y, 0.0f, 1e-4);
        if (std::fabs(track.positions[i].x - 10.0f) < 1.0f)
            slowestAtJoint = std::min(slowestAtJoint, track.speeds[i]);
    }
    EXPECT_NEAR(slowestAtJoint, 5.0f, 1e-3);
    // Within one frame's travel: the anchor is put back on the rail point at each segment's end.
    EXPECT_NEAR(furthest, 20.0f, 5.0f * frameTime);
}

TEST_F(SlidingPlatformTest, CornerSlowsToATenthAndTheRailEndSendsItBack)
{
    const Track track = ride(makeShuttle("46", 5.0), 12.0f);
    float slowestAtJoint = 5.0f;
    float furthest = 0.0f;
    size_t cornerFrame = 0;
    for (size_t i = 0; i < track.positions.size(); ++i)
    {
        if (track.positions[i].x > furthest)
        {
            furthest = track.positions[i].x;
            cornerFrame = i;
        }
        if (std::fabs(track.positions[i].x - 10.0f) < 0.5f)
            slowestAtJoint = std::min(slowestAtJoint, track.speeds[i]);
    }
    EXPECT_NEAR(furthest, 10.0f, 0.05f);
    EXPECT_NEAR(slowestAtJoint, 0.5f, 0.05f);
    // After the corner it comes back along "6" to the start, then turns out along it again.
    float nearestAfter = 10.0f;
    size_t backFrame = cornerFrame;
    for (size_t i = cornerFrame; i < track.positions.size(); ++i)
        if (track.positions[i].x < nearestAfter)
        {
            nearestAfter = track.positions[i].x;
            backFrame = i;
        }
    EXPECT_NEAR(nearestAfter, 0.0f, 0.05f);
    ASSERT_LT(backFrame + 60, track.positions.size());
    EXPECT_GT(track.positions[backFrame + 60].x, 0.5f);
}

TEST_F(SlidingPlatformTest, OneSegmentShuttlesOverTenUnitsSlowingAtBothEnds)
{
    SlidingPlatform* platform = makeShuttle("8", 4.0);
    const Track track = ride(platform, 20.0f);
    int turns = 0;
    for (size_t i = 1; i + 1 < track.positions.size(); ++i)
    {
        const float y = track.positions[i].y;
        EXPECT_GE(y, -0.05f);
        EXPECT_LE(y, 10.05f);
        EXPECT_NEAR(track.positions[i].x, 0.0f, 1e-4);
        // Eased into and out of both ends.
        EXPECT_TRUE((y > 0.3f && y < 9.7f) || track.speeds[i] < 4.0f * 0.45f) << y;
        if ((track.positions[i].y - track.positions[i - 1].y) * (track.positions[i + 1].y - y) < 0)
            ++turns;
    }
    EXPECT_GE(turns, 3);
    // The plank rides along with its anchor.
    EXPECT_NEAR(platform->plankBody()->GetPosition().y, track.positions.back().y, 0.1f);
}

TEST_F(SlidingPlatformTest, CircularRailLoopsWithoutTurning)
{
    // Up, +x, down, -x: a closed square, travelled the same way round for ever.
    const Track track = ride(makeShuttle("8426", 10.0, true), 20.0f);
    int laps = 0;
    bool inStartCorner = true;
    for (size_t i = 0; i < track.positions.size(); ++i)
    {
        const b2Vec2& at = track.positions[i];
        const b2Vec2& velocity = track.velocities[i];
        // Each side of the square is travelled one way only.
        EXPECT_TRUE(at.x >= 0.5f || velocity.y >= -1e-3f) << i;
        EXPECT_TRUE(at.y <= 9.5f || velocity.x >= -1e-3f) << i;
        EXPECT_TRUE(at.x <= 9.5f || velocity.y <= 1e-3f) << i;
        EXPECT_TRUE(at.y >= 0.5f || velocity.x <= 1e-3f) << i;
        const bool corner = at.Length() < 0.5f;
        laps += corner && !inStartCorner;
        inStartCorner = corner;
    }
    EXPECT_GE(laps, 2);
}

TEST_F(SlidingPlatformTest, TiltDrivenSliderParksAtTheEndAndDriftsBackWhenLeft)
{
    // Tilted by its holder towards -x on screen (plank roll negative): it slides forward along the rail.
    auto* platform = new SlidingPlatform(0, 0, 0, 10, Platform::kindLog, true, "44", false, true, false,
                                         false, 0, 10.0, 0.0);
    const Track held = ride(platform, 8.0f, 1, -35.0f);
    EXPECT_NEAR(held.positions.back().x, 20.0f, 0.2f);
    EXPECT_LT(held.speeds.back(), 0.1f);
    EXPECT_EQ(platform->colourOwner, 1);

    const Track waiting = ride(platform, 1.45f);
    for (const b2Vec2& position : waiting.positions)
        EXPECT_NEAR(position.x, 20.0f, 0.2f);
    EXPECT_EQ(platform->colourOwner, 0);

    const Track drifting = ride(platform, 6.0f);
    const float driftSpeed = *std::max_element(drifting.speeds.begin(), drifting.speeds.end());
    EXPECT_NEAR(driftSpeed, 7.0f, 0.01f);
    for (const b2Vec2& position : drifting.positions)
        EXPECT_GT(position.x, -0.2f);
    EXPECT_NEAR(drifting.positions.back().x, 0.0f, 0.2f);
    EXPECT_LT(drifting.speeds.back(), 0.01f);
}

TEST_F(SlidingPlatformTest, RailSceneryMarksSegmentsAndChangesOfDirection)
{
    Ogre::SceneNode* root = theSceneManager->getRootSceneNode();
    const size_t before = root->numChildren();
    makeShuttle("4482", 1.0);
    // The plank, four rails, and end pieces at the start, after "44", after "8" and at the end.
    size_t rails = 0;
    size_t ends = 0;
    std::vector<Ogre::Vector3> endPositions;
    for (size_t i = before; i < root->numChildren(); ++i)
    {
        auto* node = static_cast<Ogre::SceneNode*>(root->getChild(i));
        const std::string mesh = static_cast<Ogre::Entity*>(node->getAttachedObject(0))->getMesh()->getName();
        if (mesh == "rail.mesh")
        {
            // Centred on its segment, behind the plank, lying along the segment's direction.
            const Ogre::Vector3 centres[4] = {{5, 0, 15}, {15, 0, 15}, {20, 5, 15}, {20, 5, 15}};
            EXPECT_TRUE(node->getPosition().positionEquals(centres[rails], 1e-3f)) << node->getPosition();
            const Ogre::Vector3 along = node->getOrientation() * Ogre::Vector3::UNIT_X;
            EXPECT_NEAR(
                std::fabs(along.dotProduct(rails < 2 ? Ogre::Vector3::UNIT_X : Ogre::Vector3::UNIT_Y)), 1.0f,
                1e-4);
            ++rails;
        }
        if (mesh == "extrem.mesh")
        {
            ++ends;
            endPositions.push_back(node->getPosition());
        }
    }
    EXPECT_EQ(rails, 4u);
    ASSERT_EQ(ends, 4u);
    const Ogre::Vector3 expected[4] = {{0, 0, 10}, {20, 0, 10}, {20, 10, 10}, {20, 0, 10}};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(endPositions[i].positionEquals(expected[i], 1e-3f)) << endPositions[i];
}

TEST_F(SlidingPlatformTest, EmptyRailStaysPut)
{
    SlidingPlatform* platform = makeShuttle("", 5.0);
    const Track track = ride(platform, 1.0f, 1, 20.0f);
    EXPECT_EQ(track.positions.back(), b2Vec2(0, 0));
}

} // namespace
