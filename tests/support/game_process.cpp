#include "support/game_process.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/test_paths.h"

namespace fs = std::filesystem;

GameProcess::GameProcess(const std::string& binary, const std::string& workingDir,
                         const std::vector<std::string>& environment)
    : dir(workingDir)
{
    pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0)
    {
        if (chdir(workingDir.c_str()) != 0)
            _exit(127);
        const int out = open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        for (const std::string& variable : environment)
        {
            const std::size_t equals = variable.find('=');
            setenv(variable.substr(0, equals).c_str(), variable.substr(equals + 1).c_str(), 1);
        }
        execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

GameProcess::~GameProcess()
{
    if (running())
    {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

bool GameProcess::running()
{
    if (pid <= 0)
        return false;
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == 0)
        return true;
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    endSignal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    pid = -1;
    return false;
}

int GameProcess::waitForExit(std::chrono::milliseconds timeout)
{
    if (!waitFor([this] { return !running(); }, timeout))
        return -1;
    return exitCode;
}

std::string GameProcess::diagnosis()
{
    std::string text = standardError();
    if (!running())
        return endSignal ? text + "\nThe game was ended by signal " + std::to_string(endSignal) : text;
    text += "\nThe game is still running; its threads:\n";
    FILE* pipe =
        popen(("gdb -batch -nx -p " + std::to_string(pid) + " -ex 'thread apply all bt' 2>&1").c_str(), "r");
    if (!pipe)
        return text + "(gdb could not be started)";
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, n);
    pclose(pipe);
    return text;
}

std::string GameProcess::standardError() const
{
    std::ifstream in(dir + "/stderr.txt");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool GameProcess::reportedCrash() const
{
    const std::string text = standardError();
    for (const char* sign : {"Sanitizer", "runtime error", "Segmentation fault"})
        if (text.find(sign) != std::string::npos)
            return true;
    return false;
}

GameDirCopy::GameDirCopy()
{
    char pattern[] = "/tmp/quobbel-game-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    dir = pattern;
    fs::copy(testing_paths::gameDir(), dir,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::remove(file("quobbel.log"));
    fs::remove(file("scores.icl"));
    // A player's own controls and controller mappings, should the build's game directory hold any.
    fs::remove(file("controls.cfg"));
    fs::remove(file("gamecontrollerdb.txt"));
}

GameDirCopy::~GameDirCopy()
{
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}

std::string GameDirCopy::read(const std::string& name) const
{
    std::ifstream in(file(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void GameDirCopy::write(const std::string& name, const std::string& text) const
{
    std::ofstream(file(name), std::ios::binary | std::ios::trunc) << text;
}
