// The sound services inside the real application: started with it, streaming while frames render, shut
// down in its order, and absent without a sound device.

#include <cstdlib>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "app/quobbel.h"
#include "audio/music_player.h"
#include "audio/sound_manager.h"
#include "audio_fixture.h"
#include "core/access_points.h"
#include "core/scene.h"
#include "ogg_writer.h"
#include "support/game_process.h"
#include "support/x11_window.h"

using namespace std::chrono_literals;

namespace
{
void renderFor(std::chrono::milliseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end)
        Ogre::Root::getSingleton().renderOneFrame();
}

// A scene that ends the game after a number of frames.
class FramesScene : public Scene
{
  public:
    void load() override {}
    void unload() override {}
    void update(double, InputState*) override
    {
        if (++frames == 30)
            next = Scene::quitMarker();
    }
    int frames = 0;
};
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
    }
    EXPECT_EQ(theMusicPlayer, nullptr);
    EXPECT_EQ(SoundManager::existing(), nullptr);
    EXPECT_EQ(OggStream::playingCount(), 0u);
}

TEST(ApplicationAudio, WithoutASoundDeviceTheGameRunsSilentlyThroughTheSceneLoop)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    if (!runningAsChild())
    {
        EXPECT_EQ(runAsChild({"ALSOFT_DRIVERS=no-such-backend"}), 0);
        return;
    }
    GameDirCopy dir;
    dir.write("Quobbel.cfg", "Fullscreen = false\nWindowResolution = 640x480\nVSync = false\n");
    writeOgg(dir.file("soundtrack/theme.ogg"), {2, 44100, 44100});
    {
        Quobbel application(dir.path() + "/");
        EXPECT_FALSE(SoundManager::instance().isOpen());
        EXPECT_TRUE(theMusicPlayer->load("theme.ogg"));
        theMusicPlayer->stream().play();
        EXPECT_EQ(OggStream::playingCount(), 0u);
        application.run(new FramesScene);
    }
    const std::string log = dir.read("quobbel.log");
    EXPECT_NE(log.find("OpenAL error: Could not init OpenAL.\n"), std::string::npos);
    EXPECT_NE(log.find("Scene unloaded"), std::string::npos);
}
