#include "play_pool.h"

#include <chrono>
#include <csignal>
#include <map>
#include <stdexcept>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace
{
constexpr auto playTimeLimit = std::chrono::minutes(10);

struct Child
{
    std::size_t play;
    int pipe; // read end: the outcome arrives here
    std::chrono::steady_clock::time_point started;
};

pid_t startChild(const PlayRequest& request, int& readEnd)
{
    int ends[2];
    if (pipe(ends) != 0)
        throw std::runtime_error("no pipe for a child process");
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("cannot start a child process");
    if (pid == 0)
    {
        close(ends[0]);
        RunOutcome outcome;
        try
        {
            outcome = playWatched(request.level, request.players, request.route);
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
} // namespace

std::vector<RunOutcome> playInChildren(std::size_t count,
                                       const std::function<PlayRequest(std::size_t)>& request, int jobs,
                                       const std::function<void(std::size_t)>& progress)
{
    std::vector<RunOutcome> outcomes(count);
    std::map<pid_t, Child> running;
    std::size_t next = 0;
    std::size_t done = 0;
    while (next < count || !running.empty())
    {
        while (next < count && static_cast<int>(running.size()) < jobs)
        {
            int readEnd = -1;
            const pid_t pid = startChild(request(next), readEnd);
            running[pid] = Child{next++, readEnd, std::chrono::steady_clock::now()};
        }
        int status = 0;
        const pid_t pid = waitpid(-1, &status, WNOHANG);
        if (pid > 0 && running.count(pid))
        {
            const Child child = running[pid];
            running.erase(pid);
            outcomes[child.play] = collect(child.pipe, status);
            if (progress)
                progress(++done);
            continue;
        }
        for (const auto& [childPid, child] : running)
            if (std::chrono::steady_clock::now() - child.started > playTimeLimit)
                kill(childPid, SIGKILL);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return outcomes;
}
