// What a rendered frame costs: the title, then every shipped level along its recorded routes (a run-and-jump
// route where none is recorded), with one and two players, drawn in a 1024x768 window by the real GL render
// system with no frame cap. For each: frames a second (median and 1% low), the main thread's processor time
// per frame split into the game's update, the scene graph and render queue, and the GL submission with the
// buffer swap (render_phases.h), the whole process's processor time per frame, and the resident memory. Also
// the first level load of the process, made from the title after it has played a while, as a player's is.
//
//   bench_render <source dir> [--seconds S] [--draw-costs] [--title-only] [--frame-log FILE] [level file ...]
// --seconds cuts the title and every route to S seconds of play, for quick looks and for profilers.
// --title-only stops after the title's row, for profiling the title alone.
// --frame-log writes every measured frame's figures to FILE, one line each (level, players, frame, then the
// row's milliseconds), to find where along a route the slow frames are.
// --draw-costs lists under every row what each material's draws cost the software rasteriser and how many
// pixels they wrote (draw_costs.h); it slows every frame, so the row's own figures no longer hold. The
// levels default to every <source dir>/levels/*.imf. Needs an X display with room for the window:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_render .
// Frame rates are wall-clock figures, which other programs on the machine disturb; the processor times much
// less so.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <OgreRenderWindow.h>

#include "builtin_route.h"
#include "core/access_points.h"
#include "draw_costs.h"
#include "level_run.h"
#include "process_memory.h"
#include "program_main.h"
#include "render_phases.h"
#include "scenes/intro_scene.h"
#include "step_timer.h"
#include "support/replay.h"

namespace fs = std::filesystem;

