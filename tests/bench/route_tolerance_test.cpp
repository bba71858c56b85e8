// The tolerance count: jittered routes (each segment a few frames longer or shorter, drawn from a seed
// per run) and the watched play that says whether a run won and where it went wrong.

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "play_pool.h"
#include "route_jitter.h"
#include "support/child_run.h"
#include "support/test_paths.h"
#include "tolerance_run.h"

namespace
{
const char* const twoPlayerRoute = "49 - -\n12 R R\n40 RJ -\n3 RJ RJ\n1 - L\n7 EQ -\n";

auto fields(const RunOutcome& o)
{
    return std::make_tuple(o.failed, o.reachedGoal, o.frames, o.falls, o.outOfLives, o.mishap, o.mishapPlayer,
                           o.x, o.y, o.footing.index, o.footing.kind, o.footing.x, o.footing.y);
}

} // namespace

TEST(JitteredRoute, EachSegmentMovesByAtMostKAndEveryChangeInRangeOccurs)
{
    const Route route = Route::parse(twoPlayerRoute);
    const std::vector<RouteSegment> recorded = segmentsOf(route);
    ASSERT_EQ(recorded.size(), 6u);
    const int k = 6;
    std::vector<int> seen(2 * k + 1, 0);
    for (int run = 0; run < 200; ++run)
    {
        const std::vector<RouteSegment> played = segmentsOf(jitteredRoute(route, k, runSeed(1, k, run)));
        ASSERT_EQ(played.size(), recorded.size()) << "run " << run;
        for (std::size_t i = 0; i < played.size(); ++i)
        {
            EXPECT_EQ(played[i].actions.held[0], recorded[i].actions.held[0]);
            EXPECT_EQ(played[i].actions.held[1], recorded[i].actions.held[1]);
            EXPECT_GE(played[i].frames, 1) << "a press is never dropped";
            const long change = played[i].frames - recorded[i].frames;
            if (recorded[i].frames > k)
            {
                ASSERT_LE(std::abs(change), k) << "segment " << i << " of run " << run;
                ++seen[static_cast<std::size_t>(change + k)];
            }
        }
    }
    for (int change = -k; change <= k; ++change)
        EXPECT_GT(seen[static_cast<std::size_t>(change + k)], 0)
            << "a change of " << change << " never drawn";
}

TEST(JitteredRoute, ASeedGivesOneRouteAndNoJitterGivesTheRecordedOne)
{
    const Route route = Route::parse(twoPlayerRoute);
    const auto frames = [](const Route& r) { return routeText(r); };
    EXPECT_EQ(frames(jitteredRoute(route, 0, 12345)), frames(route));
    EXPECT_EQ(frames(jitteredRoute(route, 4, runSeed(7, 4, 3))),
              frames(jitteredRoute(route, 4, runSeed(7, 4, 3))));
    EXPECT_NE(runSeed(1, 4, 0), runSeed(1, 4, 1));
    EXPECT_NE(runSeed(1, 4, 0), runSeed(1, 6, 0));
    EXPECT_NE(runSeed(1, 4, 0), runSeed(2, 4, 0));

    // Written out, a jittered route plays back frame for frame; adjacent lines of the same actions merge.
    const Route jittered = jitteredRoute(route, 4, runSeed(1, 4, 0));
    EXPECT_EQ(routeText(Route::parse(routeText(jittered))), routeText(jittered));
    EXPECT_EQ(Route::parse(routeText(jittered)).frames.size(), jittered.frames.size());
    EXPECT_EQ(segmentsOf(Route::parse("3 RJ\n2 JR\n4 -\n")).size(), 2u);
}

TEST(JitteredRoute, ShiftingOneLineMovesWhatFollowsAndEveryFrameKeepsItsFileLine)
{
    const Route route = Route::parse("3 R\n# a comment\n4 RJ\n\n5 -\n");
    ASSERT_EQ(route.lines, std::vector<int>({1, 1, 1, 3, 3, 3, 3, 5, 5, 5, 5, 5}));

    const Route longer = shiftedRoute(route, 1, 2);
    EXPECT_EQ(longer.lines, std::vector<int>({1, 1, 1, 3, 3, 3, 3, 3, 3, 5, 5, 5, 5, 5}));
    EXPECT_EQ(longer.frames[8].held[0], route.frames[3].held[0]);
    EXPECT_EQ(longer.frames[9].held[0], 0) << "the wait starts two frames later";
    EXPECT_EQ(segmentsOf(shiftedRoute(route, 1, -10))[1].frames, 1) << "a press is never dropped";
    EXPECT_EQ(routeText(shiftedRoute(route, 7, 3)), routeText(route)) << "no such line: nothing changes";

    for (const RouteSegment& segment : segmentsOf(jitteredRoute(route, 6, runSeed(1, 6, 0))))
        EXPECT_EQ(segment.line, segment.actions.held[0] == 0 ? 5 : segment.actions.letters(0) == "R" ? 1 : 3);
}

