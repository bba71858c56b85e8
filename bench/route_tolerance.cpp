// How much slack the shipped levels give a person: every recorded route is played many times with each
// segment (a run of identical frames) a few frames longer or shorter than recorded, and the share of runs
// that still win the level is counted per level, player count and amount of jitter k. For the runs that
// fail it tells where they went wrong: the first fall or meteor strike and the platform last stood on.
//
//   route_tolerance <source dir> [--runs N] [--k 2,4,6] [--seed S] [--jobs J] [route ...]
//   route_tolerance <source dir> --write <route> <k> <run> <output file> [--seed S]
// Routes are named by their file's stem under <source dir>/tests/routes ("mapa2_1p"); all by default.
// Run r at jitter k uses the seed made from (S, k, r), so any run can be played again: --write saves it as
// a route file for replay_demo. Each play runs in a child process of its own, J (2) at a time. Needs an X
// display: run it under xvfb-run, in a Release build.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "program_main.h"
#include "route_jitter.h"
#include "tolerance_run.h"

namespace
{
// A play that takes longer than this has hung: minutes of game time take seconds in Release.
constexpr auto playTimeLimit = std::chrono::minutes(10);
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

// A child process playing one run; its outcome arrives through `pipe`.
struct Child
{
    std::size_t play;
    int pipe;
    std::chrono::steady_clock::time_point started;
};

pid_t startChild(const Play& play, const RecordedRoute& file, std::uint32_t seed, int& readEnd)
{
    int ends[2];
    if (pipe(ends) != 0)
        throw std::runtime_error("no pipe for a child process");
    const Route route = jitteredRoute(file.route, play.k, runSeed(seed, play.k, play.run));
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("cannot start a child process");
    if (pid == 0)
    {
        close(ends[0]);
        RunOutcome outcome;
        try
        {
            outcome = playWatched(file.level, file.players, route);
        }
        catch (...)
        {
            outcome = RunOutcome();
            outcome.failed = 1;
        }
        // Smaller than a pipe's atomic write: never blocks, never split.
        const bool whole = write(ends[1], &outcome, sizeof outcome) == static_cast<ssize_t>(sizeof outcome);
        _exit(whole ? 0 : 1);
    }
    close(ends[1]);
    readEnd = ends[0];
    return pid;
}

RunOutcome collect(int readEnd, int status)
{
    RunOutcome outcome;
    const bool exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!exited || read(readEnd, &outcome, sizeof outcome) != static_cast<ssize_t>(sizeof outcome))
    {
        outcome = RunOutcome();
        outcome.failed = 1;
    }
    close(readEnd);
    return outcome;
}

// Plays every run, `jobs` at a time, and fills in the outcomes. A play past the time limit is killed and
// counts as failed.
void playAll(std::vector<Play>& plays, const std::vector<RecordedRoute>& files, const Options& options)
{
    std::map<pid_t, Child> running;
    std::size_t next = 0;
    std::size_t done = 0;
    while (next < plays.size() || !running.empty())
    {
        while (next < plays.size() && static_cast<int>(running.size()) < options.jobs)
        {
            int readEnd = -1;
            const pid_t pid = startChild(plays[next], files[plays[next].routeIndex], options.seed, readEnd);
            running[pid] = Child{next++, readEnd, std::chrono::steady_clock::now()};
        }
        int status = 0;
        const pid_t pid = waitpid(-1, &status, WNOHANG);
        if (pid > 0 && running.count(pid))
        {
            const Child child = running[pid];
            running.erase(pid);
            plays[child.play].outcome = collect(child.pipe, status);
            if (++done % static_cast<std::size_t>(options.runs) == 0)
                std::fprintf(stderr, "%zu of %zu plays\n", done, plays.size());
            continue;
        }
        for (const auto& [childPid, child] : running)
            if (std::chrono::steady_clock::now() - child.started > playTimeLimit)
                kill(childPid, SIGKILL);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
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

std::string describe(const FailureKind& kind, const FailureGroup& group)
{
    if (kind.crashed)
        return "the play crashed or hung";
    const RunOutcome& first = group.plays.front()->outcome;
    float low = first.x;
    float high = first.x;
    for (const Play* play : group.plays)
    {
        low = std::min(low, play->outcome.x);
        high = std::max(high, play->outcome.x);
    }
    char text[200];
    const char* what = kind.mishap == Mishap::None ? "no fall, the level not won" : mishapName(kind.mishap);
    if (kind.mishap == Mishap::None)
        std::snprintf(text, sizeof text, "%s", what);
    else
        std::snprintf(text, sizeof text, "%s at x %.0f..%.0f", what, static_cast<double>(low),
                      static_cast<double>(high));
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

Options parseOptions(int argc, char** argv)
{
    Options options;
    options.sourceDir = argv[1];
    for (int i = 2; i < argc; ++i)
    {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--runs" && hasValue)
            options.runs = std::stoi(argv[++i]);
        else if (arg == "--k" && hasValue)
            options.jitters = parseJitters(argv[++i]);
        else if (arg == "--seed" && hasValue)
            options.seed = static_cast<std::uint32_t>(std::stoul(argv[++i]));
        else if (arg == "--jobs" && hasValue)
            options.jobs = std::stoi(argv[++i]);
        else if (arg.rfind("--", 0) == 0)
            throw std::runtime_error("unknown option or missing value: " + arg);
        else
            options.routes.push_back(arg);
    }
    if (options.runs < 1 || options.jobs < 1 || options.jitters.empty())
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

int run(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr,
                     "usage: %s <source dir> [--runs N] [--k 2,4,6] [--seed S] [--jobs J] [route ...]\n"
                     "       %s <source dir> --write <route> <k> <run> <output file> [--seed S]\n",
                     argv[0], argv[0]);
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
    const Options options = parseOptions(argc, argv);
    std::vector<RecordedRoute> files;
    for (const std::string& name : options.routes)
        files.push_back(loadRecordedRoute(options.sourceDir, name));

    std::vector<Play> plays;
    for (std::size_t r = 0; r < files.size(); ++r)
        for (int k : options.jitters)
            for (int run = 0; run < options.runs; ++run)
                plays.push_back({r, k, run, RunOutcome()});
    std::printf("Build type: %s%s. %zu plays, %d at a time, base seed %u\n", QUOBBEL_BUILD_TYPE,
                std::string(QUOBBEL_BUILD_TYPE) == "Release" ? "" : " (slow: use Release)", plays.size(),
                options.jobs, options.seed);
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    playAll(plays, files, options);
    printTable(plays, files, options);
    std::printf("\n%.0f s in all\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    return runReportingErrors(run, argc, argv);
}
