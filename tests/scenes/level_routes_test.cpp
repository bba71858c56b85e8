// Every shipped level can be finished along its recorded routes, by one player and by two, and a route
// replays to the same final state bit for bit. The routes drive the real game at 1/60 s with the real
// physics and media (tests/routes/<level>_<1p|2p>.route); nothing is rendered.

#include <array>
#include <cmath>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include <OgreSceneNode.h>
#include <box2d/box2d.h>

#include <gtest/gtest.h>

#include "decor/cat.h"
#include "scenes/main_scene.h"
#include "support/child_run.h"
#include "support/replay.h"
#include "support/test_paths.h"
#include "world/player.h"

namespace
{
struct LevelRoute
{
    const char* level;
    int players;
    const char* route;
};

void PrintTo(const LevelRoute& row, std::ostream* out)
{
    *out << row.level << " with " << row.players << " player(s) along " << row.route;
}

// One row per recorded route.
const LevelRoute levelRoutes[] = {
    {"mapa1.imf", 1, "mapa1_1p.route"}, // jumps and a plank tilted into a ramp
    {"mapa1.imf", 2, "mapa1_2p.route"}, // the second player rides the first one's ramp
    {"mapa2.imf", 1, "mapa2_1p.route"}, // ferries, a lift, meteor rain, fire pits and a cannon
    {"mapa2.imf", 2, "mapa2_2p.route"}, // both players dodge the same meteors
    {"mapa3.imf", 1, "mapa3_1p.route"}, // tilt-driven and circular sliders, physical meteors
    {"mapa3.imf", 2, "mapa3_2p.route"}, // emitter rows over two players
};

// A two-player route must bring both players through the level, not only the winner.
constexpr float goalCompanyDistance = 40.0f;

// Where a player is: pivot x, y, z; feet x, y; feet velocity x, y; torso x, y. Compared as raw bytes.
using PlayerState = std::array<float, 9>;

// What one run of a route saw. Plain values only: it crosses a pipe from the child that ran it.
struct RunResult
{
    int reachedGoal = 0;
    int failed = 0;
    long frames = 0;
    int players = 0;
    PlayerState state[2] = {};
    float distanceToCat[2] = {};
};

RunResult playRoute(const LevelRoute& row, const Route& route)
{
    GameDriver game(new MainScene(row.level, row.players));
    auto* scene = &game.current<MainScene>();
    RunResult result;
    for (const ReplayFrame& frame : route.frames)
    {
        game.step(frame);
        ++result.frames;
        // Stop before the next level loads: the route only answers for its own level.
        if (game.scene() != scene || scene->winner() != 0 || scene->levelFile() != row.level)
            break;
    }
    if (game.scene() != scene)
        return result;
    result.reachedGoal = scene->winner() != 0 || scene->levelFile() != row.level;
    result.players = row.players;
    for (int i = 0; i < row.players; ++i)
    {
        const Player& player = *scene->player(i + 1);
        const Ogre::Vector3 pivot = player.pivotNode->getPosition();
        const b2Vec2 feet = player.feetBody()->GetPosition();
        const b2Vec2 velocity = player.feetBody()->GetLinearVelocity();
        const b2Vec2 torso = player.torsoBody()->GetPosition();
        result.state[i] = {pivot.x,    pivot.y,    pivot.z, feet.x, feet.y,
                           velocity.x, velocity.y, torso.x, torso.y};
        if (scene->goalCat())
            result.distanceToCat[i] = std::abs(pivot.x - scene->goalCat()->position().x);
    }
    return result;
}

class LevelRoutes : public testing::TestWithParam<LevelRoute>
{
};

TEST_P(LevelRoutes, TheRouteReachesTheGoalAndReplaysExactly)
{
    const LevelRoute& row = GetParam();
    const Route route = Route::load(testing_paths::sourceDir() + "/tests/routes/" + row.route);

    const RunResult first = runInChild<RunResult>([&] { return playRoute(row, route); });
    ASSERT_FALSE(first.failed) << "the replay of " << row.route << " did not run to its end";
    ASSERT_TRUE(first.reachedGoal) << row.route << " ends after " << first.frames << " of "
                                   << route.frames.size() << " frames without reaching the goal";
    ASSERT_EQ(first.players, row.players);
    for (int i = 0; i < first.players; ++i)
        EXPECT_LT(first.distanceToCat[i], goalCompanyDistance) << "player " << i + 1 << " lags behind";

    const RunResult second = runInChild<RunResult>([&] { return playRoute(row, route); });
    ASSERT_FALSE(second.failed);
    EXPECT_EQ(second.frames, first.frames);
    for (int i = 0; i < first.players; ++i)
        EXPECT_EQ(0, std::memcmp(first.state[i].data(), second.state[i].data(), sizeof(PlayerState)))
            << "player " << i + 1 << " ends elsewhere on the second run";
}

std::string rowName(const testing::TestParamInfo<LevelRoute>& info)
{
    const std::string name = info.param.route;
    return name.substr(0, name.find('.'));
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, LevelRoutes, testing::ValuesIn(levelRoutes), rowName);
} // namespace
