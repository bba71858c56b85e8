#pragma once

// One play of a level along a route, watched for what a tolerance count needs: whether the level was won,
// and for a run that went wrong, the first mishap of any player (a fall out of the level or a meteor
// strike), where it happened and which platform the player last stood on.

#include <functional>
#include <string>
#include <vector>

#include "support/replay.h"

class MainScene;
class Player;

enum class Mishap : int
{
    None,
    Fell,      // dropped below the level without being struck
    MeteorHit, // knocked out by a meteor
};

enum class PlatformClass : int
{
    None,
    Static,
    Rotating,
    Sliding,
};

// A platform as the level made it: its place among the level's platforms (0 for the first platform
// record of the file, counting only platform records), its class, and where its anchor was at the time.
struct PlatformSpot
{
    int index = -1;
    PlatformClass kind = PlatformClass::None;
    float x = 0;
    float y = 0;
};

// Plain values only: runs are played in child processes and their outcomes cross a pipe.
struct RunOutcome
{
    int failed = 0;      // the play threw or the child died: no outcome
    int reachedGoal = 0; // the level was won (by either player)
    long frames = 0;     // frames played, the closing wait included
    int falls = 0;       // times a player dropped out of the level, struck or not
    int outOfLives = 0;  // the fifth life went and the level started again
    Mishap mishap = Mishap::None;
    int mishapPlayer = 0;
    // The route file's line being played when it happened (0: a route made in code, or after the route).
    int mishapLine = 0;
    // Where the first mishap happened: the feet when struck, the last footing for a fall; without a
    // mishap, where player 1 last stood.
    float x = 0;
    float y = 0;
    // The platform under the player's feet last before the mishap (without one: player 1's last).
    PlatformSpot footing;
};

// A recorded route of a shipped level, named by its file's stem under tests/routes: "<level>_<1|2>p", or
// given as the path of a route file named that way (a route being written elsewhere).
struct RecordedRoute
{
    std::string name;  // "mapa2_1p"
    std::string level; // "mapa2.imf"
    int players;
    Route route;
};

// Throws std::runtime_error for a name not of that form or a route that cannot be read.
RecordedRoute loadRecordedRoute(const std::string& sourceDir, const std::string& nameOrPath);
// The names of every route under <sourceDir>/tests/routes, sorted.
std::vector<std::string> recordedRouteNames(const std::string& sourceDir);

// After the route, nothing is held for at most this long while the level is not yet won: a defeated boss
// sinks for some seconds before the level counts as won.
constexpr double closingWaitSeconds = 8.0;

// Plays `level` with `players` along `route` in a fresh game (needs an X display; the game window can be
// made once per process, so run each play in a process of its own). Stops as soon as the level is won; throws
// std::runtime_error for a level the game refuses.
// `extraLevels` are levels of the caller's own, found beside the shipped ones. `observe`, when given, sees
// the scene after every frame played on the level, with the frame's number and route line.
using FrameObserver = std::function<void(const MainScene& scene, long frame, int line)>;
RunOutcome playWatched(const std::string& level, int players, const Route& route,
                       const std::vector<GameDriver::LevelText>& extraLevels = {},
                       const FrameObserver& observe = {});

// The platform whose plank the player's feet touch now, if any (index -1 when none).
PlatformSpot footingOf(const Player& player);

// "fell off", "meteor hit"; "" for none.
const char* mishapName(Mishap mishap);
// "static", "rotating", "sliding"; "" for none.
const char* platformClassName(PlatformClass kind);
