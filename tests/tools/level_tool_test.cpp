// quobbel-level, run as an author runs it: the check of files and their chain of levels, and the picture of a
// level read back from its PNG file.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <png.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/installed_game.h"
#include "support/test_paths.h"

namespace
{
namespace fs = std::filesystem;

CommandResult runTool(const std::string& arguments)
{
    return runCommand(std::string(QUOBBEL_LEVEL_TOOL) + " " + arguments);
}

// A folder of the test's own level files, removed at the end.
struct LevelFolder
{
    fs::path path = fs::temp_directory_path() / ("quobbel-level-" + std::to_string(getpid()));

    explicit LevelFolder(const std::map<std::string, std::string>& files)
    {
        fs::remove_all(path);
        fs::create_directories(path);
        for (const auto& [name, text] : files)
            std::ofstream(path / name) << text;
    }
    ~LevelFolder() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

struct Picture
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;

    unsigned colourAt(int x, int y) const
    {
        const unsigned char* p = &rgba[static_cast<std::size_t>((y * width + x) * 4)];
        return (unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2];
    }
};

Picture readPng(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return picture;
    image.format = PNG_FORMAT_RGBA;
    picture.rgba.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr))
    {
        picture.width = static_cast<int>(image.width);
        picture.height = static_cast<int>(image.height);
    }
    return picture;
}

const std::string shortLevel = "0 0 -50 0 end\nStaticPlatform -25 -2 60 0 floor terra\n";
} // namespace

TEST(LevelTool, CheckFollowsTheChainAndReportsEveryProblemOnceWithItsFileAndLine)
{
    const struct
    {
        std::map<std::string, std::string> files;
        std::vector<std::string> checked; // the files given, in the folder
        int exitCode;
        std::string output;
    } cases[] = {
        {{{"a.imf", "0 0 -50 0 b.imf\n"}, {"b.imf", "0 0 -50 0\nc.imf\n"}},
         {"a.imf"},
         1,
         "$/b.imf:2: header: next level c.imf does not exist\n$/a.imf: a.imf -> b.imf -> broken\n1 "
         "problem\n"},
        {{{"x.imf", "0 0 -50 0 y.imf\n"}, {"y.imf", "0 0 -50 0 x.imf\n"}},
         {"x.imf"},
         1,
         "$/y.imf:1: header: next level x.imf comes round again (x.imf -> y.imf -> x.imf): the game would "
         "never end\n$/x.imf: x.imf -> y.imf -> broken\n1 problem\n"},
        // Problems of a level that two of the files lead to are reported once.
        {{{"one.imf", "0 0 -50 0 two.imf\nCheckpoint 1\n"},
          {"two.imf", "0 0 -50 0 end\nButterfly 1 2\nStaticPlatfrom 1 2 30 0 l box\nCheckpoint 1 y\n"}},
         {"one.imf", "two.imf"},
         1,
         "$/one.imf:2: Checkpoint: 1 of 2 fields\n$/two.imf:3: StaticPlatfrom: unknown record\n"
         "$/two.imf:4: Checkpoint: y 'y' is not a number\n$/one.imf: one.imf -> two.imf -> broken\n"
         "$/two.imf: two.imf -> broken\n3 problems\n"},
        {{{"first.imf", shortLevel}},
         {"first.imf", "missing.imf"},
         1,
         "$/missing.imf: no such level file\n$/first.imf: first.imf -> end\n$/missing.imf: broken\n1 "
         "problem\n"},
        {{{"good.imf", "0 0 -50 0 boss1.imf\n"}, {"boss1.imf", shortLevel}},
         {"good.imf"},
         0,
         "$/good.imf: good.imf -> boss1.imf -> end\n0 problems\n"},
    };
    for (const auto& c : cases)
    {
        const LevelFolder folder(c.files);
        std::string arguments;
        for (const std::string& name : c.checked)
            arguments += " " + folder / name;
        const CommandResult run = runTool("check" + arguments);
        std::string expected = c.output;
        for (std::size_t at; (at = expected.find('$')) != std::string::npos;)
            expected.replace(at, 1, folder.path.string());
        EXPECT_EQ(run.exitCode, c.exitCode) << arguments;
        EXPECT_EQ(run.output, expected) << arguments;
    }
}

TEST(LevelTool, TheShippedLevelsPassTheCheck)
{
    std::string arguments;
    for (const auto& entry : fs::directory_iterator(testing_paths::sourceDir() + "/levels"))
        if (entry.path().extension() == ".imf")
            arguments += " " + entry.path().string();
    const CommandResult run = runTool("check" + arguments);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("\n0 problems\n"), std::string::npos) << run.output;
}

// At 3 pixels a unit with 15 units of margin, +x to the left: the start (0, 20) and the goal (-100, 30)
// frame the level across, the goal and the fall line (-10) from top to bottom, so the picture shows x from
// 15 down to -115 and y from 45 down to -25.
TEST(LevelTool, DrawShowsTheLevelAtItsScaleWithStartAndGoalWhereTheLevelPutsThem)
{
    const LevelFolder folder({{"drawn.imf", "0 20 -100 30 end\nStaticPlatform -50 10 20 0 middle box\n"},
                              {"broken.imf", "0 20 -100 30 end\nCheckpoint x 3\n"}});
    const std::string out = folder / "drawn.png";
    const CommandResult run = runTool("draw " + folder / "drawn.imf" + " " + out);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const Picture picture = readPng(out);
    ASSERT_EQ(picture.width, 390);
    ASSERT_EQ(picture.height, 210);
    EXPECT_EQ(picture.colourAt(45, 75), 0x2f6fd8u) << "the start marker at (0, 20)";
    EXPECT_EQ(picture.colourAt(345, 45), 0xf08a24u) << "the goal marker at (-100, 30)";
    EXPECT_EQ(picture.colourAt(195, 105), 0x98a4b6u) << "the plank at (-50, 10)";
    const unsigned fallen = picture.colourAt(100, 200);
    EXPECT_GT(fallen >> 16, fallen & 0xff) << "below the fall line is shaded red";

    // A file with a problem: what could be read is drawn, and the problem is reported.
    const CommandResult broken = runTool("draw " + folder / "broken.imf" + " " + folder / "broken.png");
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(broken.output, folder / "broken.imf" + ":2: Checkpoint: x 'x' is not a number\n");
    EXPECT_EQ(readPng(folder / "broken.png").width, 390);
}
