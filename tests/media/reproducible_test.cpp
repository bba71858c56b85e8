// The media generator gives the same bytes on every run, so a build never changes the game's media by
// itself.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "support/file_bytes.h"
#include "support/test_paths.h"

namespace
{
namespace fs = std::filesystem;

TEST(MediaGenerator, TwoRunsGiveIdenticalBytes)
{
    const struct Scratch
    {
        fs::path path = fs::temp_directory_path() / ("mediagen-" + std::to_string(getpid()));
        ~Scratch() { fs::remove_all(path); }
    } scratch;
    for (const char* run : {"first", "second"})
    {
        ASSERT_TRUE(fs::create_directories(scratch.path / run));
        const std::string command = testing_paths::binaryDir() + "/tools/mediagen/mediagen '" +
                                    (scratch.path / run).string() + "' '" + testing_paths::sourceDir() +
                                    "/levels'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(scratch.path / "first"))
    {
        if (!entry.is_regular_file())
            continue;
        ++files;
        const fs::path twin = scratch.path / "second" / fs::relative(entry.path(), scratch.path / "first");
        EXPECT_TRUE(readFile(entry.path()) == readFile(twin)) << twin << " differs between runs";
    }
    // media.icl and the music at least.
    EXPECT_GE(files, 2);
}
} // namespace
