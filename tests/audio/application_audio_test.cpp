// The sound services inside the real application: started with it, streaming while the scene loop renders
// frames, shut down in its order, and silent stand-ins without a sound device.

#include <Ogre.h>

#include <gtest/gtest.h>

#include "app/quobbel.h"
#include "audio/music_player.h"
#include "audio/sound_effect.h"
#include "audio/sound_manager.h"
#include "audio_fixture.h"
#include "core/access_points.h"
#include "core/scene.h"
#include "ogg_writer.h"
#include "support/game_process.h"
#include "support/x11_window.h"

namespace
{
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

// Runs here with the silent null device, then again in a child process where OpenAL finds no device at all:
// there the game plays on after one log line, nothing is lent and nothing sounds.
TEST(ApplicationAudio, MusicStreamsThroughTheSceneLoopAndStopsWithTheApplicationOrStaysSilentWithoutADevice)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    const bool device = !runningAsChild();
    GameDirCopy dir;
    dir.write("Quobbel.cfg", "Fullscreen = false\nWindowResolution = 640x480\nVSync = false\n");
    writeOgg(dir.file("soundtrack/theme.ogg"), {2, 44100, 44100});
    writeOgg(dir.file("soundtrack/jump.ogg"), {1, 8000, 2000});
    {
        Quobbel application(dir.path() + "/");
        ASSERT_NE(theMusicPlayer, nullptr);
        SoundManager& manager = SoundManager::instance();
        EXPECT_EQ(manager.isOpen(), device);
        EXPECT_TRUE(theMusicPlayer->load("theme.ogg"));
        theMusicPlayer->stream().play();
        SoundEffect effect;
        EXPECT_EQ(effect.load("jump.ogg"), device);
        EXPECT_EQ(effect.acquireSource(), device);
        effect.play();
        EXPECT_EQ(effect.isPlaying(), device);
        // A missing sound is still the engine's error, with or without sound.
        EXPECT_THROW(effect.load("missing.ogg"), Ogre::Exception);
        application.run(new FramesScene);
        EXPECT_EQ(OggStream::playingCount(), device ? 1u : 0u);
    }
    EXPECT_EQ(theMusicPlayer, nullptr);
    EXPECT_EQ(SoundManager::existing(), nullptr);
    EXPECT_EQ(OggStream::playingCount(), 0u);

    const std::string log = dir.read("quobbel.log");
    const size_t reported = log.find("OpenAL error: Could not init OpenAL.\n");
    EXPECT_EQ(reported != std::string::npos, !device);
    // Reported once, and nothing else of the sound system's.
    EXPECT_EQ(log.find("OpenAL error", reported == std::string::npos ? 0 : reported + 1), std::string::npos);
    EXPECT_EQ(log.find("OGG Error"), std::string::npos);
    EXPECT_NE(log.find("Scene unloaded"), std::string::npos);
    if (device)
    {
        EXPECT_EQ(runAsChild({"ALSOFT_DRIVERS=no-such-backend"}), 0);
    }
}
