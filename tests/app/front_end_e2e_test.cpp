// The real game binary under the test display, played only through real key presses: its window, the title,
// the menu, the best-times panel, the credits, a level and its pause menu, back to the title, and the scene
// loop's log once the window is closed. Every screen is grabbed from the X server, saved as a test artefact
// and checked for the overlays its scene lays out, compared with the generated media at the positions the
// layout gives them in an 800x600 window.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/game_process.h"
#include "support/overlay_pictures.h"
#include "support/test_paths.h"
#include "support/x11_window.h"

using namespace std::chrono_literals;

namespace
{
const std::string gameBinary = testing_paths::gameDir() + "/quobbel";
// The sanitizer build on a loaded machine renders a few frames a second; every wait polls.
constexpr std::chrono::milliseconds stepTimeout = 90s;

// One overlay the screen must show. With `unlike` (the button's other look) only the texels where the
// two looks differ are compared, so a selected button is told from an unselected one.
struct Expected
{
    std::string material;
    OverlaySpot spot;
    std::string unlike = {};
};
using Screenful = std::vector<Expected>;

// The layout in an 800x600 window, 4:3, so the viewport is the whole window.
constexpr int screenHeight = 600;

OverlaySpot at(int left, int top)
{
    return {left, top, top};
}

// The menu window is 1x1 pixel, anchored at the bottom centre; it rises until its offset from the bottom
// reaches 420 and may overshoot by one frame's rise (300 px/s for at most 0.04 s). Its buttons are
// anchored at its top centre.
OverlaySpot inMenu(int x, int y, int width)
{
    return {400 - width / 2 + x, screenHeight - 1 - 432 + y, screenHeight - 1 - 420 + y};
}

Expected look(const std::string& base, bool selected, const OverlaySpot& spot)
{
    const std::string over = base + ".mouseOver";
    return selected ? Expected{over, spot, base} : Expected{base, spot, over};
}

struct MenuButton
{
    const char* material;
    int x, y;
};

// One page of the menu, its first button at selection index `first`.
Screenful menu(const std::vector<MenuButton>& buttons, int width, int first, int selected)
{
    Screenful screen;
    for (std::size_t i = 0; i < buttons.size(); ++i)
        screen.push_back(look(buttons[i].material, first + static_cast<int>(i) == selected,
                              inMenu(buttons[i].x, buttons[i].y, width)));
    return screen;
}

Screenful mainMenu(int selected)
{
    return menu({{"but1Player", -150, -40},
                 {"but2Players", 150, -40},
                 {"butPuntuaciones", -150, 90},
                 {"creditos", 150, 90},
                 {"butSortirJoc", 0, 220}},
                256, 1, selected);
}

Screenful levelMenu(int selected)
{
    return menu(
        {{"butLevel1", -190, -90}, {"butLevel2", 190, -90}, {"butLevel3", -190, 90}, {"butLevel4", 190, 90}},
        320, 7, selected);
}

// The logo at the top and the "press" plate at the bottom, which blinks: its alpha runs from 0.15 to 1.15
// and back every 3.14 s, so it is drawn at full strength about a third of the time.
Screenful titleScreen()
{
    return {{"PimLogo", at(100, 80)}, {"pressStart", at(200, screenHeight - 64 - 10)}};
}

// Pause menu: the window takes the size of its "blank" picture (20x38) at the centre, its buttons centred
// in it 100 pixels above and below.
Screenful pauseMenu(bool exitSelected)
{
    return {look("butContinuar", !exitSelected, at(272, 152)), look("butSortir", exitSelected, at(272, 352))};
}

// One-player HUD: the lives badge at the bottom left with the digit cell centred 10 pixels low in it, and
// the clock frame at the top right.
Screenful levelScreen()
{
    return {{"vides", at(5, 499)}, {"5", {43, 538, 538, 20, 38}}, {"butTime", at(544, 0)}};
}

// The first credits panel: 500 wide, centred; it rises from its place at load, 50 pixels a second.
Expected firstCreditsPanel(int topMin, int topMax)
{
    return {"creditos1", {150, topMin, topMax}};
}

// The game window as the X server shows it, compared with the expected overlays, and real key presses:
// xdotool gives the window the input focus and sends the key through the XTEST extension, as a keyboard
// would.
class Screen
{
  public:
    Screen(X11Session& x11, unsigned long window, OverlayPictures& pictures, std::string artefacts)
        : mX11(x11), mWindow(window), mPictures(pictures), mArtefacts(std::move(artefacts))
    {
    }
    // Leaves the screen as it was when a check failed, for whoever reads the failure.
    ~Screen()
    {
        if (testing::Test::HasFailure())
            save("failure");
    }

    OverlayMatch find(const Expected& expected)
    {
        const RgbaPicture* unlike = expected.unlike.empty() ? nullptr : &mPictures.of(expected.unlike);
        return matchOverlay(mLast, mPictures.of(expected.material), expected.spot, unlike);
    }

