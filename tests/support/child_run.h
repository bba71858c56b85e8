#pragma once

// Runs a piece of a test in a forked child process. The engine's GL window can be made only once per
// process, so a test that needs two fresh games (a replay and its rerun) plays each in a child of its own.

#include <cstddef>
#include <type_traits>

#include <sys/wait.h>
#include <unistd.h>

// `work()` runs in the child; its result comes back through a pipe, so Result must be plain bytes. A child
// that throws, crashes or writes less gives a default Result with `failed` set.
template <typename Result, typename Work> Result runInChild(Work work)
{
    static_assert(std::is_trivially_copyable_v<Result>, "the result crosses a pipe as raw bytes");
    Result result;
    result.failed = 1;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return result;
    const pid_t child = fork();
    if (child == 0)
    {
        close(pipeEnds[0]);
        Result answer;
        try
        {
            answer = work();
        }
        catch (...)
        {
            answer = Result();
            answer.failed = 1;
        }
        const ssize_t written = write(pipeEnds[1], &answer, sizeof answer);
        _exit(written == static_cast<ssize_t>(sizeof answer) ? 0 : 1);
    }
    close(pipeEnds[1]);
    Result received;
    std::size_t got = 0;
    char* bytes = reinterpret_cast<char*>(&received);
    while (child > 0 && got < sizeof received)
    {
        const ssize_t n = read(pipeEnds[0], bytes + got, sizeof received - got);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    close(pipeEnds[0]);
    int status = 0;
    if (child > 0)
        waitpid(child, &status, 0);
    if (got == sizeof received && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        result = received;
    return result;
}
