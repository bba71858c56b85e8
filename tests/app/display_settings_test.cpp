#include <OgreConfigFile.h>
#include <OgreDataStream.h>
#include <OgreLogManager.h>

#include <gtest/gtest.h>

#include "app/display_settings.h"

TEST(PictureArea, TheWidescreenValueChoosesTheAspectAndTheBarsCentreThePicture)
{
    const struct
    {
        unsigned windowWidth, windowHeight;
        const char* widescreen;
        float aspect;
        unsigned width, height;
        double leftPixels, topPixels;
    } cases[] = {
        // 1280 / 1.3333334f is 959.99997, truncated.
        {1280, 1024, "auto", 4.0f / 3.0f, 1280, 959, 0, 32.5},
        {1920, 1080, "auto", 1.6f, 1728, 1080, 96, 0},
        {1024, 768, "true", 1.6f, 1024, 639, 0, 64.5},
        // Only the exact lower-case values select wide; anything else, or no key, is 4:3.
        {1920, 1080, "", 4.0f / 3.0f, 1440, 1080, 240, 0},
        {1920, 1080, "True", 4.0f / 3.0f, 1440, 1080, 240, 0},
        {1920, 1080, "AUTO", 4.0f / 3.0f, 1440, 1080, 240, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.windowWidth) + "x" + std::to_string(c.windowHeight) + " " +
                     c.widescreen);
        const PictureArea area = pictureArea(c.windowWidth, c.windowHeight, c.widescreen);
        EXPECT_FLOAT_EQ(area.aspect, c.aspect);
        EXPECT_EQ(area.width, c.width);
        EXPECT_EQ(area.height, c.height);
        EXPECT_NEAR(area.left * c.windowWidth, c.leftPixels, 1e-9);
        EXPECT_NEAR(area.top * c.windowHeight, c.topPixels, 1e-9);
    }
}

TEST(FrameTime, IsClampedToFortyMilliseconds)
{
    EXPECT_DOUBLE_EQ(clampFrameTime(0.5), 0.04);
    EXPECT_DOUBLE_EQ(clampFrameTime(1.0 / 60), 1.0 / 60);
}

// Sizes in pixels on a 1280x1024 desktop. A size the game does not use as written says so in the log.
TEST(WindowSettings, OnlyLowerCaseTrueRunsFullScreenAndAWindowOutsideTheBoundsOrTheDesktopIsRefused)
{
    const platform::ScreenSize desktop{1280, 1024};
    struct Recorder : Ogre::LogListener
    {
        std::string lines;
        void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel, bool, const Ogre::String&,
                           bool&) override
        {
            lines += message + "\n";
        }
    } recorder;
    Ogre::LogManager logManager;
    logManager.createLog("", true, false, true)->addListener(&recorder);
    const auto read = [&](std::string text)
    {
        recorder.lines.clear();
        Ogre::ConfigFile config;
        config.load(Ogre::DataStreamPtr(new Ogre::MemoryDataStream(text.data(), text.size())), "=", true);
        return readWindowSettings(config, desktop);
    };
    const WindowSettings windowed = read("Fullscreen = True\nWindowResolution = 640x480\nVSync =  maybe \n");
    EXPECT_FALSE(windowed.fullScreen);
    EXPECT_EQ(windowed.vsync, "maybe");
    const WindowSettings full = read("Fullscreen = true\nWindowResolution = 640x480\n");
    EXPECT_TRUE(full.fullScreen);
    EXPECT_EQ(full.width, 1280u);
    EXPECT_EQ(full.height, 1024u);

    const std::string malformed = "WindowResolution missing or malformed: using 800x600\n";
    const std::string outside = " outside 320x200 to 16384x16384: using 800x600\n";
    const struct
    {
        const char* resolution;
        unsigned width, height;
        std::string logged;
    } cases[] = {
        {"640x480", 640, 480, ""},
        {"320x200", 320, 200, ""},
        {"1280x1024", 1280, 1024, ""},
        {nullptr, 800, 600, malformed},
        {"big", 800, 600, malformed},
        {"1024x768x32", 800, 600, malformed},
        {"319x200", 800, 600, "WindowResolution 319x200" + outside},
        {"320x199", 800, 600, "WindowResolution 320x199" + outside},
        // Read unsigned, these would wrap round to sizes near four thousand million.
        {"-800x-600", 800, 600, "WindowResolution -800x-600" + outside},
        {"16385x600", 800, 600, "WindowResolution 16385x600" + outside},
        {"99999999999999999999x600", 800, 600, "WindowResolution 99999999999999999999x600" + outside},
        // Within the bounds but not the desktop: each side is clamped to it.
        {"16384x16384", 1280, 1024, "Window 16384x16384 larger than the desktop: using 1280x1024\n"},
        {"2000x600", 1280, 600, "Window 2000x600 larger than the desktop: using 1280x600\n"},
    };
    for (const auto& c : cases)
    {
        const std::string text = c.resolution ? std::string("WindowResolution = ") + c.resolution + "\n" : "";
        SCOPED_TRACE(text);
        const WindowSettings settings = read(text);
        EXPECT_EQ(settings.width, c.width);
        EXPECT_EQ(settings.height, c.height);
        EXPECT_EQ(recorder.lines, c.logged);
    }
    // The fallback itself is clamped on a desktop smaller than it.
    recorder.lines.clear();
    Ogre::ConfigFile empty;
    const WindowSettings small = readWindowSettings(empty, {640, 480});
    EXPECT_EQ(small.width, 640u);
    EXPECT_EQ(small.height, 480u);
    EXPECT_EQ(recorder.lines, malformed + "Window 800x600 larger than the desktop: using 640x480\n");
}