namespace
{
constexpr double titleSeconds = 5;
constexpr double builtinRouteSeconds = 40;
const char* const firstLevel = "mapa1.imf";

// Targets for this 2-core machine.
constexpr double minMedianFps = 60;
constexpr double minLowFps = 45;
constexpr double maxFirstLoadMs = 150;

// The window of a player's first start, without the frame cap.
const char* const benchConfiguration = "Fullscreen = false\n"
                                       "WindowResolution = 1024x768\n"
                                       "VSync = false\n"
                                       "Widescreen = auto\n"
                                       "MaxFPS = 0\n";

struct Row
{
    std::string name;
    int players = 0;
    FrameCostSummary costs;
    long residentKiB = 0;
    long peakKiB = 0;
};

Row measured(const std::string& name, int players, const std::vector<FrameCosts>& frames)
{
    Row row{name, players, summarise(frames), processMemory::residentKiB(), processMemory::peakResidentKiB()};
    return row;
}

void printHeader()
{
    std::printf("%-12s %2s %6s | %6s %6s | %-27s | %7s | %-15s | %s\n", "", "", "", "fps", "",
                "main thread ms/frame", "process", "frame ms", "MiB resident");
    std::printf("%-12s %2s %6s | %6s %6s | %8s %8s %8s | %7s | %7s %7s | %5s %5s\n", "", "pl", "frames",
                "median", "1% low", "update", "scene", "submit", "cpu ms", "median", "99th", "now", "peak");
}

void print(const Row& r)
{
    const FrameCostSummary& c = r.costs;
    std::printf("%-12s %2d %6ld | %6.1f %6.1f | %8.2f %8.2f %8.2f | %7.2f | %7.2f %7.2f | %5.1f %5.1f\n",
                r.name.c_str(), r.players, c.frames, c.medianFps, c.lowFps, c.updateMs, c.sceneMs, c.submitMs,
                c.processCpuMs, c.wallMs.median, c.wallMs.p99, static_cast<double>(r.residentKiB) / 1024,
                static_cast<double>(r.peakKiB) / 1024);
    std::fflush(stdout);
}

void logFrames(std::FILE* log, const Row& row, const std::vector<FrameCosts>& frames)
{
    for (std::size_t i = 0; i < frames.size(); ++i)
    {
        const FrameCosts& f = frames[i];
        std::fprintf(log, "%s %d %zu %.3f %.3f %.3f %.3f %.3f\n", row.name.c_str(), row.players, i, f.wallMs,
                     f.processCpuMs, f.updateMs, f.sceneMs, f.submitMs);
    }
}

Route routeFor(const std::string& sourceDir, const std::string& level, int players, double seconds)
{
    const std::string path = routePath(sourceDir, level, players);
    Route route = fs::exists(path) ? Route::load(path) : runAndJumpRoute(players, builtinRouteSeconds);
    const auto cut = static_cast<std::size_t>(seconds / GameDriver::frameSeconds);
    if (seconds > 0 && route.frames.size() > cut)
        route.frames.resize(cut);
    return route;
}

// Plays `route` on `level`, rendering every frame; the load's times go to `record`.
std::vector<FrameCosts> playLevel(GameDriver& game, RenderPhases& phases, const std::string& level,
                                  int players, const Route& route, RunRecord& record)
{
    auto* scene = new MeasuredScene(level, players, record, route.frames.size());
    // As the replay driver does before its first scene: a recorded route reaches its goal only with the
    // random numbers it was recorded with.
    std::srand(1);
    switchTo(game, scene);
    std::vector<FrameCosts> frames;
    frames.reserve(route.frames.size());
    for (const ReplayFrame& frame : route.frames)
    {
        if (game.scene() != scene || record.ended)
            break;
        frames.push_back(phases.frame(
            [&]
            {
                game.step(frame);
                return record.lastUpdateMicros / 1000;
            }));
    }
    return frames;
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

bool checkTargets(const std::vector<Row>& rows, double firstLoadMs)
{
    bool met = true;
    for (const Row& r : rows)
    {
        if (r.costs.medianFps < minMedianFps)
            std::printf("  MISSED %s %dp: median %.1f fps (target %.0f)\n", r.name.c_str(), r.players,
                        r.costs.medianFps, minMedianFps);
        if (r.costs.lowFps < minLowFps)
            std::printf("  MISSED %s %dp: 1%% low %.1f fps (target %.0f)\n", r.name.c_str(), r.players,
                        r.costs.lowFps, minLowFps);
        met = met && r.costs.medianFps >= minMedianFps && r.costs.lowFps >= minLowFps;
    }
    if (firstLoadMs >= maxFirstLoadMs)
        std::printf("  MISSED first level load %.1f ms (target under %.0f)\n", firstLoadMs, maxFirstLoadMs);
    return met && firstLoadMs < maxFirstLoadMs;
}

int run(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr,
                     "usage: %s <source dir> [--seconds S] [--draw-costs] [--title-only] [--frame-log FILE] "
                     "[level file ...]\n",
                     argv[0]);
        return 2;
    }
    if (!std::getenv("DISPLAY"))
    {
        std::fprintf(stderr, "bench_render needs an X display: run it under xvfb-run -a -s \"-screen 0 "
                             "1280x1024x24\"\n");
        return 2;
    }
    setenv("ALSOFT_DRIVERS", "null", 0);
    const std::string sourceDir = argv[1];
    double seconds = 0;
    bool drawCosts = false;
    bool titleOnly = false;
    std::string frameLogPath;
    std::vector<std::string> levels;
    for (int i = 2; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc)
            seconds = std::atof(argv[++i]);
        else if (arg == "--draw-costs")
            drawCosts = true;
        else if (arg == "--title-only")
            titleOnly = true;
        else if (arg == "--frame-log" && i + 1 < argc)
            frameLogPath = argv[++i];
        else
            levels.push_back(arg);
    }
    if (levels.empty())
        levels = shippedLevels(sourceDir);

    std::printf("Build type: %s%s\n", QUOBBEL_BUILD_TYPE,
                std::string(QUOBBEL_BUILD_TYPE) == "Release" ? ""
                                                             : " (figures are only meaningful in Release)");
    GameDriver game(new IntroScene, {}, {{"Quobbel.cfg", benchConfiguration}});
    std::printf("Window %ux%u; load average at the start: ", theRenderWindow->getWidth(),
                theRenderWindow->getHeight());
    if (FILE* load = std::fopen("/proc/loadavg", "r"))
    {
        char text[64] = {};
        std::fputs(std::fgets(text, sizeof text, load) ? text : "?\n", stdout);
        std::fclose(load);
    }
    RenderPhases phases(*theSceneManager, *theViewport);
    std::unique_ptr<DrawCosts> costs;
    if (drawCosts)
        costs = std::make_unique<DrawCosts>(*theSceneManager, *theRenderWindow);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> frameLog(nullptr, std::fclose);
    if (!frameLogPath.empty())
    {
        frameLog.reset(std::fopen(frameLogPath.c_str(), "w"));
        if (!frameLog)
            throw std::runtime_error("cannot write the frame log " + frameLogPath);
        std::fputs("level players frame wall_ms process_cpu_ms update_ms scene_ms submit_ms\n",
                   frameLog.get());
    }
    const auto printRow = [&costs, &frameLog](const Row& row, const std::vector<FrameCosts>& frames)
    {
        print(row);
        if (costs)
            costs->printAndReset(row.costs.frames);
        if (frameLog)
            logFrames(frameLog.get(), row, frames);
    };
    printHeader();

    std::vector<Row> rows;
    {
        const long titleFrames = std::lround((seconds > 0 ? std::min(seconds, titleSeconds) : titleSeconds) /
                                             GameDriver::frameSeconds);
        std::vector<FrameCosts> frames;
        for (long i = 0; i < titleFrames; ++i)
            frames.push_back(phases.frame(
                [&]
                {
                    // The title's update time includes its scene graph update.
                    const double start = threadCpuMicros();
                    game.step(ReplayFrame());
                    return (threadCpuMicros() - start) / 1000;
                }));
        rows.push_back(measured("title", 1, frames));
        printRow(rows.back(), frames);
    }
    if (titleOnly)
    {
        switchTo(game, Scene::quitMarker());
        return 0;
    }
    // The first level of the process, from the title: it also loads the media the levels share.
    RunRecord first;
    playLevel(game, phases, firstLevel, 1, routeFor(sourceDir, firstLevel, 1, 2), first);
    const double firstLoadMs = first.loadMilliseconds;
    if (costs)
        costs->forget();

    for (const std::string& level : levels)
        for (int players = 1; players <= 2; ++players)
        {
            // Two-player games end before the boss level.
            if (players == 2 && level == "boss1.imf")
                continue;
            RunRecord record;
            const std::vector<FrameCosts> frames =
                playLevel(game, phases, level, players, routeFor(sourceDir, level, players, seconds), record);
            rows.push_back(measured(level, players, frames));
            printRow(rows.back(), frames);
        }
    switchTo(game, Scene::quitMarker());

    std::printf(
        "First level load of the process, from the title: %.1f ms wall clock, %.1f ms processor time\n",
        firstLoadMs, first.loadCpuMilliseconds);
    std::printf(
        "Targets: median at least %.0f fps and 1%% low at least %.0f fps everywhere, first level load "
        "under %.0f ms\n",
        minMedianFps, minLowFps, maxFirstLoadMs);
    std::printf("update: the scene's update; scene: scene graph, culling and render queue; submit: GL calls, "
                "buffer swap and the frame's end (main thread); process cpu: all threads\n");
    std::printf(checkTargets(rows, firstLoadMs) ? "All targets met.\n" : "Some targets missed.\n");
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    return runReportingErrors(run, argc, argv);
}
