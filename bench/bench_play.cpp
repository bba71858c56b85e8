// What one frame of play costs: for every shipped level and every recorded route (or a run-and-jump route
// where none is recorded yet), with one and two players, the median and 99th percentile of the main
// scene's update (game logic and physics), of the bare physics step inside it, their ratio, the level's
// load time (median of three, wall clock and processor time) and the heap allocations per frame; then the
// same on generated stress levels of growing size. Nothing is rendered. Needs an X display to open the game's
// window: run it through the run_benchmark target, or under xvfb-run.
//
//   bench_play <source dir> [--no-stress | --stress-only] [level file ...]
// The levels default to every <source dir>/levels/*.imf.
//   bench_play <source dir> --soak [level file]
// loads one level (mapa1.imf by default) 100 times with the silent sound device, as a long session does, and
// reports how the resident memory grew after the first load.
// Environment: QUOBBEL_BENCH_TRACE=n prints the call stacks of the first n allocations made inside frames.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "audio/sound_manager.h"
#include "builtin_route.h"
#include "frame_stats.h"
#include "level_run.h"
#include "process_memory.h"
#include "program_main.h"
#include "scenes/main_scene.h"
#include "stress_level.h"
#include "support/replay.h"

namespace fs = std::filesystem;

namespace
{
// Seconds of the run-and-jump route on levels without a recorded route, and on the stress levels.
constexpr double builtinRouteSeconds = 40;
constexpr double stressRouteSeconds = 20;

// Targets for this 2-core machine.
constexpr double maxStepRatio = 2.0;
// Nothing held after a route, for at most 8 s: longer than a defeated boss takes to sink.
constexpr int sinkingFrames = 8 * 60;
constexpr double maxShippedMedianMicros = 200;
constexpr double maxStressMedianMicros = 5000;
constexpr double maxLoadMilliseconds = 150;

struct Result
{
    std::string level;
    int players = 0;
    std::string route;
    bool stress = false;
    bool goal = false;
    double loadMs = 0;    // wall clock
    double loadCpuMs = 0; // processor time
    FrameStats update;
    FrameStats step;
    long framesAllocating = 0;
    long allocationsTotal = 0;
    long mostInOneFrame = 0;
};

Result runLevel(GameDriver& game, const std::string& level, int players, const Route& route,
                const std::string& routeName)
{
    RunRecord record;
    auto* scene = new MeasuredScene(level, players, record, route.frames.size());
    // As the replay driver does before its first scene: meteors, butterflies and birds draw from rand(), and
    // a recorded route reaches its goal only with the numbers it was recorded with.
    std::srand(1);
    switchTo(game, scene);
    for (const ReplayFrame& frame : route.frames)
    {
        if (game.scene() != scene || record.ended)
            break;
        game.step(frame);
    }
    // A route may end on the killing blow: the boss sinks for a few seconds before it counts as the goal.
    for (int frame = 0;
         frame < sinkingFrames && game.scene() == scene && !record.ended && !record.goalReached; ++frame)
        game.step(ReplayFrame());
    Result r;
    r.level = level;
    r.players = players;
    r.route = routeName;
    r.goal = record.goalReached;
    r.loadMs = record.loadMilliseconds;
    r.loadCpuMs = record.loadCpuMilliseconds;
    for (const AllocationTally& tally : record.allocations)
    {
        r.framesAllocating += tally.total() > 0;
        r.allocationsTotal += tally.total();
        r.mostInOneFrame = std::max(r.mostInOneFrame, tally.total());
    }
    r.update = summarise(record.updateMicros);
    r.step = summarise(record.stepMicros);
    return r;
}

double stepRatio(const Result& r)
{
    return r.step.median > 0 ? r.update.median / r.step.median : 0;
}

void printHeader()
{
    std::printf("%-14s %2s %-20s %6s %-13s | %-30s | %-22s | %5s | %s\n", "", "", "", "", "load (ms)",
                "update (us)", "physics step (us)", "", "");
    std::printf("%-14s %2s %-20s %6s %13s | %6s %6s %6s %8s | %6s %6s %8s | %5s | %s\n", "level", "pl",
                "route", "frames", "wall   cpu", "median", "99th", "mean*", "max", "median", "99th", "mean*",
                "ratio", "heap allocations inside frames");
}

void print(const Result& r)
{
    char allocs[96];
    if (!allocationCount::available())
        std::snprintf(allocs, sizeof allocs, "not counted (sanitizer build)");
    else
        std::snprintf(allocs, sizeof allocs, "%ld frames with any, %ld in all, at most %ld",
                      r.framesAllocating, r.allocationsTotal, r.mostInOneFrame);
    std::printf(
        "%-14s %2d %-20s %6ld %6.1f %6.1f | %6.1f %6.1f %6.1f %8.1f | %6.1f %6.1f %8.1f | %5.2f | %s%s\n",
        r.level.c_str(), r.players, r.route.c_str(), r.update.count, r.loadMs, r.loadCpuMs, r.update.median,
        r.update.p99, r.update.trimmedMean, r.update.max, r.step.median, r.step.p99, r.step.trimmedMean,
        stepRatio(r), allocs, r.goal ? "; goal reached" : "");
    std::fflush(stdout);
}

// One line per missed target; true when all are met.
bool checkTargets(const std::vector<Result>& results, double coldLoadMs)
{
    bool met = true;
    const auto miss = [&met](const Result& r, const char* what, double value, double limit)
    {
        std::printf("  MISSED %s %dp: %s %.1f (target %.0f)\n", r.level.c_str(), r.players, what, value,
                    limit);
        met = false;
    };
    for (const Result& r : results)
    {
        if (r.update.count == 0)
            continue;
        const double ratio = stepRatio(r);
        if (ratio > maxStepRatio)
            miss(r, "update / step ratio", ratio, maxStepRatio);
        if (r.stress && r.update.median > maxStressMedianMicros)
            miss(r, "median update (us)", r.update.median, maxStressMedianMicros);
        if (!r.stress && r.players == 2 && r.update.median > maxShippedMedianMicros)
            miss(r, "median update (us)", r.update.median, maxShippedMedianMicros);
        if (!r.stress && r.loadCpuMs > maxLoadMilliseconds)
            miss(r, "load, processor time (ms)", r.loadCpuMs, maxLoadMilliseconds);
        if (allocationCount::available() && r.framesAllocating > 0)
            miss(r, "frames allocating", static_cast<double>(r.framesAllocating), 0);
    }
    std::printf("  first (cold) load of the run: %.1f ms wall clock, not held to the load target\n",
                coldLoadMs);
    return met;
}

// Loads `level` for one player `loads` times, playing a moment of each, and compares the resident memory
// after the last load with that after the first (which brings in the media the levels share). Every won
// level, every fifth life lost and every return from the title loads a level again, so a long session
// must not grow with them. True when the growth stays under the target.
bool soak(GameDriver& game, const std::string& level, int loads)
{
    constexpr int framesPerLoad = 30;
    constexpr long maxGrowthKiB = 1024;
    if (!SoundManager::instance().isOpen())
        std::printf("No sound device opened: the soak measures less than a player's machine holds\n");
    long firstKiB = 0;
    for (int i = 0; i < loads; ++i)
    {
        switchTo(game, new MainScene(level, 1));
        for (int frame = 0; frame < framesPerLoad; ++frame)
            game.step(ReplayFrame());
        if (i == 0)
            firstKiB = processMemory::residentKiB();
    }
    switchTo(game, new Scene);
    const long lastKiB = processMemory::residentKiB();
    const long growth = lastKiB - firstKiB;
    std::printf("%s loaded %d times: resident %ld KiB after the first load, %ld KiB after the last: %+ld KiB "
                "(target under %+ld KiB)\n",
                level.c_str(), loads, firstKiB, lastKiB, growth, maxGrowthKiB);
    return growth < maxGrowthKiB;
}

std::vector<std::string> shippedLevels(const std::string& sourceDir)
{
    std::vector<std::string> levels;
    for (const auto& entry : fs::directory_iterator(sourceDir + "/levels"))
        if (entry.path().extension() == ".imf")
            levels.push_back(entry.path().filename().string());
    std::sort(levels.begin(), levels.end());
    return levels;
}

int run(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: %s <source dir> [--no-stress | --stress-only] [level file ...]\n",
                     argv[0]);
        return 2;
    }
    if (!std::getenv("DISPLAY"))
    {
        std::fprintf(stderr, "bench_play needs an X display to open the game's window: run it under xvfb-run "
                             "or through the run_benchmark target\n");
        return 2;
    }
    setenv("ALSOFT_DRIVERS", "null", 0);
    const std::string sourceDir = argv[1];
    std::vector<std::string> levels;
    bool stress = true;
    bool shipped = true;
    bool soaking = false;
    for (int i = 2; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "--no-stress")
            stress = false;
        else if (arg == "--stress-only")
            shipped = false;
        else if (arg == "--soak")
            soaking = true;
        else
            levels.push_back(arg);
    }
    if (soaking)
    {
        constexpr int soakLoads = 100;
        GameDriver game(new Scene);
        const bool met = soak(game, levels.empty() ? "mapa1.imf" : levels.front(), soakLoads);
        switchTo(game, Scene::quitMarker());
        std::printf(met ? "Target met.\n" : "Target missed.\n");
        return 0;
    }
    if (levels.empty())
        levels = shippedLevels(sourceDir);

    std::printf("Build type: %s%s\n", QUOBBEL_BUILD_TYPE,
                std::string(QUOBBEL_BUILD_TYPE) == "Release" ? ""
                                                             : " (figures are only meaningful in Release)");
    if (allocationCount::available())
    {
        // Direct calls: a new-expression whose result is unused may be optimised away.
        allocationCount::start();
        void* volatile probe = ::operator new(16);
        ::operator delete(probe);
        if (allocationCount::stop().news != 1)
        {
            std::fprintf(stderr, "the allocation counter does not see operator new\n");
            return 1;
        }
    }

    const std::vector<StressLevelSize> stressSizes = {{250, 50, 25}, {500, 100, 50}, {1000, 200, 100}};
    std::vector<GameDriver::LevelText> stressLevels;
    for (const StressLevelSize& size : stressSizes)
        stressLevels.push_back({"stress" + std::to_string(size.platforms) + ".imf", stressLevelText(size)});

    std::vector<Result> results;
    double coldLoadMs = 0;
    {
        GameDriver game(new Scene, stressLevels);
        if (const char* trace = std::getenv("QUOBBEL_BENCH_TRACE"))
        {
            std::printf("Tracing allocations: the times below are not meaningful\n");
            allocationCount::traceNext(std::atoi(trace));
        }

        // The first level loaded in a process also loads the media it shares with the others.
        const Result warmUp = runLevel(game, levels.front(), 1, runAndJumpRoute(1, 1), "warm-up");
        coldLoadMs = warmUp.loadMs;

        printHeader();
        for (const std::string& level : shipped ? levels : std::vector<std::string>())
            for (int players = 1; players <= 2; ++players)
            {
                // Two-player games end before the boss level.
                if (players == 2 && level == "boss1.imf")
                    continue;
                const std::string path = routePath(sourceDir, level, players);
                const bool recorded = fs::exists(path);
                const Route route =
                    recorded ? Route::load(path) : runAndJumpRoute(players, builtinRouteSeconds);
                // Load time: the median of three loads, as other programs share the machine.
                std::vector<double> loads;
                std::vector<double> cpuLoads;
                for (int i = 0; i < 3; ++i)
                {
                    const Result r =
                        i < 2 ? runLevel(game, level, players, Route(), "")
                              : runLevel(game, level, players, route,
                                         recorded ? fs::path(path).filename().string() : "run-and-jump");
                    loads.push_back(r.loadMs);
                    cpuLoads.push_back(r.loadCpuMs);
                    if (i == 2)
                        results.push_back(r);
                }
                results.back().loadMs = summarise(loads).median;
                results.back().loadCpuMs = summarise(cpuLoads).median;
                print(results.back());
            }
        for (std::size_t i = 0; stress && i < stressSizes.size(); ++i)
        {
            results.push_back(runLevel(game, stressLevels[i].fileName, 2,
                                       runAndJumpRoute(2, stressRouteSeconds), "run-and-jump"));
            results.back().stress = true;
            print(results.back());
        }
        switchTo(game, Scene::quitMarker());
    }

    std::printf("Targets: update at most %.0fx the bare step, median under %.0f us (shipped, 2 players) and "
                "%.0f us (stress), load under %.0f ms, no allocation in a frame\n",
                maxStepRatio, maxShippedMedianMicros, maxStressMedianMicros, maxLoadMilliseconds);
    std::printf("Times are the main thread's processor time. mean*: mean of the frames up to the 99th "
                "percentile; ratio: median update / median step\n");
    const bool met = checkTargets(results, coldLoadMs);
    std::printf(met ? "All targets met.\n" : "Some targets missed.\n");
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    return runReportingErrors(run, argc, argv);
}
