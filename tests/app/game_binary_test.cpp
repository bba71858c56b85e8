// The real game binary under the test display, started on bad files: configuration files that are missing
// or not files, window sizes it cannot use, damaged media and missing music. For each, the exit code and the
// message. (Its window, scene loop log and shut-down on good files are checked along the front end's
// end-to-end journey.)

#include <cstdlib>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "scenes/intro_scene.h"
#include "support/game_process.h"
#include "support/media_damage.h"
#include "support/test_paths.h"
#include "support/x11_window.h"

using namespace std::chrono_literals;

namespace
{
namespace fs = std::filesystem;

const std::string gameBinary = testing_paths::gameDir() + "/quobbel";
// Hang detection for the sanitizer build on a loaded machine: until the first window shows, and until the
// scene loop has loaded the title.
constexpr auto startTimeout = 90s;
// From the dismissed report to the end of the process: nothing is left to do but return.
constexpr auto exitTimeout = 5s;
// From the window's close request to the end of the process: a last frame (a full-screen one is slow in
// the sanitizer build) and the whole shut-down. Hang detection only.
constexpr auto closeTimeout = 60s;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// What a case does to its start-up file.
enum Change
{
    missing,
    folder,
    damaged
};
} // namespace

TEST(GameBinary, BadStartUpFilesAreReportedInTheDialogOnStandardErrorAndInTheLogWithExitCodeOne)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    // The engine's reader would spin on a folder for ever, and recurse for ever on the damaged skeleton.
    const struct
    {
        const char* file;
        Change change;
        const char* askedBy; // the window that asks for the file first, if any
        std::vector<std::string> reported;
    } cases[] = {
        {"Quobbel.cfg", missing, nullptr, {"FileNotFoundException", "Quobbel.cfg"}},
        {"directx.cfg", missing, "Rendering Settings", {"Config file is missing"}},
        {"Quobbel.cfg", folder, nullptr, {"Config file ./Quobbel.cfg is not a regular file"}},
        {"directx.cfg", folder, nullptr, {"Config file ./directx.cfg is not a regular file"}},
        {"media.icl",
         damaged,
         nullptr,
         {"Media archive ./media.icl is damaged: Pimbear.skeleton differs from its manifest entry"}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.change));
        GameDirCopy dir;
        if (c.change == damaged)
            damageArchiveEntry(dir.file(c.file), "Pimbear.skeleton");
        else
            fs::remove(dir.file(c.file));
        if (c.change == folder)
            fs::create_directory(dir.file(c.file));
        GameProcess game(gameBinary, dir.path());
        X11Session x11;
        unsigned long window = 0;
        if (c.askedBy)
        {
            ASSERT_TRUE(waitFor([&] { return (window = x11.findWindow(c.askedBy)) != 0; }, startTimeout))
                << game.standardError();
            // The engine's dialog ignores close requests; press its Cancel button (bottom right, left of
            // Accept).
            const std::string click =
                "xdotool mousemove --window " + std::to_string(window) + " 375 353 click 1";
            ASSERT_EQ(std::system(click.c_str()), 0);
        }
        // The report is a real modal dialog; dismiss it as a player would.
        ASSERT_TRUE(waitFor([&] { return (window = x11.findWindow("Error!")) != 0; }, startTimeout))
            << game.standardError();
        x11.requestClose(window);
        EXPECT_EQ(game.waitForExit(exitTimeout), 1);
        const std::string log = dir.read("quobbel.log");
        for (const std::string& text : c.reported)
        {
            EXPECT_TRUE(contains(game.standardError(), text)) << text << " in\n" << game.standardError();
            EXPECT_TRUE(contains(log, "Error! ")) << log;
            EXPECT_TRUE(contains(log, text)) << text << " in\n" << log;
        }
        EXPECT_FALSE(game.reportedCrash()) << game.standardError();
    }
}

// The test display's desktop is 1280x1024.
TEST(GameBinary, WindowSizesItCannotUseAndMissingMusicStillStartTheGameWhichSaysSoInItsLog)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    const std::string outside = " outside 320x200 to 16384x16384: using 800x600";
    const std::string noMusic = "Ogg error: File not found: Velmora_-_ditto_ditto.ogg";
    const std::string silent = "the game plays without music";
    // Installed data may be read-only, linked from elsewhere ("linked" below: media.icl and soundtrack/).
    const struct
    {
        bool fullScreen;
        const char* resolution;
        const char* removed; // from the game directory, or "linked"
        unsigned width, height;
        std::vector<std::string> logged;
    } cases[] = {
        {false, "0x0", "", 800, 600, {"WindowResolution 0x0" + outside}},
        {false, "-800x-600", "", 800, 600, {"WindowResolution -800x-600" + outside}},
        {false, "99999x99999", "", 800, 600, {"WindowResolution 99999x99999" + outside}},
        {true, "0x0", "", 1280, 1024, {}},
        {false, "4000x3000", "", 1280, 1024, {"Window 4000x3000 larger than the desktop: using 1280x1024"}},
        {false, "640x480", "soundtrack", 640, 480, {"No soundtrack folder ./soundtrack: " + silent, noMusic}},
        {false, "640x480", "soundtrack/Velmora_-_ditto_ditto.ogg", 640, 480, {noMusic}},
        {false, "640x480", "linked", 640, 480, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.resolution) + (c.fullScreen ? " full screen " : " ") + c.removed);
        GameDirCopy dir;
        dir.write("Quobbel.cfg", std::string("Fullscreen = ") + (c.fullScreen ? "true" : "false") +
                                     "\nWindowResolution = " + c.resolution + "\nVSync = false\n");
        if (c.removed == std::string("linked"))
            for (const char* name : {"media.icl", "soundtrack"})
            {
                fs::remove_all(dir.file(name));
                fs::create_symlink(testing_paths::gameDir() + "/" + name, dir.file(name));
            }
        else if (*c.removed)
            fs::remove_all(dir.file(c.removed));
        GameProcess game(gameBinary, dir.path());
        X11Session x11;
        unsigned long window = 0;
        ASSERT_TRUE(waitFor([&] { return (window = x11.findWindow("Quobbel")) != 0; }, startTimeout))
            << game.standardError();
        unsigned width = 0;
        unsigned height = 0;
        x11.windowSize(window, width, height);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        // The title has started its music, or failed to.
        ASSERT_TRUE(waitFor([&] { return contains(dir.read("quobbel.log"), "Scene loaded"); }, startTimeout))
            << game.standardError();
        x11.requestClose(window);
        EXPECT_EQ(game.waitForExit(closeTimeout), 0) << game.diagnosis();
        const std::string log = dir.read("quobbel.log");
        for (const std::string& line : c.logged)
            EXPECT_TRUE(contains(log, line)) << line << " in\n" << log;
        EXPECT_EQ(contains(log, "Ogg error"), !c.logged.empty() && c.logged.back() == noMusic) << log;
        // The title's first frame loads every file the start unpacks ahead, from linked media as well.
        const std::string ahead = std::to_string(IntroScene::firstFrameMedia().size());
        EXPECT_TRUE(contains(log, "Unpacked ahead: " + ahead + " media files")) << log;
        EXPECT_TRUE(contains(log, ", " + ahead + " of them loaded by the first frame")) << log;
        EXPECT_FALSE(game.reportedCrash()) << game.standardError();
    }
}
