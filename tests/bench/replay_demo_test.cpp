// The demo that scripts/play.sh runs without a display: the real game along a route, with screenshots.

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "support/file_bytes.h"
#include "support/game_process.h"

namespace fs = std::filesystem;
extern char** environ;

namespace
{
// Runs the demo with `args` and returns its exit code (-1 on a time-out or a signal).
int runDemo(const std::vector<std::string>& args, const std::string& log)
{
    std::vector<std::string> all = {QUOBBEL_REPLAY_DEMO};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&files, 1, 2);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0)
        return -1;
    int status = 0;
    const bool done = waitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, std::chrono::minutes(3));
    if (!done)
    {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class ReplayDemo : public testing::Test
{
  protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/quobbel-demo-test-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string dir;
};
} // namespace

TEST_F(ReplayDemo, PlaysTheRouteAndSavesAPictureAtEachIntervalAndAtTheEnd)
{
    // 2.5 s: the "GO" sign, then running right on screen with one jump.
    std::ofstream(dir + "/short.route") << "60 -\n40 R\n20 RJ\n30 R\n";
    const std::string shots = dir + "/shots";
    ASSERT_EQ(runDemo({"mapa1.imf", "1", dir + "/short.route", shots, "1"}, dir + "/log.txt"), 0)
        << readFile(dir + "/log.txt");
    for (const char* name : {"mapa1-000s.png", "mapa1-001s.png", "mapa1-002s.png", "mapa1-end.png"})
    {
        const std::string png = readFile(shots + "/" + name);
        ASSERT_GT(png.size(), 1000u) << name;
        EXPECT_EQ(png.substr(1, 3), "PNG") << name;
    }
    EXPECT_FALSE(fs::exists(shots + "/mapa1-003s.png"));
    EXPECT_NE(readFile(dir + "/log.txt").find("Screenshots are in " + shots), std::string::npos)
        << "the demo says where the pictures are";
}

TEST_F(ReplayDemo, AMissingRouteOrLevelIsAnErrorNotASilentSuccess)
{
    EXPECT_EQ(runDemo({"mapa1.imf", "1", dir + "/none.route", dir + "/shots"}, dir + "/log.txt"), 1);
    EXPECT_NE(readFile(dir + "/log.txt").find("none.route"), std::string::npos);

    std::ofstream(dir + "/short.route") << "10 R\n";
    EXPECT_EQ(runDemo({"nowhere.imf", "1", dir + "/short.route", dir + "/shots"}, dir + "/log.txt"), 1)
        << readFile(dir + "/log.txt");
}
