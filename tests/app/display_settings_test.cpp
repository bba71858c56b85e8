#include <OgreConfigFile.h>
#include <OgreDataStream.h>

#include <gtest/gtest.h>

#include "app/display_settings.h"

namespace
{
Ogre::ConfigFile configFrom(const std::string& text)
{
    Ogre::ConfigFile config;
    Ogre::DataStreamPtr stream(new Ogre::MemoryDataStream(const_cast<char*>(text.data()), text.size()));
    config.load(stream, "=", true);
    return config;
}
} // namespace

TEST(PictureArea, AutoKeepsFourThirdsOnA1280x1024WindowWithSinglePrecisionAspect)
{
    const PictureArea area = pictureArea(1280, 1024, "auto");
    EXPECT_FLOAT_EQ(area.aspect, 4.0f / 3.0f);
    EXPECT_EQ(area.width, 1280u);
    EXPECT_EQ(area.height, 959u) << "1280 / 1.3333334 is 959.99997, truncated";
    EXPECT_DOUBLE_EQ(area.left, 0.0);
    EXPECT_DOUBLE_EQ(area.top, 0.5 * (1024 - 959) / 1024.0);
}

TEST(PictureArea, AutoOnAWideWindowGivesSixteenTenthsWithPillarbox)
{
    const PictureArea area = pictureArea(1920, 1080, "auto");
    EXPECT_FLOAT_EQ(area.aspect, 1.6f);
    EXPECT_EQ(area.width, 1728u);
    EXPECT_EQ(area.height, 1080u);
    EXPECT_DOUBLE_EQ(area.left * 1920, 96.0);
    EXPECT_DOUBLE_EQ(area.relWidth, 1728 / 1920.0);
    EXPECT_DOUBLE_EQ(area.top, 0.0);
}

TEST(PictureArea, OnlyExactValuesSelectWidescreen)
{
    EXPECT_FLOAT_EQ(pictureArea(1920, 1080, "true").aspect, 1.6f);
    EXPECT_FLOAT_EQ(pictureArea(1024, 768, "true").aspect, 1.6f) << "\"true\" is wide on any window";
    for (const char* value : {"", "True", "AUTO", "yes"})
    {
        const PictureArea area = pictureArea(1920, 1080, value);
        EXPECT_FLOAT_EQ(area.aspect, 4.0f / 3.0f) << value;
        EXPECT_EQ(area.width, 1440u) << value;
    }
}

TEST(FrameTime, IsClampedToFortyMilliseconds)
{
    EXPECT_DOUBLE_EQ(clampFrameTime(0.5), 0.04);
    EXPECT_DOUBLE_EQ(clampFrameTime(0.04), 0.04);
    EXPECT_DOUBLE_EQ(clampFrameTime(1.0 / 60), 1.0 / 60);
}

TEST(WindowSettings, OnlyLowerCaseTrueRunsFullScreen)
{
    const WindowSettings settings =
        readWindowSettings(configFrom("Fullscreen = True\nWindowResolution = 640x480\n"));
    EXPECT_FALSE(settings.fullScreen);
    EXPECT_EQ(settings.width, 640u);
    EXPECT_EQ(settings.height, 480u);
}

TEST(WindowSettings, MissingOrMalformedResolutionFallsBackTo800x600)
{
    for (const char* text : {"", "WindowResolution = big\n", "WindowResolution = 1024\n",
                             "WindowResolution = 0x600\n", "WindowResolution = 1024x768x32\n"})
    {
        const WindowSettings settings = readWindowSettings(configFrom(text));
        EXPECT_EQ(settings.width, 800u) << text;
        EXPECT_EQ(settings.height, 600u) << text;
    }
}

TEST(WindowSettings, VSyncIsPassedOnVerbatim)
{
    EXPECT_EQ(readWindowSettings(configFrom("VSync =  maybe \n")).vsync, "maybe");
    EXPECT_EQ(readWindowSettings(configFrom("")).vsync, "");
}
