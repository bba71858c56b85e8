// Saving one setting of Quobbel.cfg: the other lines stay byte for byte, the engine's reader sees the new
// value, and a save that fails leaves the old file whole.

#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <OgreConfigFile.h>
#include <OgreDataStream.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/config_setting.h"
#include "support/child_run.h"
#include "support/installed_game.h"

namespace fs = std::filesystem;

namespace
{
// What the engine reads from a configuration file's text.
std::string settingRead(std::string text, const std::string& key)
{
    Ogre::ConfigFile config;
    config.load(Ogre::DataStreamPtr(new Ogre::MemoryDataStream(text.data(), text.size())), "=", true);
    return config.getSetting(key);
}

// Every file in the folder but the two of the save: its leftovers.
std::vector<std::string> leftovers(const fs::path& folder)
{
    std::vector<std::string> others;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename() != "real.cfg" && entry.path().filename() != "Quobbel.cfg")
            others.push_back(entry.path().filename());
    return others;
}
} // namespace

TEST(ConfigSetting, OnlyTheKeysLinesOfTheUnnamedSectionChangeAndTheEngineReadsTheNewValue)
{
    const struct
    {
        const char* name;
        std::string before, after;
    } cases[] = {
        {"the game's own file", "Fullscreen = false\nWindowResolution = 1024x768\nVSync = true\n",
         "Fullscreen = true\nWindowResolution = 1024x768\nVSync = true\n"},
        {"spacing and line endings kept", "# window\r\n  Fullscreen=false   \r\nWidescreen = auto\r\n",
         "# window\r\n  Fullscreen=true\r\nWidescreen = auto\r\n"},
        {"comments and look-alike keys left",
         "#Fullscreen = false\n@Fullscreen = x\nFullscreenX = no\nFullscreen =\n",
         "#Fullscreen = false\n@Fullscreen = x\nFullscreenX = no\nFullscreen =true\n"},
        {"every copy of the key", "Fullscreen = no\nVSync = true\nFullscreen = false",
         "Fullscreen = true\nVSync = true\nFullscreen = true"},
        {"missing key added, the last line ended", "VSync = true", "VSync = true\nFullscreen = true\n"},
        {"added in the file's line endings", "VSync = true\r\n", "VSync = true\r\nFullscreen = true\r\n"},
        {"added before the first section", "VSync = true\n[Other]\nFullscreen = false\n",
         "VSync = true\nFullscreen = true\n[Other]\nFullscreen = false\n"},
        {"empty file", "", "Fullscreen = true\n"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string after = withConfigSetting(c.before, "Fullscreen", "true");
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(settingRead(after, "Fullscreen"), "true");
        for (const char* other : {"VSync", "WindowResolution", "Widescreen", "FullscreenX"})
            EXPECT_EQ(settingRead(after, other), settingRead(c.before, other)) << other;
    }
}

TEST(ConfigSetting, ASaveReplacesTheFileThroughALinkKeepingItsModeAndAFailedOneLeavesTheOldFileWhole)
{
    ScratchFolder folder;
    // Long enough that a write limit below its size stops the save half-way.
    const std::string before = "Fullscreen = false\n# " + std::string(400, '-') + "\nVSync = true\n";
    writeFile(folder / "real.cfg", before);
    fs::permissions(folder / "real.cfg", fs::perms(0640));
    fs::create_symlink("real.cfg", folder / "Quobbel.cfg");

    EXPECT_EQ(saveConfigSetting((folder / "Quobbel.cfg").string(), "Fullscreen", "true"), "");
    EXPECT_TRUE(fs::is_symlink(folder / "Quobbel.cfg"));
    EXPECT_EQ(readFile(folder / "real.cfg"), withConfigSetting(before, "Fullscreen", "true"));
    struct stat status;
    ASSERT_EQ(stat((folder / "real.cfg").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_TRUE(leftovers(folder.path()).empty());

    // The disk fills up half-way through the new file: a process limit on file size stands in for it.
    struct Outcome
    {
        int failed = 0;
        char error[256] = {};
    };
    const Outcome outcome = runInChild<Outcome>(
        [&]
        {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit = {200, 200};
            setrlimit(RLIMIT_FSIZE, &limit);
            Outcome result;
            const std::string error =
                saveConfigSetting((folder / "Quobbel.cfg").string(), "Fullscreen", "false");
            std::strncpy(result.error, error.c_str(), sizeof result.error - 1);
            return result;
        });
    ASSERT_EQ(outcome.failed, 0);
    EXPECT_NE(std::string(outcome.error).find("File too large"), std::string::npos) << outcome.error;
    EXPECT_EQ(readFile(folder / "real.cfg"), withConfigSetting(before, "Fullscreen", "true"));
    EXPECT_TRUE(leftovers(folder.path()).empty());

    // No folder to write into at all.
    const std::string error =
        saveConfigSetting((folder / "gone" / "Quobbel.cfg").string(), "Fullscreen", "true");
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
}
