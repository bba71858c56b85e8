// How much slack the shipped levels give a person: every recorded route is played many times with each
// segment (a run of identical frames) a few frames longer or shorter than recorded, and the share of runs
// that still win the level is counted per level, player count and amount of jitter k. For the runs that
// fail it tells where they went wrong: the first fall or meteor strike, the route line being played and
// the platform last stood on.
//
//   route_tolerance <source dir> [--runs N] [--k 2,4,6] [--seed S] [--jobs J] [route ...]
//   route_tolerance <source dir> --write <route> <k> <run> <output file> [--seed S]
//   route_tolerance <source dir> --slack <route> [--reach D] [--jobs J]
//   route_tolerance <source dir> --trace <route>
// Routes are named by their file's stem under <source dir>/tests/routes ("mapa2_1p"), all by default, or
// given as a path to a route file named the same way (/tmp/mapa2_1p.route).
// Run r at jitter k uses the seed made from (S, k, r), so any run can be played again: --write saves it as
// a route file for replay_demo. --slack shows where a route is tight: for every line, how many frames it
// may be shortened or lengthened alone (up to D, 6 by default) and still win. Each play runs in a child
// process of its own, J (2) at a time. --trace plays a route once and prints where the players are as each
// of its lines starts. Needs an X display: run it under xvfb-run, in a Release build.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include <box2d/box2d.h>

#include "play_pool.h"
#include "program_main.h"
#include "route_jitter.h"
#include "scenes/main_scene.h"
#include "tolerance_run.h"
#include "world/player.h"

