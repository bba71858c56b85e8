// The real game binary at the title: the frames it draws, as its log counts them when it exits, come to
// about 30 a second with "MaxFPS = 30", and to about 25 a second while its window is unmapped.

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "support/game_process.h"
#include "support/test_paths.h"
#include "support/x11_window.h"

using namespace std::chrono_literals;

namespace
{
struct FrameCount
{
    long frames = 0;
    double seconds = 0;
    long ahead = 0;
};

// The count the game writes to its log on exit; a failed assertion when there is none.
void readFrameCount(const std::string& log, FrameCount& count)
{
    const std::size_t line = log.find("Frames drawn: ");
    ASSERT_NE(line, std::string::npos) << log;
    ASSERT_EQ(std::sscanf(log.c_str() + line, "Frames drawn: %ld in %lf s, %ld of them ahead of time",
                          &count.frames, &count.seconds, &count.ahead),
              3)
        << log;
}

// The game at its title in a 320x240 window: small, so that the frames are cheap and even the sanitizer
// build keeps up with a cap.
class FrameCap : public testing::Test
{
  protected:
    // Starts the game with "MaxFPS = `maxFps`" and waits until it has a window and has loaded the title.
    void startAtTheTitle(const char* maxFps)
    {
        ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
        const std::string window320 = "Fullscreen = false\nWindowResolution = 320x240\nVSync = false\n";
        dir.write("Quobbel.cfg", window320 + "MaxFPS = " + maxFps + "\n");
        game.emplace(testing_paths::gameDir() + "/quobbel", dir.path());
        ASSERT_TRUE(waitFor([&] { return (window = x11.findWindow("Quobbel")) != 0; }, 120s))
            << game->standardError();
        // The first frame follows the title's load.
        ASSERT_TRUE(
            waitFor([&] { return dir.read("quobbel.log").find("Scene loaded") != std::string::npos; }, 120s))
            << game->standardError();
    }

    // Closes the window as a window manager would, waits for the game to end and reads its frame count.
    void closeAndCount(FrameCount& count)
    {
        x11.requestClose(window);
        ASSERT_EQ(game->waitForExit(120s), 0) << game->diagnosis();
        ASSERT_NO_FATAL_FAILURE(readFrameCount(dir.read("quobbel.log"), count));
    }

    GameDirCopy dir;
    std::optional<GameProcess> game;
    X11Session x11;
    unsigned long window = 0;
};
} // namespace

TEST_F(FrameCap, TheGameAtTheTitleWithMaxFpsThirtyDrawsAboutThirtyFramesASecond)
{
    ASSERT_NO_FATAL_FAILURE(startAtTheTitle("30"));
    std::this_thread::sleep_for(5s);
    FrameCount count;
    ASSERT_NO_FATAL_FAILURE(closeAndCount(count));
    const std::string log = dir.read("quobbel.log");
    const long frames = count.frames;
    const double seconds = count.seconds;
    const long ahead = count.ahead;
    // The first frame follows the log line by however long a busy machine takes to draw it: the count needs
    // a few seconds of frames, not exactly five.
    ASSERT_GT(seconds, 2.0) << log;
    const double rate = static_cast<double>(frames - 1) / seconds;
    EXPECT_LE(rate, 40.0) << frames << " frames in " << seconds << " s";
    // A machine too busy to make 30 frames a second shows it in frames that had to start late; only a game
    // whose frames mostly waited for their start must have reached the cap.
    if (ahead * 2 > frames)
        EXPECT_GE(rate, 20.0) << frames << " frames in " << seconds << " s, " << ahead << " ahead of time";
    else
        std::cout << "Only " << ahead << " of " << frames
                  << " frames were ready before their start time: the machine is too busy to check the lower "
                     "bound\n";
    // Nothing about the cap reached the log as a complaint.
    EXPECT_EQ(log.find("MaxFPS"), std::string::npos) << log;
}

// A hidden window draws nothing but the game goes on: about 25 frames a second, each 0.04 s of game time,
// so the game keeps real time without its window; with no cap at all it would run far faster.
TEST_F(FrameCap, AnUnmappedGameKeepsRunningAtTwentyFiveFramesASecond)
{
    ASSERT_NO_FATAL_FAILURE(startAtTheTitle("0"));
    x11.setMapped(window, false);
    std::this_thread::sleep_for(8s);
    x11.setMapped(window, true);
    FrameCount count;
    ASSERT_NO_FATAL_FAILURE(closeAndCount(count));
    ASSERT_GT(count.seconds, 6.0);
    // A few uncapped frames before the window went and after it came back; a slow machine may draw the
    // first ones late, so the lower bound only asks that the game did not stop.
    const double rate = static_cast<double>(count.frames) / count.seconds;
    EXPECT_GE(rate, 15.0) << count.frames << " frames in " << count.seconds << " s";
    EXPECT_LE(rate, 45.0) << count.frames << " frames in " << count.seconds << " s";
}
