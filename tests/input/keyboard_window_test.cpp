// The real keyboard on the real game window: keys typed into the window by another program (xdotool)
// reach the input state through OIS, without a grab, while the window has the focus, from the moment the
// keyboard exists.

#include <chrono>
#include <cstdlib>
#include <string>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "app/quobbel.h"
#include "core/access_points.h"
#include "input/input_state.h"
#include "support/game_process.h"
#include "support/x11_window.h"

using namespace std::chrono_literals;

namespace
{
void xdotool(const std::string& arguments)
{
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
}

struct KeySeen
{
    int downFrames = 0;
    int presses = 0;
};

// Renders frames for `duration`, counting those in which the action is down and those in which it was
// pressed.
KeySeen renderFor(std::chrono::milliseconds duration, InputState& input, int player, int action)
{
    KeySeen seen;
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end)
    {
        Ogre::Root::getSingleton().renderOneFrame();
        seen.downFrames += input.isDown(player, action);
        seen.presses += input.wasPressed(player, action);
    }
    return seen;
}
} // namespace

TEST(KeyboardWindow, AKeyHeldOnTheGameWindowIsDownWhileHeldAndPressedOnce)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    GameDirCopy dir;
    dir.write("Quobbel.cfg", "Fullscreen = false\nWindowResolution = 640x480\nVSync = false\n");
    Quobbel application(dir.path() + "/");
    InputState& input = application.input();
    size_t window = 0;
    theRenderWindow->getCustomAttribute("WINDOW", &window);
    ASSERT_NE(window, 0u);
    xdotool("windowfocus --sync " + std::to_string(window));

    // Pressed before the first frame (a slow one on a slow machine) has read the keyboard.
    xdotool("keydown Return");
    // Long enough for the server's key auto-repeat to start.
    const KeySeen held = renderFor(1000ms, input, 1, action::accept);
    xdotool("keyup Return");
    const KeySeen released = renderFor(200ms, input, 1, action::accept);
    EXPECT_GT(held.downFrames, 1);
    EXPECT_EQ(held.presses + released.presses, 1);
    EXPECT_FALSE(input.isDown(1, action::accept));
}