    // Grabs the window and tells whether every overlay shows; report() then says how well each matched.
    bool shows(const Screenful& screen)
    {
        mLast = mX11.capture(mWindow);
        std::ostringstream report;
        bool all = !mLast.empty();
        for (const Expected& expected : screen)
        {
            const OverlayMatch match = find(expected);
            const bool shown = match.samples >= minimumSamples && match.fraction >= neededFraction;
            all = all && shown;
            report << "  " << expected.material << ": " << match.fraction << " of " << match.samples
                   << " samples, best at (" << match.left << ", " << match.top << ")"
                   << (shown ? "" : " MISSING") << "\n";
        }
        mReport = report.str();
        return all;
    }

    bool waitUntilShows(const Screenful& screen)
    {
        return waitFor([&] { return shows(screen); }, stepTimeout);
    }

    // Waits until `overlay` has been missing from every grab for `span` (a picture with too few samples to
    // tell never counts as missing).
    bool waitUntilAbsentFor(const Expected& overlay, std::chrono::milliseconds span)
    {
        auto absentSince = std::chrono::steady_clock::now();
        return waitFor(
            [&]
            {
                shows({overlay});
                const OverlayMatch match = find(overlay);
                const auto now = std::chrono::steady_clock::now();
                if (match.samples < minimumSamples || match.fraction >= absentBelow)
                    absentSince = now;
                return now - absentSince >= span;
            },
            stepTimeout);
    }

    // The game reads the key state once a frame, so a key is held until its effect shows on screen; after
    // the release a few frames pass, so that the next press of the same key is a new press to the game. A
    // second attempt covers a press the game missed because it had not yet seen the previous release.
    // key: an X key name ("Return", "Escape", "s").
    bool press(const std::string& key, const Screenful& effect)
    {
        for (int attempt = 0; attempt < 2; ++attempt)
        {
            if (!xdotool("keydown " + key))
                return false;
            const bool shown = waitUntilShows(effect);
            xdotool("keyup " + key);
            waitForFrames(2);
            if (shown)
                return true;
            std::cout << "No effect of the key " << key << " yet; pressing it again\n";
        }
        return false;
    }

    // Saves the last grab as "<name>.png" (or ".ppm" without ImageMagick) in the artefact folder.
    void save(const std::string& name) const
    {
        const std::string ppm = mArtefacts + "/" + name + ".ppm";
        const std::string convert = "convert '" + ppm + "' '" + mArtefacts + "/" + name + ".png' 2>/dev/null";
        if (mLast.savePpm(ppm) && std::system(convert.c_str()) == 0)
            std::filesystem::remove(ppm);
    }

    const std::string& report() const { return mReport; }

  private:
    bool xdotool(const std::string& command)
    {
        const std::string line =
            "timeout 20 xdotool windowfocus --sync " + std::to_string(mWindow) + " " + command;
        return std::system(line.c_str()) == 0;
    }

    // Waits until the game has presented a few new frames, or a while has passed on a still picture.
    void waitForFrames(int frames)
    {
        WindowPicture previous = mX11.capture(mWindow);
        waitFor(
            [&]
            {
                mLast = mX11.capture(mWindow);
                frames -= mLast.rgb != previous.rgb;
                previous = mLast;
                return frames <= 0;
            },
            3s);
    }

    // Fewer sampled texels than this would make a match meaningless.
    static constexpr int minimumSamples = 12;
    // Of the sampled texels, the share the screen must show.
    static constexpr double neededFraction = 0.9;
    // An overlay matching fewer of its samples than this is not on screen (or still fading in).
    static constexpr double absentBelow = 0.3;

    X11Session& mX11;
    unsigned long mWindow;
    OverlayPictures& mPictures;
    std::string mArtefacts;
    WindowPicture mLast;
    std::string mReport;
};

int countOf(const std::string& text, const std::string& line)
{
    int count = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
        ++count;
    return count;
}
} // namespace

