// The real game binary under the test display, played only through real key presses: the title, the menu,
// the best-times panel, the credits, a level and its pause menu, and back to the title. Every screen is
// grabbed from the X server, saved as a test artefact and checked for the overlays its scene lays out,
// compared with the generated media at the positions the layout gives them in an 800x600 window.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
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
    Expected(std::string look, const OverlaySpot& where, std::string otherLook = std::string())
        : material(std::move(look)), spot(where), unlike(std::move(otherLook))
    {
    }

    std::string material;
    OverlaySpot spot;
    std::string unlike;
};
using Screenful = std::vector<Expected>;

// The layout in an 800x600 window, 4:3, so the viewport is the whole window.
constexpr int screenWidth = 800;
constexpr int screenHeight = 600;
// The menu window is 1x1 pixel, anchored at the bottom centre; it rises until its offset from the bottom
// reaches 420 and may overshoot by one frame's rise (300 px/s for at most 0.04 s). Its buttons are
// anchored at its top centre.
constexpr int menuTopHighest = screenHeight - 1 - 432;
constexpr int menuTopLowest = screenHeight - 1 - 420;

OverlaySpot inMenu(int x, int y, int width)
{
    return {screenWidth / 2 - width / 2 + x, menuTopHighest + y, menuTopLowest + y};
}

