// Every shipped level can be finished along its recorded routes, by one player and by two, and a route
// replays to the same final state bit for bit. The routes drive the real game at 1/60 s with the real
// physics and media (tests/routes/<level>_<1p|2p>.route); nothing is rendered.

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <OgreSceneNode.h>
#include <box2d/box2d.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "decor/cat.h"
#include "scenes/main_scene.h"
#include "support/replay.h"
#include "support/test_paths.h"
#include "support/x11_window.h"
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
    {"mapa1.imf", 1, "mapa1_1p.route"},
    {"mapa1.imf", 2, "mapa1_2p.route"},
    {"mapa3.imf", 1, "mapa3_1p.route"},
    {"mapa3.imf", 2, "mapa3_2p.route"},
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
    // The ballistic meteors vary their speed with rand(): each run starts from the same sequence.
    std::srand(1);
    GameDriver game(new MainScene(row.level, row.players));
    auto* scene = game.sceneAs<MainScene>();
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

// The engine's GL window can be made only once per process, so each run has a process of its own: a fresh
// start, as a replay in another process would have.
RunResult playRouteInChild(const LevelRoute& row, const Route& route)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        throw std::runtime_error("no pipe");
    const pid_t child = fork();
    if (child == 0)
    {
        close(pipeEnds[0]);
        RunResult result;
        try
        {
            result = playRoute(row, route);
        }
        catch (...)
        {
            result.failed = 1;
        }
        const ssize_t written = write(pipeEnds[1], &result, sizeof result);
        _exit(written == static_cast<ssize_t>(sizeof result) ? 0 : 1);
    }
    close(pipeEnds[1]);
    RunResult result;
    result.failed = 1;
    std::size_t got = 0;
    char* bytes = reinterpret_cast<char*>(&result);
    while (got < sizeof result)
    {
        const ssize_t n = read(pipeEnds[0], bytes + got, sizeof result - got);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != sizeof result || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        result.failed = 1;
    return result;
}

class LevelRoutes : public testing::TestWithParam<LevelRoute>
{
};

TEST_P(LevelRoutes, TheRouteReachesTheGoalAndReplaysExactly)
{
    ASSERT_TRUE(displayAvailable());
    const LevelRoute& row = GetParam();
    const Route route = Route::load(testing_paths::sourceDir() + "/tests/routes/" + row.route);

    const RunResult first = playRouteInChild(row, route);
    ASSERT_FALSE(first.failed) << "the replay of " << row.route << " did not run to its end";
    ASSERT_TRUE(first.reachedGoal) << row.route << " ends after " << first.frames << " of "
                                   << route.frames.size() << " frames without reaching the goal";
    ASSERT_EQ(first.players, row.players);
    for (int i = 0; i < first.players; ++i)
        EXPECT_LT(first.distanceToCat[i], goalCompanyDistance) << "player " << i + 1 << " lags behind";

    const RunResult second = playRouteInChild(row, route);
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
