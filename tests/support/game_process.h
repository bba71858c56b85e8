#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <sys/types.h>

// The real game binary, started as a child process in a directory of the test's choosing.
class GameProcess
{
  public:
    // Starts `binary` with `workingDir` as its working directory and this process's environment with
    // `environment` ("NAME=value" each) on top; standard output and error go to files in that directory
    // ("stdout.txt", "stderr.txt").
    GameProcess(const std::string& binary, const std::string& workingDir,
                const std::vector<std::string>& environment = {});
    // Kills the process if it is still running.
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Waits for the process to end; returns its exit code, or -1 on a time-out or a signal.
    int waitForExit(std::chrono::milliseconds timeout);
    bool running();
    std::string standardError() const;
    // For a failed wait: standard error, then how the process ended (the signal that killed it) or, if it
    // still runs, every thread's call stack, taken with gdb.
    std::string diagnosis();
    // Whether standard error holds a sanitizer's report or a crash's message. (The sanitizers end a
    // process with exit code 1, so the code alone does not tell.)
    bool reportedCrash() const;

  private:
    pid_t pid = -1;
    std::string dir;
    int exitCode = -1;
    int endSignal = 0;
};

// A scratch copy of the game directory (binary, configuration, media), removed when the object goes.
class GameDirCopy
{
  public:
    GameDirCopy();
    ~GameDirCopy();
    GameDirCopy(const GameDirCopy&) = delete;
    GameDirCopy& operator=(const GameDirCopy&) = delete;

    const std::string& path() const { return dir; }
    std::string file(const std::string& name) const { return dir + "/" + name; }
    std::string read(const std::string& name) const;
    void write(const std::string& name, const std::string& text) const;

  private:
    std::string dir;
};

// Polls `condition` every 20 ms until it holds or the time-out passes.
template <typename Condition> bool waitFor(Condition condition, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition())
    {
        if (std::chrono::steady_clock::now() > end)
            return false;
        struct timespec pause = {0, 20 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    return true;
}
