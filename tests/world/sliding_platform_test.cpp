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
    std::vector<float> speeds;
};

class SlidingPlatformTest : public LevelObjectsTest
{
  protected:
    // A plain box slider that nobody tilts, at the origin.
    SlidingPlatform* makeShuttle(const std::string& rail, double speed, bool circular = false)
    {
        return new SlidingPlatform(0, 0, 0, 10, PlankKind::box, false, rail, false, false, circular, false,
                                   AxleSide::centre, speed, 0.0);
    }

    Track ride(SlidingPlatform* platform, float seconds, int player = 0, float tilt = 0.0f)
    {
        Track track;
        for (int i = 0; i < framesFor(seconds); ++i)
        {
            platform->update(tilt, player, frameTime);
            physics::step(*world, frameTime);
            track.positions.push_back(platform->anchorBody()->GetPosition());
            track.speeds.push_back(platform->anchorBody()->GetLinearVelocity().Length());
        }
        return track;
    }

    // The slowest speed within reach of x, and how far along x the anchor went.
    static std::pair<float, float> slowestNearAndFurthest(const Track& track, float x, float reach)
    {
        float slowest = 1e9f;
        float furthest = 0.0f;
        for (size_t i = 0; i < track.positions.size(); ++i)
        {
            furthest = std::max(furthest, track.positions[i].x);
            if (std::fabs(track.positions[i].x - x) < reach)
                slowest = std::min(slowest, track.speeds[i]);
        }
        return {slowest, furthest};
    }
};

TEST_F(SlidingPlatformTest, StraightRunKeepsFullSpeedAndACornerSlowsToATenthThenTurnsBack)
{
    const Track straight = ride(makeShuttle("44", 5.0), 6.0f);
    const auto [straightSlowest, straightFurthest] = slowestNearAndFurthest(straight, 10.0f, 1.0f);
    EXPECT_NEAR(straightSlowest, 5.0f, 1e-3);
    // Within one frame's travel: the anchor is put back on the rail point at each segment's end.
    EXPECT_NEAR(straightFurthest, 20.0f, 5.0f * frameTime);

    // "4" then "6": the joint is a reversal, and the rail's end sends it out again.
    const Track corner = ride(makeShuttle("46", 5.0), 12.0f);
    const auto [cornerSlowest, cornerFurthest] = slowestNearAndFurthest(corner, 10.0f, 0.5f);
    EXPECT_NEAR(cornerFurthest, 10.0f, 0.05f);
    EXPECT_NEAR(cornerSlowest, 0.5f, 0.05f);
    // Back at the start between 3 and 6 s, and a second later out along "4" again.
    const auto back = std::min_element(corner.positions.begin() + framesFor(3.0f),
                                       corner.positions.begin() + framesFor(6.0f),
                                       [](const b2Vec2& a, const b2Vec2& b) { return a.x < b.x; });
    EXPECT_NEAR(back->x, 0.0f, 0.05f);
    EXPECT_GT((back + framesFor(1.0f))->x, 0.5f);
}

TEST_F(SlidingPlatformTest, OneSegmentShuttlesOverTenUnitsSlowingAtBothEndsAndNoSegmentStaysPut)
{
    SlidingPlatform* platform = makeShuttle("8", 4.0);
    const Track track = ride(platform, 20.0f);
    int turns = 0;
    for (size_t i = 1; i + 1 < track.positions.size(); ++i)
    {
        const float y = track.positions[i].y;
        EXPECT_GE(y, -0.05f);
        EXPECT_LE(y, 10.05f);
        // Eased into and out of both ends.
        EXPECT_TRUE((y > 0.3f && y < 9.7f) || track.speeds[i] < 4.0f * 0.45f) << y;
        if ((y - track.positions[i - 1].y) * (track.positions[i + 1].y - y) < 0)
            ++turns;
    }
    EXPECT_GE(turns, 3);
    // The plank rides along with its anchor.
    EXPECT_NEAR(platform->plankBody()->GetPosition().y, track.positions.back().y, 0.1f);

    const Track still = ride(makeShuttle("", 5.0), 1.0f, 1, 20.0f);
    EXPECT_EQ(still.positions.back(), b2Vec2(0, 0)) << "an empty rail";
}

TEST_F(SlidingPlatformTest, TiltDrivenSliderParksAtTheEndAndDriftsBackWhenLeft)
{
    // Tilted by its holder towards -x on screen (plank roll negative): it slides forward along the rail.
    auto* platform = new SlidingPlatform(0, 0, 0, 10, PlankKind::log, true, "44", false, true, false, false,
                                         AxleSide::centre, 10.0, 0.0);
    const Track held = ride(platform, 8.0f, 1, -35.0f);
    EXPECT_NEAR(held.positions.back().x, 20.0f, 0.2f);
    EXPECT_LT(held.speeds.back(), 0.1f);
    EXPECT_EQ(platform->colourOwner, 1);

    const Track waiting = ride(platform, 1.45f);
    EXPECT_NEAR(waiting.positions.back().x, 20.0f, 0.2f);

    const Track drifting = ride(platform, 6.0f);
    EXPECT_NEAR(*std::max_element(drifting.speeds.begin(), drifting.speeds.end()), 7.0f, 0.01f);
    EXPECT_NEAR(drifting.positions.back().x, 0.0f, 0.2f);
    EXPECT_LT(drifting.speeds.back(), 0.01f);
}

} // namespace