TEST(FrontEndEndToEnd, RealKeysLeadFromTheTitleThroughMenusCreditsAndALevelBackToTheTitle)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    const std::string artefacts = testing_paths::binaryDir() + "/tests/front_end_e2e";
    std::filesystem::create_directories(artefacts);
    std::cout << "Screenshots of this test: " << artefacts << "\n";

    GameDirCopy dir;
    dir.write("Quobbel.cfg", "Fullscreen = false\nWindowResolution = 800x600\nVSync = true\n");
    dir.write("scores.icl", "ABC 83.2417\n");
    OverlayPictures pictures(dir.file("media.icl"));
    GameProcess game(gameBinary, dir.path());
    X11Session x11;
    x11.setKeyAutoRepeat(false);
    unsigned long window = 0;
    ASSERT_TRUE(waitFor([&] { return (window = x11.findWindow("Quobbel")) != 0; }, stepTimeout))
        << game.standardError();
    unsigned width = 0;
    unsigned height = 0;
    x11.windowSize(window, width, height);
    EXPECT_EQ(width, 800u);
    EXPECT_EQ(height, 600u);
    Screen screen(x11, window, pictures, artefacts);

    ASSERT_TRUE(screen.waitUntilShows(titleScreen())) << "title\n" << screen.report();
    screen.save("title");
    // The checks can fail: they miss pictures that are not drawn and tell a button's two looks apart.
    EXPECT_FALSE(screen.shows(mainMenu(1))) << "a menu on the title\n" << screen.report();

    ASSERT_TRUE(screen.press("Return", mainMenu(1))) << "menu\n" << screen.report();
    screen.save("menu");
    EXPECT_FALSE(screen.shows(mainMenu(2))) << "both looks match\n" << screen.report();

    // Down from "1player" selects "puntuacions"; its panel lists the one entry of the scores file, drawn
    // cell by cell inside it: the name from x 110, the time from x 365, on the first row (y 100).
    ASSERT_TRUE(screen.press("s", mainMenu(3))) << "menu, scores selected\n" << screen.report();
    // The panel is selected while it shows; its selected look is optional in the media.
    const std::string panelLook =
        pictures.has("panelClasification.mouseOver") ? "panelClasification.mouseOver" : "panelClasification";
    ASSERT_TRUE(screen.press("Return", {{panelLook, inMenu(0, -120, 600)}})) << "scores\n" << screen.report();
    const OverlayMatch panel = screen.find({panelLook, inMenu(0, -120, 600)});
    Screenful scores = {{panelLook, at(panel.left, panel.top)}};
    const struct
    {
        const char* glyph;
        int x;
    } cells[] = {{"A", 110}, {"B", 130},    {"C", 150}, {"8", 365},
                 {"3", 385}, {"dots", 405}, {"2", 425}, {"4", 445}};
    for (const auto& cell : cells)
        scores.push_back({cell.glyph, {panel.left + cell.x, panel.top + 98, panel.top + 102, 20, 38}});
    EXPECT_TRUE(screen.waitUntilShows(scores)) << "scores panel cells\n" << screen.report();
    screen.save("scores");

    // Accept on the panel closes it and selects "puntuacions" again; right selects "creditos".
    ASSERT_TRUE(screen.press("Return", mainMenu(3))) << "menu after the scores\n" << screen.report();
    ASSERT_TRUE(screen.press("d", mainMenu(4))) << "menu, credits selected\n" << screen.report();
    // The panel starts to rise from 413 pixels down at once; it is checked once it is wholly in the window.
    const int creditsFullyIn = screenHeight - 257;
    ASSERT_TRUE(screen.press("Return", {firstCreditsPanel(0, creditsFullyIn)})) << "credits\n"
                                                                                << screen.report();
    screen.save("credits");
    const int creditsTop = screen.find(firstCreditsPanel(0, creditsFullyIn)).top;
    EXPECT_TRUE(screen.waitUntilShows({firstCreditsPanel(0, creditsTop - 10)})) << "the credits rise\n"
                                                                                << screen.report();

    ASSERT_TRUE(screen.press("Escape", titleScreen())) << "title after the credits\n" << screen.report();
    ASSERT_TRUE(screen.press("Return", mainMenu(1))) << "menu again\n" << screen.report();
    ASSERT_TRUE(screen.press("Return", levelMenu(7))) << "level select\n" << screen.report();

    ASSERT_TRUE(screen.press("Return", levelScreen())) << "level 1\n" << screen.report();
    // The "GO" sign fades in, stands for half a second and fades out. Once it has been away for longer than
    // its fade-in could hide it, the level runs.
    const Expected goSign{"textGo", at(240, 220)};
    EXPECT_TRUE(screen.waitUntilAbsentFor(goSign, 1500ms)) << "the GO sign stays up\n" << screen.report();
    EXPECT_TRUE(screen.shows(levelScreen())) << "level 1 HUD\n" << screen.report();
    screen.save("level1");

    ASSERT_TRUE(screen.press("Escape", pauseMenu(false))) << "pause menu\n" << screen.report();
    screen.save("pause");
    ASSERT_TRUE(screen.press("s", pauseMenu(true))) << "pause menu, exit selected\n" << screen.report();
    ASSERT_TRUE(screen.press("Return", titleScreen())) << "title after the level\n" << screen.report();

    x11.requestClose(window);
    const int exitCode = game.waitForExit(stepTimeout);
    if (exitCode == -1 && game.running())
    {
        // Tell a game that stopped drawing from one that lost the request: the title animates while it runs.
        const WindowPicture before = x11.capture(window);
        std::this_thread::sleep_for(1s);
        const bool drawing = x11.capture(window).rgb != before.rgb;
        const std::string state = game.diagnosis();
        x11.requestClose(window);
        const int secondExit = game.waitForExit(20s);
        ADD_FAILURE() << "no exit after the close request; the window was " << (drawing ? "still" : "not")
                      << " drawing, and a second request gave exit code " << secondExit << "\n"
                      << state;
    }
    else
        EXPECT_EQ(exitCode, 0) << game.diagnosis();
    // Title, credits, title, level, title: five scenes, each loaded and unloaded once.
    const std::string log = dir.read("quobbel.log");
    for (const char* line : {"Loading scene", "Scene loaded", "Unloading scene", "Scene unloaded"})
        EXPECT_EQ(countOf(log, line), 5) << line << " in\n" << log;
}