OverlaySpot at(int left, int top)
{
    return {left, top, top};
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

// Selection indices 1 to 5.
const MenuButton mainButtons[] = {{"but1Player", -150, -40},
                                  {"but2Players", 150, -40},
                                  {"butPuntuaciones", -150, 90},
                                  {"creditos", 150, 90},
                                  {"butSortirJoc", 0, 220}};
// Selection indices 7 to 10.
const MenuButton levelButtons[] = {
    {"butLevel1", -190, -90}, {"butLevel2", 190, -90}, {"butLevel3", -190, 90}, {"butLevel4", 190, 90}};

// The logo at the top and the "press" plate at the bottom, which blinks: its alpha runs from 0.15 to 1.15
// and back every 3.14 s, so it is drawn at full strength about a third of the time.
Screenful titleScreen()
{
    return {{"PimLogo", at(100, 80)}, {"pressStart", at(200, screenHeight - 64 - 10)}};
}

Screenful mainMenu(int selected)
{
    Screenful screen;
    for (int i = 0; i < 5; ++i)
        screen.push_back(look(mainButtons[i].material, i + 1 == selected,
                              inMenu(mainButtons[i].x, mainButtons[i].y, 256)));
    return screen;
}

Screenful levelMenu(int selected)
{
    Screenful screen;
    for (int i = 0; i < 4; ++i)
        screen.push_back(look(levelButtons[i].material, i + 7 == selected,
                              inMenu(levelButtons[i].x, levelButtons[i].y, 320)));
    return screen;
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
OverlaySpot firstCreditsPanel(int topMin, int topMax)
{
    return {150, topMin, topMax};
}

// Grabs the game window from the X server and compares it with the expected overlays.
class Screen
{
  public:
    Screen(X11Session& x11, unsigned long window, OverlayPictures& pictures, std::string artefacts)
        : mX11(x11), mWindow(window), mPictures(pictures), mArtefacts(std::move(artefacts))
    {
    }

    void grab() { mLast = mX11.capture(mWindow); }

    OverlayMatch find(const Expected& expected)
    {
        const RgbaPicture* unlike = expected.unlike.empty() ? nullptr : &mPictures.of(expected.unlike);
        return matchOverlay(mLast, mPictures.of(expected.material), expected.spot, unlike);
    }

    // Grabs the window and tells whether every overlay shows; report() then says how well each matched.
    bool shows(const Screenful& screen)
    {
        grab();
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

    bool waitUntilShows(const Screenful& screen, std::chrono::milliseconds timeout = stepTimeout)
    {
        return waitFor([&] { return shows(screen); }, timeout);
    }

    // Waits until `overlay` has been missing from every grab for `span` (a picture with too few samples to
    // tell never counts as missing).
    bool waitUntilAbsentFor(const Expected& overlay, std::chrono::milliseconds span)
    {
        auto absentSince = std::chrono::steady_clock::now();
        bool absent = false;
        return waitFor(
            [&]
            {
                grab();
                const OverlayMatch match = find(overlay);
                mReport = "  " + overlay.material + ": " + std::to_string(match.fraction) + " of " +
                          std::to_string(match.samples) + " samples\n";
                const auto now = std::chrono::steady_clock::now();
                if (match.samples < minimumSamples || match.fraction >= absentBelow)
                    absent = false;
                else if (!absent)
                {
                    absent = true;
                    absentSince = now;
                }
                return absent && now - absentSince >= span;
            },
            stepTimeout);
    }

    // Waits until the game has presented a few new frames, or a while has passed on a still picture.
    void waitForFrames(int frames)
    {
        grab();
        WindowPicture previous = mLast;
        int changes = 0;
        waitFor(
            [&]
            {
                grab();
                if (mLast.rgb != previous.rgb)
                {
                    ++changes;
                    previous = mLast;
                }
                return changes >= frames;
            },
            3s);
    }

    // Saves the last grab as "<name>.png" (or ".ppm" without ImageMagick) in the artefact folder.
    void save(const std::string& name) const
    {
        const std::string ppm = mArtefacts + "/" + name + ".ppm";
        const std::string png = mArtefacts + "/" + name + ".png";
        if (!mLast.savePpm(ppm))
            return;
        const std::string convert = "convert '" + ppm + "' '" + png + "' 2>/dev/null";
        if (std::system(convert.c_str()) == 0)
            std::filesystem::remove(ppm);
    }

    const std::string& report() const { return mReport; }

  private:
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

// Real key presses: xdotool gives the game window the input focus and sends the key through the XTEST
// extension, as a keyboard would. The game reads the key state once a frame, so a key is held until its
// effect shows on screen; after the release a few frames pass, so that the next press of the same key is
// a new press to the game.
class Keys
{
  public:
    Keys(unsigned long window, Screen& screen) : mWindow(std::to_string(window)), mScreen(screen) {}

    // key: an X key name ("Return", "Escape", "s").
    bool press(const std::string& key, const Screenful& effect)
    {
        // A second attempt covers a press the game missed because it had not yet seen the previous
        // release of the same key.
        for (int attempt = 0; attempt < 2; ++attempt)
        {
            if (!xdotool("keydown " + key))
                return false;
            const bool shown = mScreen.waitUntilShows(effect);
            xdotool("keyup " + key);
            mScreen.waitForFrames(2);
            if (shown)
                return true;
            std::cout << "No effect of the key " << key << " yet; pressing it again\n";
        }
        return false;
    }

  private:
    bool xdotool(const std::string& command)
    {
        const std::string line = "timeout 20 xdotool windowfocus --sync " + mWindow + " " + command;
        return std::system(line.c_str()) == 0;
    }

    std::string mWindow;
    Screen& mScreen;
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
    Screen screen(x11, window, pictures, artefacts);
    Keys keys(window, screen);
    // The screen as it was when a check failed, for whoever reads the failure.
    struct SaveOnFailure
    {
        Screen& screen;
        ~SaveOnFailure()
        {
            if (testing::Test::HasFailure())
                screen.save("failure");
        }
    } saveOnFailure{screen};

    ASSERT_TRUE(screen.waitUntilShows(titleScreen())) << "title\n" << screen.report();
    screen.save("title");

    ASSERT_TRUE(keys.press("Return", mainMenu(1))) << "menu\n" << screen.report();
    screen.save("menu");

    // Down from "1player" selects "puntuacions"; its panel lists the one entry of the scores file, drawn
    // cell by cell inside it: the name from x 110, the time from x 365, on the first row (y 100).
    ASSERT_TRUE(keys.press("s", mainMenu(3))) << "menu, scores selected\n" << screen.report();
    // The panel is selected while it shows; its selected look is optional in the media.
    const std::string panelLook =
        pictures.has("panelClasification.mouseOver") ? "panelClasification.mouseOver" : "panelClasification";
    ASSERT_TRUE(keys.press("Return", {{panelLook, inMenu(0, -120, 600)}})) << "scores\n" << screen.report();
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
    ASSERT_TRUE(keys.press("Return", mainMenu(3))) << "menu after the scores\n" << screen.report();
    ASSERT_TRUE(keys.press("d", mainMenu(4))) << "menu, credits selected\n" << screen.report();
    // The panel starts to rise from 413 pixels down at once; it is checked once it is wholly in the window.
    const int creditsFullyIn = screenHeight - 257;
    ASSERT_TRUE(keys.press("Return", {{"creditos1", firstCreditsPanel(0, creditsFullyIn)}}))
        << "credits\n"
        << screen.report();
    screen.save("credits");
    const int creditsTop = screen.find({"creditos1", firstCreditsPanel(0, creditsFullyIn)}).top;
    EXPECT_TRUE(screen.waitUntilShows({{"creditos1", firstCreditsPanel(0, creditsTop - 10)}}))
        << "the credits rise\n"
        << screen.report();

    ASSERT_TRUE(keys.press("Escape", titleScreen())) << "title after the credits\n" << screen.report();
    ASSERT_TRUE(keys.press("Return", mainMenu(1))) << "menu again\n" << screen.report();
    ASSERT_TRUE(keys.press("Return", levelMenu(7))) << "level select\n" << screen.report();

    ASSERT_TRUE(keys.press("Return", levelScreen())) << "level 1\n" << screen.report();
    // The "GO" sign fades in, stands for half a second and fades out. Once it has been away for longer than
    // its fade-in could hide it, the level runs.
    const Expected goSign("textGo", at(240, 220));
    EXPECT_TRUE(screen.waitUntilAbsentFor(goSign, 1500ms)) << "the GO sign stays up\n" << screen.report();
    EXPECT_TRUE(screen.shows(levelScreen())) << "level 1 HUD\n" << screen.report();
    screen.save("level1");

    ASSERT_TRUE(keys.press("Escape", pauseMenu(false))) << "pause menu\n" << screen.report();
    screen.save("pause");
    ASSERT_TRUE(keys.press("s", pauseMenu(true))) << "pause menu, exit selected\n" << screen.report();
    ASSERT_TRUE(keys.press("Return", titleScreen())) << "title after the level\n" << screen.report();

    x11.requestClose(window);
    EXPECT_EQ(game.waitForExit(stepTimeout), 0) << game.standardError();
    // Title, credits, title, level, title: five scenes, each loaded and unloaded once.
    const std::string log = dir.read("quobbel.log");
    EXPECT_EQ(countOf(log, "Scene loaded"), 5) << log;
    EXPECT_EQ(countOf(log, "Scene unloaded"), 5) << log;
}

// The screen checks above pass only if the comparison can fail: it must find a picture where it is drawn,
// miss it where it is not, and tell a button's two looks apart.
TEST(FrontEndEndToEnd, ScreenComparisonFindsThePictureWhereItIsDrawnAndTellsLooksApart)
{
    // A 40x20 button: a grey face crossed by a dark stripe, its right half red in one look and blue in
    // the other, with a translucent band at the top whose colour depends on what lies behind it.
    const auto button = [](unsigned char r, unsigned char b)
    {
        RgbaPicture picture;
        picture.width = 40;
        picture.height = 20;
        for (unsigned y = 0; y < 20; ++y)
            for (unsigned x = 0; x < 40; ++x)
            {
                const unsigned char face = y >= 10 && y < 13 ? 40 : 128;
                const bool right = x >= 20;
                const unsigned char alpha = y < 4 ? 100 : 255;
                picture.rgba.insert(picture.rgba.end(), {right ? r : face, face, right ? b : face, alpha});
            }
        return picture;
    };
    const RgbaPicture red = button(220, 30);
    const RgbaPicture blue = button(30, 220);
    const auto screenWith = [](const RgbaPicture* picture, int left, int top)
    {
        WindowPicture screen;
        screen.width = 100;
        screen.height = 80;
        screen.rgb.assign(100 * 80 * 3, 10);
        for (unsigned y = 0; picture && y < picture->height; ++y)
            for (unsigned x = 0; x < picture->width; ++x)
                std::copy_n(picture->pixel(x, y), 3, &screen.rgb[3 * ((top + y) * 100 + left + x)]);
        return screen;
    };

    const WindowPicture shown = screenWith(&red, 30, 47);
    const OverlayMatch found = matchOverlay(shown, red, {30, 40, 55});
    EXPECT_DOUBLE_EQ(found.fraction, 1.0);
    // Samples sit in uniform patches, so a placement one pixel off matches as well.
    EXPECT_NEAR(found.top, 47, 1);
    EXPECT_GT(found.samples, 100);
    EXPECT_LT(matchOverlay(screenWith(nullptr, 0, 0), red, {30, 40, 55}).fraction, 0.1);
    // Only the right half differs between the looks: comparing there, red is red and not blue.
    EXPECT_DOUBLE_EQ(matchOverlay(shown, red, {30, 47, 47}, &blue).fraction, 1.0);
    EXPECT_LT(matchOverlay(shown, blue, {30, 47, 47}, &red).fraction, 0.1);
}
