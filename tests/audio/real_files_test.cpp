// Ogg Vorbis files made by other encoders: the desktop sound theme's sounds (8 to 96 kHz, mono and
// stereo), decoded as effects and as music.

#include <filesystem>

#include "audio/ogg_stream.h"
#include "audio/sound_effect.h"
#include "audio_fixture.h"

namespace
{
const std::string themeFolder = "/usr/share/sounds/freedesktop/stereo";
using RealFilesTest = AudioTest;
} // namespace

TEST_F(RealFilesTest, ThemeSoundsLoadAsEffectsExactlyWhenMonoAndShortAndAllStreamAsMusic)
{
    ASSERT_TRUE(startEngine(themeFolder));
    int tried = 0;
    int accepted = 0;
    std::error_code missing;
    for (const auto& entry : std::filesystem::directory_iterator(themeFolder, missing))
    {
        const std::string name = entry.path().filename().string();
        // What libvorbisfile reads straight from the file, apart from the engine's resource streams.
        OggVorbis_File decoder;
        if (entry.path().extension() != ".oga" || ov_fopen(entry.path().c_str(), &decoder) < 0)
            continue;
        const int channels = ov_info(&decoder, -1)->channels;
        const bool tooLong = ov_pcm_total(&decoder, -1) > 10 * ov_info(&decoder, -1)->rate;
        const ogg_int64_t frames = ov_pcm_total(&decoder, -1);
        ov_clear(&decoder);
        ++tried;

        SoundEffect effect;
        const bool expected = !tooLong && channels == 1;
        EXPECT_EQ(effect.load(name), expected) << name;
        accepted += expected;
        ALint bytes = 0;
        if (expected)
        {
            alGetBufferi(effect.buffer(), AL_SIZE, &bytes);
            EXPECT_EQ(bytes, frames * 2) << name;
        }
        else
        {
            EXPECT_EQ(effect.lastError(),
                      tooLong ? "OGG Error: File too long for a sound.\n" : "OGG Error: File not MONO.\n")
                << name;
        }

        OggStream music;
        music.setLooping(true);
        ASSERT_TRUE(music.acquireSource());
        ASSERT_TRUE(music.open(name)) << name;
        music.play();
        ALint queued = 0;
        alGetSourcei(music.source(), AL_BUFFERS_QUEUED, &queued);
        EXPECT_EQ(queued, OggStream::queueSize) << name;
        alGetBufferi(music.queueBuffer(OggStream::queueSize - 1), AL_SIZE, &bytes);
        EXPECT_EQ(bytes, OggStream::chunkBytes) << name;
    }
    ASSERT_GE(tried, 20) << "install sound-theme-freedesktop";
    EXPECT_GT(accepted, 0);
}
