#include <OgreConfigFile.h>
#include <OgreDataStream.h>

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

TEST(WindowSettings, OnlyLowerCaseTrueRunsFullScreenAndABadResolutionFallsBackTo800x600)
{
    const auto read = [](std::string text)
    {
        Ogre::ConfigFile config;
        config.load(Ogre::DataStreamPtr(new Ogre::MemoryDataStream(text.data(), text.size())), "=", true);
        return readWindowSettings(config);
    };
    const WindowSettings windowed = read("Fullscreen = True\nWindowResolution = 640x480\nVSync =  maybe \n");
    EXPECT_FALSE(windowed.fullScreen);
    EXPECT_EQ(windowed.width, 640u);
    EXPECT_EQ(windowed.height, 480u);
    EXPECT_EQ(windowed.vsync, "maybe");
    for (const char* text : {"", "WindowResolution = big\n", "WindowResolution = 1024\n",
                             "WindowResolution = 0x600\n", "WindowResolution = 1024x768x32\n"})
    {
        const WindowSettings settings = read(text);
        EXPECT_EQ(settings.width, 800u) << text;
        EXPECT_EQ(settings.height, 600u) << text;
    }
}
