// The media generator gives the same bytes on every run, so a build never changes the game's media by
// itself, and it stays fast enough to run on every build.

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/test_paths.h"

namespace
{
namespace fs = std::filesystem;

// User + system time of every child process waited for so far.
double childCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
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

struct ScratchDir
{
    ScratchDir() : path(fs::temp_directory_path() / ("mediagen-" + std::to_string(getpid()))) {}
    ~ScratchDir()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};

TEST(MediaGenerator, TwoRunsGiveIdenticalBytesWellWithinAMinute)
{
    const ScratchDir scratch;
    const fs::path first = scratch.path / "first", second = scratch.path / "second";
    double cpuSeconds[2] = {};
    for (int run = 0; run < 2; ++run)
    {
        const fs::path& output = run == 0 ? first : second;
        ASSERT_TRUE(fs::create_directories(output));
        const double cpuBefore = childCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        const std::string command = testing_paths::binaryDir() + "/tools/mediagen/mediagen '" +
                                    output.string() + "' '" + testing_paths::sourceDir() + "/levels'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        cpuSeconds[run] = childCpuSeconds() - cpuBefore;
        std::cout << "[ timing   ] mediagen: "
                  << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
                  << " s wall, " << cpuSeconds[run] << " s CPU\n";
    }
    RecordProperty("generation_cpu_seconds", std::to_string(cpuSeconds[0]));
    // CPU time, not wall time: the machine is shared, and waiting for a core is not the generator's cost.
    EXPECT_LT(cpuSeconds[0], 60.0);

    EXPECT_TRUE(readBytes(first / "media.icl") == readBytes(second / "media.icl")) << "media.icl differs";
    const auto names = fileNames(first / "soundtrack");
    ASSERT_FALSE(names.empty());
    ASSERT_EQ(names, fileNames(second / "soundtrack"));
    for (const std::string& name : names)
        EXPECT_TRUE(readBytes(first / "soundtrack" / name) == readBytes(second / "soundtrack" / name))
            << name << " differs between runs";
}
} // namespace
