// Saving one setting of Quobbel.cfg: the other lines stay byte for byte, the engine's reader sees the new
// value, and a save that fails leaves the old file whole.

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
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

std::string contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ScratchFolder
{
  public:
    ScratchFolder()
    {
        char pattern[] = "/tmp/quobbel-cfg-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~ScratchFolder() { fs::remove_all(path); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    void write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path / name, std::ios::binary) << text;
    }
    // Every file in the folder but the named ones: leftovers of a save.
    std::vector<std::string> othersThan(std::initializer_list<std::string> names) const
    {
        std::vector<std::string> others;
        for (const auto& entry : fs::directory_iterator(path))
            if (std::find(names.begin(), names.end(), entry.path().filename()) == names.end())
                others.push_back(entry.path().filename());
        return others;
    }

    fs::path path;
};
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
    folder.write("real.cfg", before);
    fs::permissions(folder.path / "real.cfg", fs::perms(0640));
    fs::create_symlink("real.cfg", folder.path / "Quobbel.cfg");

    EXPECT_EQ(saveConfigSetting((folder.path / "Quobbel.cfg").string(), "Fullscreen", "true"), "");
    EXPECT_TRUE(fs::is_symlink(folder.path / "Quobbel.cfg"));
    EXPECT_EQ(contents(folder.path / "real.cfg"), withConfigSetting(before, "Fullscreen", "true"));
    struct stat status;
    ASSERT_EQ(stat((folder.path / "real.cfg").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_TRUE(folder.othersThan({"real.cfg", "Quobbel.cfg"}).empty());

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
                saveConfigSetting((folder.path / "Quobbel.cfg").string(), "Fullscreen", "false");
            std::strncpy(result.error, error.c_str(), sizeof result.error - 1);
            return result;
        });
    ASSERT_EQ(outcome.failed, 0);
    EXPECT_NE(std::string(outcome.error).find("File too large"), std::string::npos) << outcome.error;
    EXPECT_EQ(contents(folder.path / "real.cfg"), withConfigSetting(before, "Fullscreen", "true"));
    EXPECT_TRUE(folder.othersThan({"real.cfg", "Quobbel.cfg"}).empty());

    // No folder to write into at all.
    const std::string error =
        saveConfigSetting((folder.path / "gone" / "Quobbel.cfg").string(), "Fullscreen", "true");
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
}