// Runs a level of the test's own, so the mishap is known: a plank at x -200 (platform 0), then the start
// plank (platform 1) from x -10 to 10; the player starts at x 0 and the goal is far away.
RunOutcome playOwnLevel(const std::string& launcher, const std::string& route)
{
    const std::string text = "0 10 -500 10 end\n"
                             "StaticPlatform -200 5 20 0 far box\n"
                             "StaticPlatform 0 5 20 0 start terra\n" +
                             launcher;
    return runInChild<RunOutcome>(
        [&] {
            return playWatched("own.imf", 1, Route::parse(route), {{"own.imf", text}});
        });
}

TEST(WatchedPlay, AFallIsPlacedAtTheLastFootingAndAStrikeWhereThePlayerStood)
{
    const RunOutcome fall = playOwnLevel("", "40 -\n90 R\n");
    ASSERT_FALSE(fall.failed);
    EXPECT_FALSE(fall.reachedGoal);
    EXPECT_EQ(fall.mishap, Mishap::Fell);
    EXPECT_EQ(fall.mishapPlayer, 1);
    EXPECT_EQ(fall.footing.index, 1);
    EXPECT_EQ(fall.footing.kind, PlatformClass::Static);
    EXPECT_NEAR(fall.x, -10, 3) << "the player ran off the start plank's end at screen right";
    EXPECT_GE(fall.falls, 1);

    // A meteor dropped straight onto the standing player.
    const RunOutcome hit = playOwnLevel("BadBall 0 40 0 -20 0 3 3 0 0\n", "200 -\n");
    ASSERT_FALSE(hit.failed);
    EXPECT_FALSE(hit.reachedGoal);
    EXPECT_EQ(hit.mishap, Mishap::MeteorHit);
    EXPECT_EQ(hit.footing.index, 1);
    EXPECT_NEAR(hit.x, 0, 1);
    EXPECT_NEAR(hit.y, 8, 1) << "the feet rest on the plank";
}

TEST(WatchedPlay, TheSameSeedPlaysTheSameRunTwice)
{
    const Route route = Route::load(testing_paths::sourceDir() + "/tests/routes/mapa3_1p.route");
    const Route jittered = jitteredRoute(route, 4, runSeed(1, 4, 0));
    const RunOutcome first = runInChild<RunOutcome>([&] { return playWatched("mapa3.imf", 1, jittered); });
    const RunOutcome second = runInChild<RunOutcome>([&] { return playWatched("mapa3.imf", 1, jittered); });
    ASSERT_FALSE(first.failed);
    EXPECT_EQ(fields(first), fields(second));
}

// Plays run side by side in child processes; their outcomes come back in request order, and a play that
// cannot run comes back failed without taking the others with it.
TEST(PlaysInChildren, OutcomesComeBackInRequestOrderAndAFailedPlayStaysAlone)
{
    const std::vector<PlayRequest> requests = {{"mapa1.imf", 1, Route::parse("50 -\n")},
                                               {"nowhere.imf", 1, Route::parse("50 -\n")},
                                               {"mapa1.imf", 1, Route::parse("100 -\n")}};
    const std::vector<RunOutcome> outcomes = playInChildren(
        requests.size(), [&](std::size_t i) { return requests[i]; }, 2);
    ASSERT_EQ(outcomes.size(), 3u);
    EXPECT_TRUE(outcomes[1].failed);
    // Standing at the start never wins: each play lasts its route and the closing wait.
    const long closing = std::lround(closingWaitSeconds * 60);
    EXPECT_FALSE(outcomes[0].failed || outcomes[2].failed);
    EXPECT_EQ(outcomes[0].frames, 50 + closing);
    EXPECT_EQ(outcomes[2].frames, 100 + closing);
}

class UnjitteredRoute : public testing::TestWithParam<std::string>
{
};

// With k = 0 a run is the recorded route, which wins its level without a fall.
TEST_P(UnjitteredRoute, WinsItsLevel)
{
    const RecordedRoute recorded = loadRecordedRoute(testing_paths::sourceDir(), GetParam());
    const RunOutcome run = runInChild<RunOutcome>(
        [&] { return playWatched(recorded.level, recorded.players, jitteredRoute(recorded.route, 0, 99)); });
    ASSERT_FALSE(run.failed);
    EXPECT_TRUE(run.reachedGoal) << mishapName(run.mishap) << " at (" << run.x << ", " << run.y << ")";
    EXPECT_EQ(run.falls, 0);
}

std::string routeName(const testing::TestParamInfo<std::string>& row)
{
    return row.param;
}

INSTANTIATE_TEST_SUITE_P(ShippedRoutes, UnjitteredRoute,
                         testing::ValuesIn(recordedRouteNames(testing_paths::sourceDir())), routeName);
