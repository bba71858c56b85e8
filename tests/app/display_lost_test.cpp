// The real game binary losing its display while the title runs: its X server killed, or its window
// destroyed by another program. Each game runs on an X server of its own, so the test's display survives.

#include <gtest/gtest.h>

#include "support/game_process.h"
#include "support/private_display.h"
#include "support/test_paths.h"
#include "support/x11_window.h"

using namespace std::chrono_literals;

namespace
{
// Hang detection for the sanitizer build on a loaded machine.
constexpr auto startTimeout = 90s;
constexpr auto exitTimeout = 5s;

int countOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}
} // namespace

// With a sound device the music streams on a thread of its own, and exit() used to run the static
// destructors under it.
TEST(DisplayLost, TheGameLogsOneLineAndEndsWithExitCodeOneWithoutACrashWithOrWithoutASoundDevice)
{
    const struct
    {
        const char* what;
        const char* soundDriver;
        bool serverKilled; // else the window is destroyed
        const char* logged;
    } cases[] = {
        {"X server killed, with a sound device", "null", true, "the connection to the X server broke"},
        {"X server killed, without a sound device", "no-such-backend", true,
         "the connection to the X server broke"},
        {"window destroyed", "null", false, "X error"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        PrivateDisplay server;
        ASSERT_FALSE(server.name().empty()) << "Xvfb did not start";
        GameDirCopy dir;
        dir.write("Quobbel.cfg", "Fullscreen = false\nWindowResolution = 640x480\nVSync = false\n");
        GameProcess game(testing_paths::gameDir() + "/quobbel", dir.path(),
                         {"DISPLAY=" + server.name(), std::string("ALSOFT_DRIVERS=") + c.soundDriver});
        {
            // Closed before the server dies: Xlib would end this process too.
            X11Session x11(server.name());
            unsigned long window = 0;
            ASSERT_TRUE(waitFor([&] { return (window = x11.findWindow("Quobbel")) != 0; }, startTimeout))
                << game.standardError();
            ASSERT_TRUE(
                waitFor([&] { return countOf(dir.read("quobbel.log"), "Scene loaded") == 1; }, startTimeout))
                << game.standardError();
            if (!c.serverKilled)
                x11.destroyWindow(window);
        }
        if (c.serverKilled)
            server.kill();
        EXPECT_EQ(game.waitForExit(exitTimeout), 1) << game.diagnosis();
        const std::string log = dir.read("quobbel.log");
        EXPECT_EQ(countOf(log, "Display lost: "), 1) << log;
        EXPECT_EQ(countOf(log, c.logged), 1) << log;
        EXPECT_FALSE(game.reportedCrash()) << game.standardError();
    }
}
