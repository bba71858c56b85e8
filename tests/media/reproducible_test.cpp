// The media generator gives the same bytes on every run, so a build never changes the game's media by
// itself, and it stays fast enough to run on every build.

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "support/test_paths.h"

extern char** environ;

namespace
{
namespace fs = std::filesystem;

struct GeneratorRun
{
    int exitCode = -1;
    double wallSeconds = 0.0;
    double cpuSeconds = 0.0; // user + system time of the generator alone
};

double childCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

GeneratorRun runGenerator(const fs::path& outputDir)
{
    const std::string binary = testing_paths::binaryDir() + "/tools/mediagen/mediagen";
    const std::string output = outputDir.string(), levels = testing_paths::sourceDir() + "/levels";
    std::vector<char*> argv = {const_cast<char*>(binary.c_str()), const_cast<char*>(output.c_str()),
                               const_cast<char*>(levels.c_str()), nullptr};
    GeneratorRun run;
    const double cpuBefore = childCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (posix_spawn(&pid, binary.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return run;
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    run.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuSeconds = childCpuSeconds() - cpuBefore;
    return run;
}

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> fileNames(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ScratchDir
{
  public:
    ScratchDir()
    {
        std::string pattern = (fs::temp_directory_path() / "mediagen-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            mPath = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        if (!mPath.empty())
            fs::remove_all(mPath, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const fs::path& path() const { return mPath; }

  private:
    fs::path mPath;
};

TEST(MediaGenerator, TwoRunsGiveIdenticalBytesWellWithinAMinute)
{
    ScratchDir first, second;
    ASSERT_FALSE(first.path().empty());
    ASSERT_FALSE(second.path().empty());
    const GeneratorRun one = runGenerator(first.path());
    const GeneratorRun two = runGenerator(second.path());
    ASSERT_EQ(one.exitCode, 0);
    ASSERT_EQ(two.exitCode, 0);

    std::cout << "[ timing   ] mediagen: " << one.wallSeconds << " s wall, " << one.cpuSeconds
              << " s CPU; then " << two.wallSeconds << " s wall, " << two.cpuSeconds << " s CPU\n";
    RecordProperty("generation_cpu_seconds", std::to_string(one.cpuSeconds));
    RecordProperty("generation_wall_seconds", std::to_string(one.wallSeconds));
    // CPU time, not wall time: the machine is shared, and waiting for a core is not the generator's cost.
    EXPECT_LT(one.cpuSeconds, 60.0);

    EXPECT_TRUE(readBytes(first.path() / "media.icl") == readBytes(second.path() / "media.icl"))
        << "media.icl differs between runs";
    const auto names = fileNames(first.path() / "soundtrack");
    ASSERT_FALSE(names.empty());
    ASSERT_EQ(names, fileNames(second.path() / "soundtrack"));
    for (const std::string& name : names)
        EXPECT_EQ(readBytes(first.path() / "soundtrack" / name) ==
                      readBytes(second.path() / "soundtrack" / name),
                  true)
            << name << " differs between runs";
}
} // namespace
