// The real game binary under the test display (1280x1024, no window manager): F11 and Alt+Return switch
// its window to full screen and back, with the picture letterboxed to the new size, and each switch is
// saved in Quobbel.cfg without touching its other lines.

#include <algorithm>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "support/game_process.h"
#include "support/test_paths.h"
#include "support/x11_window.h"

using namespace std::chrono_literals;

namespace
{
// The sanitizer build on a loaded machine renders a few frames a second; every wait polls.
constexpr std::chrono::milliseconds stepTimeout = 90s;

bool xdotool(unsigned long window, const std::string& command)
{
    const std::string line =
        "timeout 20 xdotool windowfocus --sync " + std::to_string(window) + " " + command;
    return std::system(line.c_str()) == 0;
}

// Holds the keys until the window has the size, as a player holds a key until something happens.
bool switchTo(X11Session& x11, unsigned long window, const std::string& keys, unsigned width, unsigned height)
{
    if (!xdotool(window, "keydown " + keys))
        return false;
    const bool switched = waitFor(
        [&]
        {
            unsigned w = 0, h = 0;
            x11.windowSize(window, w, h);
            return w == width && h == height;
        },
        stepTimeout);
    xdotool(window, "keyup " + keys);
    return switched;
}

// The end of the game's log, where a switch that did not happen shows.
std::string logTail(const std::string& log)
{
    std::size_t start = log.size();
    for (int lines = 0; lines < 30 && start != 0 && start != std::string::npos; ++lines)
        start = log.rfind('\n', start - 1);
    return log.substr(start == std::string::npos ? 0 : start);
}

bool blackRow(const WindowPicture& picture, unsigned y)
{
    for (unsigned x = 0; x < picture.width; ++x)
        if (!std::all_of(picture.pixel(x, y), picture.pixel(x, y) + 3, [](unsigned char c) { return c < 8; }))
            return false;
    return true;
}
} // namespace

TEST(FullScreenEndToEnd, F11AndAltReturnSwitchTheWindowAndQuobbelCfgKeepsEveryOtherLine)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    const std::string windowed = "# Settings of my own\n"
                                 "Fullscreen = false\n"
                                 "WindowResolution = 1024x768\n"
                                 "\n"
                                 "VSync = true\n"
                                 "Widescreen = auto\n";
    std::string fullScreen = windowed;
    fullScreen.replace(fullScreen.find("false"), 5, "true");
    // A game started full screen has no window manager's help to leave it: a window of its own.
    for (const bool startFullScreen : {false, true})
    {
        SCOPED_TRACE(startFullScreen ? "started full screen" : "started windowed");
        GameDirCopy dir;
        dir.write("Quobbel.cfg", startFullScreen ? fullScreen : windowed);
        GameProcess game(testing_paths::gameDir() + "/quobbel", dir.path());
        X11Session x11;
        x11.setKeyAutoRepeat(false);
        unsigned long window = 0;
        ASSERT_TRUE(waitFor([&] { return (window = x11.findWindow("Quobbel")) != 0; }, stepTimeout))
            << game.standardError();
        // Keys held before the game reads the keyboard never reach it.
        ASSERT_TRUE(waitFor([&] { return dir.read("quobbel.log").find("Scene loaded") != std::string::npos; },
                            stepTimeout));

        for (const char* keys : {"F11", "alt+Return"})
        {
            const bool nowFullScreen = (keys == std::string("F11")) != startFullScreen;
            SCOPED_TRACE(keys);
            ASSERT_TRUE(switchTo(x11, window, keys, nowFullScreen ? 1280 : 1024, nowFullScreen ? 1024 : 768))
                << logTail(dir.read("quobbel.log")) << game.diagnosis();
            EXPECT_EQ(dir.read("Quobbel.cfg"), nowFullScreen ? fullScreen : windowed);
            if (!nowFullScreen)
                continue;
            // A 4:3 picture 959 pixels high, centred: bars of 32 rows above and below once the game has
            // drawn.
            EXPECT_TRUE(waitFor(
                [&]
                {
                    const WindowPicture picture = x11.capture(window);
                    return picture.width == 1280 && blackRow(picture, 10) && blackRow(picture, 1013) &&
                           !blackRow(picture, 40) && !blackRow(picture, 983);
                },
                stepTimeout))
                << "letterboxed picture";
        }
        EXPECT_EQ(dir.read("quobbel.log").find("Fullscreen setting not saved"), std::string::npos);
        x11.requestClose(window);
        EXPECT_EQ(game.waitForExit(stepTimeout), 0) << game.diagnosis();
    }
}
