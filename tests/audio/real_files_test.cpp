// Ogg Vorbis files made by other encoders: the desktop sound theme's sounds (8 to 96 kHz, mono and
// stereo), decoded as effects and as music.

#include <filesystem>

#include "audio/ogg_stream.h"
#include "audio/sound_effect.h"
#include "audio_fixture.h"

namespace
{
const std::string themeFolder = "/usr/share/sounds/freedesktop/stereo";

struct Facts
{
    std::string name;
    int channels = 0;
    long rate = 0;
    ogg_int64_t frames = 0;
};

// What libvorbisfile reads straight from the file, independently of the engine's resource streams.
std::vector<Facts> themeSounds()
{
    std::vector<Facts> sounds;
    std::error_code missing;
    for (const auto& entry : std::filesystem::directory_iterator(themeFolder, missing))
    {
        if (entry.path().extension() != ".oga")
            continue;
        OggVorbis_File decoder;
        if (ov_fopen(entry.path().c_str(), &decoder) < 0)
            continue;
        sounds.push_back({entry.path().filename().string(), ov_info(&decoder, -1)->channels,
                          ov_info(&decoder, -1)->rate, ov_pcm_total(&decoder, -1)});
        ov_clear(&decoder);
    }
    return sounds;
}

class RealFilesTest : public AudioTest
{
};
} // namespace

TEST_F(RealFilesTest, ThemeSoundsLoadAsEffectsExactlyWhenMonoAndShortAndAllStreamAsMusic)
{
    const std::vector<Facts> sounds = themeSounds();
    ASSERT_GE(sounds.size(), 20u) << "install sound-theme-freedesktop";
    ASSERT_TRUE(startEngine(themeFolder));

    int accepted = 0;
    for (const Facts& sound : sounds)
    {
        SoundEffect effect;
        const bool tooLong = sound.frames > 10 * sound.rate;
        const bool expected = !tooLong && sound.channels == 1;
        EXPECT_EQ(effect.load(sound.name), expected) << sound.name;
        if (expected)
        {
            ++accepted;
            ALint bytes = 0;
            alGetBufferi(effect.buffer(), AL_SIZE, &bytes);
            EXPECT_EQ(bytes, sound.frames * 2) << sound.name;
        }
        else
        {
            EXPECT_EQ(effect.lastError(),
                      tooLong ? "OGG Error: File too long for a sound.\n" : "OGG Error: File not MONO.\n")
                << sound.name;
        }

        OggStream music;
        music.setLooping(true);
        ASSERT_TRUE(music.acquireSource());
        ASSERT_TRUE(music.open(sound.name)) << sound.name;
        music.play();
        ALint queued = 0;
        alGetSourcei(music.source(), AL_BUFFERS_QUEUED, &queued);
        EXPECT_EQ(queued, OggStream::queueSize) << sound.name;
        ALint bytes = 0;
        alGetBufferi(music.queueBuffer(OggStream::queueSize - 1), AL_SIZE, &bytes);
        EXPECT_EQ(bytes, OggStream::chunkBytes) << sound.name;
    }
    EXPECT_GT(accepted, 0);
}
