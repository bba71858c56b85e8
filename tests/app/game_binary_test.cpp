// The real game binary under the test display when a configuration file is missing. (Its window, scene loop
// log and shut-down are checked along the front end's end-to-end journey.)

#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "support/game_process.h"
#include "support/test_paths.h"
#include "support/x11_window.h"

using namespace std::chrono_literals;

TEST(GameBinary, AMissingConfigurationFileIsReportedAndEndsTheGameWithExitCodeOne)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    const struct
    {
        const char* missing;
        const char* askedBy; // the window that asks for the file first, if any
        std::vector<std::string> reported;
    } cases[] = {
        {"Quobbel.cfg", nullptr, {"FileNotFoundException", "Quobbel.cfg"}},
        {"directx.cfg", "Rendering Settings", {"Config file is missing"}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.missing);
        GameDirCopy dir;
        std::remove(dir.file(c.missing).c_str());
        GameProcess game(testing_paths::gameDir() + "/quobbel", dir.path());
        X11Session x11;
        unsigned long window = 0;
        if (c.askedBy)
        {
            ASSERT_TRUE(waitFor([&] { return (window = x11.findWindow(c.askedBy)) != 0; }, 30s))
                << game.standardError();
            // The engine's dialog ignores close requests; press its Cancel button (bottom right, left of
            // Accept).
            const std::string click =
                "xdotool mousemove --window " + std::to_string(window) + " 375 353 click 1";
            ASSERT_EQ(std::system(click.c_str()), 0);
        }
        // The report is a real modal dialog; dismiss it as a player would.
        ASSERT_TRUE(waitFor([&] { return (window = x11.findWindow("Error!")) != 0; }, 30s))
            << game.standardError();
        x11.requestClose(window);
        EXPECT_EQ(game.waitForExit(30s), 1);
        for (const std::string& text : c.reported)
            EXPECT_NE(game.standardError().find(text), std::string::npos) << game.standardError();
    }
}
