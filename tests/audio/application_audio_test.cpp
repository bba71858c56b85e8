// The sound services inside the real application: started with it, streaming while frames render, shut
// down in its order, and absent without a sound device.

#include <cstdlib>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "app/quobbel.h"
#include "audio/music_player.h"
#include "audio/sound_manager.h"
#include "core/access_points.h"
#include "ogg_writer.h"
#include "support/game_process.h"
#include "support/test_paths.h"
#include "support/x11_window.h"

using namespace std::chrono_literals;

namespace
{
void xdotool(const std::string& arguments)
{
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
}

void renderFor(std::chrono::milliseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end)
        Ogre::Root::getSingleton().renderOneFrame();
}
} // namespace

TEST(ApplicationAudio, MusicStreamsWhileFramesRenderAndStopsCleanlyWithTheApplication)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    GameDirCopy dir;
    dir.write("Quobbel.cfg", "Fullscreen = false\nWindowResolution = 640x480\nVSync = false\n");
    writeOgg(dir.file("soundtrack/theme.ogg"), {2, 44100, 44100});
    {
        Quobbel application(dir.path() + "/");
        ASSERT_NE(theMusicPlayer, nullptr);
        ASSERT_NE(SoundManager::existing(), nullptr);
        EXPECT_TRUE(SoundManager::existing()->isOpen());
        EXPECT_NE(theMusicPlayer->stream().source(), 0u);
        ASSERT_TRUE(theMusicPlayer->load("theme.ogg"));
        theMusicPlayer->stream().play();
        renderFor(200ms);
        EXPECT_EQ(OggStream::playingCount(), 1u);

        // The music key pauses and resumes in any scene, here with none running.
        size_t window = 0;
        theRenderWindow->getCustomAttribute("WINDOW", &window);
        xdotool("windowfocus --sync " + std::to_string(window));
        for (const bool paused : {true, false})
        {
            xdotool("keydown m");
            renderFor(200ms);
            xdotool("keyup m");
            renderFor(100ms);
            EXPECT_EQ((theMusicPlayer->stream().flags() & OggStream::pausedFlag) != 0, paused);
        }
    }
    EXPECT_EQ(theMusicPlayer, nullptr);
    EXPECT_EQ(SoundManager::existing(), nullptr);
    EXPECT_EQ(OggStream::playingCount(), 0u);
}

TEST(ApplicationAudio, WithoutASoundDeviceTheGameStartsPlaysAndEndsNormally)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    GameDirCopy dir;
    const std::string previous = std::getenv("ALSOFT_DRIVERS") ? std::getenv("ALSOFT_DRIVERS") : "";
    setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
    GameProcess game(testing_paths::gameDir() + "/quobbel", dir.path());
    setenv("ALSOFT_DRIVERS", previous.c_str(), 1);
    X11Session x11;

    unsigned long window = 0;
    ASSERT_TRUE(waitFor([&] { return (window = x11.findWindow("Quobbel")) != 0; }, 30s))
        << game.standardError();
    ASSERT_TRUE(
        waitFor([&] { return dir.read("quobbel.log").find("Scene loaded") != std::string::npos; }, 30s));
    x11.requestClose(window);
    EXPECT_EQ(game.waitForExit(30s), 0) << game.standardError();
    EXPECT_NE(dir.read("quobbel.log").find("OpenAL error: Could not init OpenAL.\n"), std::string::npos);
}