namespace
{
// Failing run numbers listed per kind of failure.
constexpr std::size_t runsListed = 8;

struct Options
{
    std::string sourceDir;
    int runs = 50;
    std::vector<int> jitters = {2, 4, 6};
    std::uint32_t seed = 1;
    int jobs = 2;
    std::vector<std::string> routes;
    int reach = 6; // --slack
};

struct Play
{
    std::size_t routeIndex;
    int k;
    int run;
    RunOutcome outcome;
};

std::vector<int> parseJitters(const std::string& list)
{
    std::vector<int> jitters;
    std::istringstream in(list);
    std::string item;
    while (std::getline(in, item, ','))
    {
        const int k = std::stoi(item);
        if (k < 0)
            throw std::runtime_error("k must not be negative");
        jitters.push_back(k);
    }
    return jitters;
}

std::string percent(int part, int whole)
{
    char text[16];
    std::snprintf(text, sizeof text, "%3.0f%%", whole ? 100.0 * part / whole : 0.0);
    return text;
}

// Failed runs that went wrong the same way: the same first mishap after the same platform.
struct FailureKind
{
    int crashed;
    Mishap mishap;
    int platform;
    bool operator<(const FailureKind& o) const
    {
        return std::tie(crashed, mishap, platform) < std::tie(o.crashed, o.mishap, o.platform);
    }
};

struct FailureGroup
{
    std::vector<const Play*> plays;
};

// "meteor hit at x -517..-515 during route lines 41..43, last on platform 11 (static, anchor at -503, 50)"
std::string describe(const FailureKind& kind, const FailureGroup& group)
{
    if (kind.crashed)
        return "the play crashed or hung";
    const RunOutcome& first = group.plays.front()->outcome;
    float low = first.x;
    float high = first.x;
    int firstLine = first.mishapLine;
    int lastLine = first.mishapLine;
    for (const Play* play : group.plays)
    {
        low = std::min(low, play->outcome.x);
        high = std::max(high, play->outcome.x);
        firstLine = std::min(firstLine, play->outcome.mishapLine);
        lastLine = std::max(lastLine, play->outcome.mishapLine);
    }
    char text[200];
    if (kind.mishap == Mishap::None)
        std::snprintf(text, sizeof text, "no fall but the level not won, left at x %.0f..%.0f",
                      static_cast<double>(low), static_cast<double>(high));
    else
        std::snprintf(text, sizeof text, "%s at x %.0f..%.0f during route lines %d..%d",
                      mishapName(kind.mishap), static_cast<double>(low), static_cast<double>(high), firstLine,
                      lastLine);
    std::string line = text;
    const PlatformSpot& spot = first.footing;
    if (spot.index < 0)
        return line + ", before any platform";
    std::snprintf(text, sizeof text, ", last on platform %d (%s, anchor at %.0f, %.0f)", spot.index,
                  platformClassName(spot.kind), static_cast<double>(spot.x), static_cast<double>(spot.y));
    return line + text;
}

void printFailures(const std::vector<const Play*>& failed)
{
    std::map<FailureKind, FailureGroup> groups;
    for (const Play* play : failed)
    {
        const RunOutcome& o = play->outcome;
        groups[{o.failed, o.failed ? Mishap::None : o.mishap, o.failed ? -1 : o.footing.index}]
            .plays.push_back(play);
    }
    for (const auto& [kind, group] : groups)
    {
        std::string runs;
        for (std::size_t i = 0; i < group.plays.size() && i < runsListed; ++i)
            runs += " " + std::to_string(group.plays[i]->run);
        if (group.plays.size() > runsListed)
            runs += " ...";
        std::printf("    %3zu  %s; runs%s\n", group.plays.size(), describe(kind, group).c_str(),
                    runs.c_str());
    }
}

void printTable(const std::vector<Play>& plays, const std::vector<RecordedRoute>& files,
                const Options& options)
{
    std::printf("\n%-12s %-8s", "level", "players");
    for (int k : options.jitters)
        std::printf("  k = %-3d", k);
    std::printf("   (share of %d runs that win the level)\n", options.runs);
    for (std::size_t r = 0; r < files.size(); ++r)
    {
        std::printf("%-12s %-8d", files[r].level.c_str(), files[r].players);
        for (int k : options.jitters)
        {
            int won = 0;
            for (const Play& play : plays)
                won +=
                    play.routeIndex == r && play.k == k && play.outcome.reachedGoal && !play.outcome.failed;
            std::printf("  %-7s", percent(won, options.runs).c_str());
        }
        std::printf("\n");
    }
    std::printf("\nWhere the failed runs went wrong (the first mishap of either player):\n");
    for (std::size_t r = 0; r < files.size(); ++r)
        for (int k : options.jitters)
        {
            std::vector<const Play*> failed;
            for (const Play& play : plays)
                if (play.routeIndex == r && play.k == k && (!play.outcome.reachedGoal || play.outcome.failed))
                    failed.push_back(&play);
            if (failed.empty())
                continue;
            std::printf("  %s, k = %d: %zu of %d failed\n", files[r].name.c_str(), k, failed.size(),
                        options.runs);
            printFailures(failed);
        }
}

// The options are argv[first] onwards.
Options parseOptions(int argc, char** argv, int first)
{
    Options options;
    options.sourceDir = argv[1];
    for (int i = first; i < argc; ++i)
    {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--runs" && hasValue)
            options.runs = std::stoi(argv[++i]);
        else if (arg == "--k" && hasValue)
            options.jitters = parseJitters(argv[++i]);
        else if (arg == "--seed" && hasValue)
            options.seed = static_cast<std::uint32_t>(std::stoul(argv[++i]));
        else if (arg == "--reach" && hasValue)
            options.reach = std::stoi(argv[++i]);
        else if (arg == "--jobs" && hasValue)
            options.jobs = std::stoi(argv[++i]);
        else if (arg.rfind("--", 0) == 0)
            throw std::runtime_error("unknown option or missing value: " + arg);
        else
            options.routes.push_back(arg);
    }
    if (options.runs < 1 || options.jobs < 1 || options.reach < 1 || options.jitters.empty())
        throw std::runtime_error("runs and jobs must be at least 1, and k needs a value");
    if (options.routes.empty())
        options.routes = recordedRouteNames(options.sourceDir);
    return options;
}

// --write <route> <k> <run> <output file> [--seed S]
int writeOneRun(int argc, char** argv)
{
    if (argc < 7)
        throw std::runtime_error("--write needs <route> <k> <run> <output file>");
    const RecordedRoute file = loadRecordedRoute(argv[1], argv[3]);
    const int k = std::stoi(argv[4]);
    const int run = std::stoi(argv[5]);
    const std::uint32_t seed =
        argc > 8 && std::string(argv[7]) == "--seed" ? static_cast<std::uint32_t>(std::stoul(argv[8])) : 1;
    std::ofstream out(argv[6]);
    out << "# " << file.name << ", run " << run << " at k = " << k << ", seed " << seed << "\n"
        << routeText(jitteredRoute(file.route, k, runSeed(seed, k, run)));
    if (!out)
        throw std::runtime_error(std::string("cannot write ") + argv[6]);
    return 0;
}

void measureTolerance(const Options& options)
{
    std::vector<RecordedRoute> files;
    for (const std::string& name : options.routes)
        files.push_back(loadRecordedRoute(options.sourceDir, name));
    std::vector<Play> plays;
    for (std::size_t r = 0; r < files.size(); ++r)
        for (int k : options.jitters)
            for (int run = 0; run < options.runs; ++run)
                plays.push_back({r, k, run, RunOutcome()});
    std::printf("%zu plays, %d at a time, base seed %u\n", plays.size(), options.jobs, options.seed);
    std::fflush(stdout);
    const auto request = [&](std::size_t i)
    {
        const Play& play = plays[i];
        const RecordedRoute& file = files[play.routeIndex];
        return PlayRequest{file.level, file.players,
                           jitteredRoute(file.route, play.k, runSeed(options.seed, play.k, play.run))};
    };
    const auto progress = [&](std::size_t done)
    {
        if (done % static_cast<std::size_t>(options.runs) == 0)
            std::fprintf(stderr, "%zu of %zu plays\n", done, plays.size());
    };
    const std::vector<RunOutcome> outcomes = playInChildren(plays.size(), request, options.jobs, progress);
    for (std::size_t i = 0; i < plays.size(); ++i)
        plays[i].outcome = outcomes[i];
    printTable(plays, files, options);
}

// One segment of a route played longer (change > 0) or shorter than recorded, all else unchanged.
struct Trial
{
    std::size_t segment;
    long change;
};

std::vector<RunOutcome> playTrials(const RecordedRoute& file, const std::vector<Trial>& trials, int jobs)
{
    const auto request = [&](std::size_t i)
    {
        return PlayRequest{file.level, file.players,
                           shiftedRoute(file.route, trials[i].segment, trials[i].change)};
    };
    return playInChildren(trials.size(), request, jobs);
}

std::string slackText(long slack, int reach, const RunOutcome* firstFailure)
{
    if (!firstFailure)
        return std::to_string(reach) + "+";
    char text[96];
    std::snprintf(text, sizeof text, "%ld (then %s at x %.0f)", slack,
                  firstFailure->failed ? "crashed" : mishapName(firstFailure->mishap),
                  static_cast<double>(firstFailure->x));
    return text;
}

// Every segment shortened and lengthened by the reach; where that fails, by every smaller amount. A
// segment's slack on one side is the largest change up to which every change still wins.
int measureSlack(const Options& options, const std::string& name)
{
    const RecordedRoute file = loadRecordedRoute(options.sourceDir, name);
    const std::vector<RouteSegment> segments = segmentsOf(file.route);
    std::vector<Trial> trials = {{segments.size(), 0}};
    for (std::size_t i = 0; i < segments.size(); ++i)
        for (long sign : {-1L, 1L})
            trials.push_back({i, sign * options.reach});
    std::printf("%s: %zu lines, each shifted alone by up to %d frames\n", name.c_str(), segments.size(),
                options.reach);
    std::fflush(stdout);
    std::vector<RunOutcome> outcomes = playTrials(file, trials, options.jobs);
    if (!outcomes[0].reachedGoal)
    {
        std::printf("The route does not win as recorded: %s at x %.0f, line %d\n",
                    mishapName(outcomes[0].mishap), static_cast<double>(outcomes[0].x),
                    outcomes[0].mishapLine);
        return 1;
    }
    std::vector<Trial> closer;
    for (std::size_t t = 1; t < trials.size(); ++t)
        if (!outcomes[t].reachedGoal)
            for (long d = 1; d < options.reach; ++d)
                closer.push_back({trials[t].segment, trials[t].change > 0 ? d : -d});
    const std::vector<RunOutcome> closerOutcomes = playTrials(file, closer, options.jobs);
    trials.insert(trials.end(), closer.begin(), closer.end());
    outcomes.insert(outcomes.end(), closerOutcomes.begin(), closerOutcomes.end());

    int tight = 0;
    for (std::size_t i = 0; i < segments.size(); ++i)
    {
        // Per side (shorter, longer): the slack, and the outcome of the smallest change that failed.
        long slack[2] = {options.reach, options.reach};
        const RunOutcome* failure[2] = {nullptr, nullptr};
        for (std::size_t t = 1; t < trials.size(); ++t)
        {
            const int side = trials[t].change > 0;
            const long d = std::labs(trials[t].change);
            if (trials[t].segment == i && !outcomes[t].reachedGoal && d - 1 < slack[side])
            {
                slack[side] = d - 1;
                failure[side] = &outcomes[t];
            }
        }
        if (!failure[0] && !failure[1])
            continue;
        ++tight;
        std::printf("  line %3d (%ld %s %s): shorter by %s, longer by %s\n", segments[i].line,
                    segments[i].frames, segments[i].actions.letters(0).c_str(),
                    segments[i].actions.letters(1).c_str(),
                    slackText(slack[0], options.reach, failure[0]).c_str(),
                    slackText(slack[1], options.reach, failure[1]).c_str());
    }
    std::printf("%d of %zu lines have less than %d frames of slack on a side\n", tight, segments.size(),
                options.reach);
    return 0;
}

// Where the players are as each line of the route starts: for writing and mending routes.
int traceRoute(const Options& options, const std::string& name)
{
    const RecordedRoute file = loadRecordedRoute(options.sourceDir, name);
    int lastLine = -1;
    const auto observe = [&](const MainScene& scene, long frame, int line)
    {
        if (line == lastLine)
            return;
        lastLine = line;
        std::printf("line %3d  %6.2f s", line, static_cast<double>(frame) * GameDriver::frameSeconds);
        for (int number = 1; number <= scene.numPlayers(); ++number)
        {
            const Player& player = *scene.player(number);
            const b2Vec2 feet = player.feetBody()->GetPosition();
            const PlatformSpot spot = footingOf(player);
            std::printf("   p%d (%7.1f, %5.1f) ", number, static_cast<double>(feet.x),
                        static_cast<double>(feet.y));
            if (spot.index < 0)
                std::printf("in the air                    ");
            else
                std::printf("on platform %2d at (%6.1f, %5.1f)", spot.index, static_cast<double>(spot.x),
                            static_cast<double>(spot.y));
        }
        std::printf("\n");
    };
    const RunOutcome outcome = playWatched(file.level, file.players, file.route, {}, observe);
    std::printf("%s after %ld frames; first mishap: ", outcome.reachedGoal ? "Won" : "Not won",
                outcome.frames);
    if (outcome.mishap == Mishap::None)
        std::printf("none\n");
    else
        std::printf("%s at (%.1f, %.1f) during line %d, player %d\n", mishapName(outcome.mishap),
                    static_cast<double>(outcome.x), static_cast<double>(outcome.y), outcome.mishapLine,
                    outcome.mishapPlayer);
    return outcome.reachedGoal ? 0 : 1;
}

int run(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr,
                     "usage: %s <source dir> [--runs N] [--k 2,4,6] [--seed S] [--jobs J] [route ...]\n"
                     "       %s <source dir> --write <route> <k> <run> <output file> [--seed S]\n"
                     "       %s <source dir> --slack <route> [--reach D] [--jobs J]\n"
                     "       %s <source dir> --trace <route>\n",
                     argv[0], argv[0], argv[0], argv[0]);
        return 2;
    }
    if (argc > 2 && std::string(argv[2]) == "--write")
        return writeOneRun(argc, argv);
    if (!std::getenv("DISPLAY"))
    {
        std::fprintf(stderr,
                     "route_tolerance needs an X display to open the game's window: run it under xvfb-run\n");
        return 2;
    }
    setenv("ALSOFT_DRIVERS", "null", 0);
    const std::string mode = argc > 3 ? argv[2] : "";
    const bool oneRoute = mode == "--slack" || mode == "--trace";
    const Options options = parseOptions(argc, argv, oneRoute ? 4 : 2);
    if (mode == "--trace")
        return traceRoute(options, argv[3]);
    std::printf("Build type: %s%s\n", QUOBBEL_BUILD_TYPE,
                std::string(QUOBBEL_BUILD_TYPE) == "Release" ? "" : " (slow: use Release)");
    const auto start = std::chrono::steady_clock::now();
    const int status = oneRoute ? measureSlack(options, argv[3]) : (measureTolerance(options), 0);
    std::printf("\n%.0f s in all\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return status;
}
} // namespace

int main(int argc, char** argv)
{
    return runReportingErrors(run, argc, argv);
}
