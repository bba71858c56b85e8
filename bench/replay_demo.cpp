// Plays a level along a route with the real game, as fast as it can step, and saves screenshots as it goes:
// the game's demo on a machine without a display (scripts/play.sh runs it under Xvfb).
//
//   replay_demo <level file> <players> <route file, or - for run-and-jump> <output folder> [seconds]
// A screenshot is saved when play starts, every `seconds` (10 by default) of route time, and at the end.
// The frames of the last moments before each screenshot are rendered too, so that smoke trails and bursts
// of particles show in it as they do in play.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "builtin_route.h"
#include "program_main.h"
#include "scenes/main_scene.h"
#include "support/replay.h"

namespace fs = std::filesystem;

namespace
{
constexpr double runAndJumpSeconds = 60;
// Longer than the longest-lived particle.
constexpr long framesRenderedBeforeShot = 90;

std::string shotName(const std::string& folder, const std::string& level, const std::string& when)
{
    return folder + "/" + level.substr(0, level.rfind(".imf")) + "-" + when + ".png";
}

void saveShot(GameDriver& game, const std::string& path)
{
    game.screenshot(path);
    std::printf("  %s\n", path.c_str());
    std::fflush(stdout);
}

int run(int argc, char** argv)
{
    if (argc < 5)
    {
        std::fprintf(stderr, "usage: %s <level file> <players> <route file|-> <output folder> [seconds]\n",
                     argv[0]);
        return 2;
    }
    const std::string level = argv[1];
    const int players = std::atoi(argv[2]);
    const std::string routeFile = argv[3];
    const std::string folder = fs::absolute(argv[4]).string();
    const double every = argc > 5 ? std::atof(argv[5]) : 10.0;
    if (players < 1 || players > 2 || every <= 0)
    {
        std::fprintf(stderr, "players must be 1 or 2 and the screenshot interval above 0\n");
        return 2;
    }
    if (!std::getenv("DISPLAY"))
    {
        std::fprintf(stderr, "replay_demo needs an X display: run it under xvfb-run\n");
        return 2;
    }
    setenv("ALSOFT_DRIVERS", "null", 0);
    const Route route =
        routeFile == "-" ? runAndJumpRoute(players, runAndJumpSeconds) : Route::load(routeFile);
    fs::create_directories(folder);

    std::printf("Playing %s with %d player%s along %s (%.1f s of play); screenshots:\n", level.c_str(),
                players, players == 1 ? "" : "s",
                routeFile == "-" ? "a run-and-jump route" : routeFile.c_str(),
                static_cast<double>(route.frames.size()) * GameDriver::frameSeconds);
    GameDriver game(new MainScene(level, players));
    if (game.current<MainScene>().levelRefused())
        throw std::runtime_error(level + " cannot be read (see the message above)");
    const long framesBetweenShots = std::max(1L, std::lround(every / GameDriver::frameSeconds));
    bool goal = false;
    float levelTime = 0;
    for (std::size_t i = 0; i < route.frames.size() && game.scene(); ++i)
    {
        if (static_cast<long>(i) % framesBetweenShots == 0)
        {
            char when[32];
            std::snprintf(when, sizeof when, "%03lds",
                          std::lround(static_cast<double>(i) * GameDriver::frameSeconds));
            saveShot(game, shotName(folder, level, when));
        }
        game.step(route.frames[i]);
        const long framesToNextShot = framesBetweenShots - 1 - static_cast<long>(i) % framesBetweenShots;
        const long framesToEnd = static_cast<long>(route.frames.size()) - 1 - static_cast<long>(i);
        if (std::min(framesToNextShot, framesToEnd) < framesRenderedBeforeShot && game.scene())
            game.render();
        if (const MainScene* scene = game.sceneAs<MainScene>())
        {
            goal = goal || scene->winner() != 0 || scene->levelFile() != level;
            if (scene->levelFile() == level)
                levelTime = scene->levelTime();
        }
    }
    if (game.scene())
        saveShot(game, shotName(folder, level, "end"));
    std::printf("%s after %.1f s on the level clock. Screenshots are in %s\n",
                goal ? "Goal reached" : "Route over without reaching the goal",
                static_cast<double>(levelTime), folder.c_str());
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    return runReportingErrors(run, argc, argv);
}
