// The real game binary under the test display: start-up, window, scene loop log and shut-down.

#include <cstdlib>

#include <gtest/gtest.h>

#include "support/game_process.h"
#include "support/test_paths.h"
#include "support/x11_window.h"

using namespace std::chrono_literals;

namespace
{
const std::string gameBinary = testing_paths::gameDir() + "/quobbel";

bool logHas(const GameDirCopy& dir, const std::string& line)
{
    return dir.read("quobbel.log").find(line) != std::string::npos;
}
} // namespace

TEST(GameBinary, OpensItsWindowRunsTheFirstSceneAndShutsDownWhenClosed)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    GameDirCopy dir;
    dir.write("Quobbel.cfg",
              "Fullscreen = false\nWindowResolution = 640x480\nVSync = true\nWidescreen = auto\n");
    GameProcess game(gameBinary, dir.path());
    X11Session x11;

    unsigned long window = 0;
    ASSERT_TRUE(waitFor([&] { return (window = x11.findWindow("Quobbel")) != 0; }, 30s))
        << game.standardError();
    unsigned width = 0;
    unsigned height = 0;
    x11.windowSize(window, width, height);
    EXPECT_EQ(width, 640u);
    EXPECT_EQ(height, 480u);
    ASSERT_TRUE(waitFor([&] { return logHas(dir, "Scene loaded"); }, 30s));
    EXPECT_TRUE(logHas(dir, "Loading scene"));
    EXPECT_FALSE(logHas(dir, "Unloading scene"));

    x11.requestClose(window);
    EXPECT_EQ(game.waitForExit(30s), 0) << game.standardError();
    const std::string log = dir.read("quobbel.log");
    const size_t unloading = log.find("Unloading scene");
    ASSERT_NE(unloading, std::string::npos);
    EXPECT_NE(log.find("Scene unloaded", unloading), std::string::npos);
}

TEST(GameBinary, WithoutItsConfigurationFileReportsTheEnginesErrorAndExitsWithOne)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    GameDirCopy dir;
    std::remove(dir.file("Quobbel.cfg").c_str());
    GameProcess game(gameBinary, dir.path());
    X11Session x11;

    // The report is a real modal dialog; dismiss it as a player would.
    unsigned long dialog = 0;
    ASSERT_TRUE(waitFor([&] { return (dialog = x11.findWindow("Error!")) != 0; }, 30s))
        << game.standardError();
    x11.requestClose(dialog);
    EXPECT_EQ(game.waitForExit(30s), 1);
    const std::string error = game.standardError();
    EXPECT_NE(error.find("FileNotFoundException"), std::string::npos) << error;
    EXPECT_NE(error.find("Quobbel.cfg"), std::string::npos) << error;
}

TEST(GameBinary, WithoutTheEngineConfigurationAsksForItAndStopsWhenCancelled)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    GameDirCopy dir;
    std::remove(dir.file("directx.cfg").c_str());
    GameProcess game(gameBinary, dir.path());
    X11Session x11;

    unsigned long dialog = 0;
    ASSERT_TRUE(waitFor([&] { return (dialog = x11.findWindow("Rendering Settings")) != 0; }, 30s))
        << game.standardError();
    // The engine's dialog ignores close requests; press its Cancel button (bottom right, left of Accept).
    const std::string click = "xdotool mousemove --window " + std::to_string(dialog) + " 375 353 click 1";
    ASSERT_EQ(std::system(click.c_str()), 0);
    unsigned long report = 0;
    ASSERT_TRUE(waitFor([&] { return (report = x11.findWindow("Error!")) != 0; }, 30s))
        << game.standardError();
    x11.requestClose(report);
    EXPECT_EQ(game.waitForExit(30s), 1);
    EXPECT_NE(game.standardError().find("Config file is missing"), std::string::npos) << game.standardError();
}
