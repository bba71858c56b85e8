// The generated sounds as the game will meet them: effects found by bare name in the archive and decoded
// whole (mono, at most 10 s), the music streamed from the soundtrack folder and looped from its last sample
// straight back to its first.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <vorbis/vorbisfile.h>

#include "media_fixture.h"
#include "support/file_bytes.h"

namespace
{
struct DecodedSound
{
    int channels = 0;
    long rate = 0;
    ogg_int64_t declaredFrames = 0;          // ov_pcm_total: what the game's length check reads
    std::vector<std::vector<float>> samples; // per channel, -1..1

    std::size_t frames() const { return samples.empty() ? 0 : samples[0].size(); }
    double seconds() const
    {
        return rate > 0 ? static_cast<double>(frames()) / static_cast<double>(rate) : 0;
    }
};

// Decodes a whole Ogg Vorbis file from memory; no channels if the decoder refuses the data.
DecodedSound decodeOgg(const std::string& bytes)
{
    DecodedSound sound;
    FILE* file = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
    OggVorbis_File decoder;
    if (!file || ov_open_callbacks(file, &decoder, nullptr, 0, OV_CALLBACKS_DEFAULT) < 0)
    {
        if (file)
            fclose(file);
        return sound;
    }
    sound.channels = ov_info(&decoder, -1)->channels;
    sound.rate = ov_info(&decoder, -1)->rate;
    sound.declaredFrames = ov_pcm_total(&decoder, -1);
    sound.samples.resize(static_cast<std::size_t>(sound.channels));
    float** pcm = nullptr;
    int section = 0;
    for (long got; (got = ov_read_float(&decoder, &pcm, 4096, &section)) != 0;)
        for (int c = 0; c < sound.channels && got > 0; ++c)
            sound.samples[static_cast<std::size_t>(c)].insert(
                sound.samples[static_cast<std::size_t>(c)].end(), pcm[c], pcm[c] + got);
    ov_clear(&decoder);
    return sound;
}

float peakOf(const std::vector<float>& samples, std::size_t from, std::size_t to)
{
    float peak = 0.0f;
    for (std::size_t i = from; i < std::min(to, samples.size()); ++i)
        peak = std::max(peak, std::abs(samples[i]));
    return peak;
}

double rmsOf(const std::vector<float>& samples, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

using GeneratedSounds = GeneratedMedia;

TEST_F(GeneratedSounds, EffectsAreMonoOggsThatStartAtOnceEndWithoutAClickAndFitTheirMoments)
{
    // Longest (and shortest) each may last, in seconds: a held jump restarts its effect every few tenths
    // of a second; the fall sound covers the 1.2 s before the player reappears; the level waits for the
    // jingle to end; the cat's miaow is replayed back to back while a player stays near.
    const std::map<std::string, std::pair<double, double>> lengths = {
        {"jump.ogg", {0, 0.5}},    {"jump2.ogg", {0, 0.5}},    {"pupa.ogg", {0, 1}},
        {"pupa2.ogg", {0, 1}},     {"checkpoint.ogg", {0, 1}}, {"checkpoint2.ogg", {0, 1}},
        {"death.ogg", {0.9, 1.3}}, {"guanyar.ogg", {2, 5}},    {"guanyar2.ogg", {2, 5}},
        {"miaw.ogg", {2, 10}},
    };
    ASSERT_EQ(readChecklist("file-sound").size(), lengths.size());
    for (const ChecklistEntry& entry : readChecklist("file-sound"))
    {
        SCOPED_TRACE(entry.name);
        ASSERT_TRUE(inArchive(entry.name));
        const DecodedSound sound =
            decodeOgg(Ogre::ResourceGroupManager::getSingleton().openResource(entry.name)->getAsString());
        ASSERT_EQ(sound.channels, 1) << "refused, or not mono";
        EXPECT_GT(sound.frames(), 0u);
        EXPECT_EQ(sound.declaredFrames, static_cast<ogg_int64_t>(sound.frames()));
        EXPECT_LE(sound.declaredFrames, 10 * sound.rate);
        ASSERT_EQ(lengths.count(entry.name), 1u);
        EXPECT_GE(sound.seconds(), lengths.at(entry.name).first);
        EXPECT_LE(sound.seconds(), lengths.at(entry.name).second);
        const auto& x = sound.samples[0];
        const float loudest = peakOf(x, 0, x.size());
        EXPECT_GT(loudest, 0.2f) << "too quiet";
        EXPECT_LT(loudest, 0.999f) << "clips";
        // Sound within 20 ms of the event, and no step to silence at the very end.
        EXPECT_GT(peakOf(x, 0, static_cast<std::size_t>(sound.rate / 50)), 0.05f) << "starts late";
        EXPECT_LT(peakOf(x, x.size() - static_cast<std::size_t>(sound.rate / 400), x.size()), 0.03f);
    }
}

TEST_F(GeneratedSounds, MusicIsALongStereoTuneThatWrapsWithoutAClickOrAGap)
{
    const auto names = readChecklist("file-music");
    ASSERT_EQ(names.size(), 1u);
    // Both locations share one resource group: the same name in the archive would clash.
    EXPECT_FALSE(inArchive(names[0].name));
    const DecodedSound music = decodeOgg(readFile(testing_paths::gameDir() + "/soundtrack/" + names[0].name));
    ASSERT_EQ(music.channels, 2) << names[0].name << " missing, refused or not stereo";
    EXPECT_EQ(music.rate, 44100);
    EXPECT_GE(music.seconds(), 90.0);

    const std::size_t frames = music.frames();
    const auto window = static_cast<std::size_t>(music.rate / 10);
    for (const auto& x : music.samples)
    {
        EXPECT_LT(peakOf(x, 0, frames), 0.999f) << "clips";
        // The step across the wrap must look like the steps the tune itself takes around it: no larger than
        // nine in ten of the steps within 0.1 s on either side (or a tiny floor in a quiet passage). A loop
        // cut a few milliseconds short already breaks this.
        std::vector<float> steps;
        for (std::size_t i = frames - window; i + 1 < frames; ++i)
            steps.push_back(std::abs(x[i + 1] - x[i]));
        for (std::size_t i = 0; i + 1 < window; ++i)
            steps.push_back(std::abs(x[i + 1] - x[i]));
        std::sort(steps.begin(), steps.end());
        const float typical = steps[steps.size() * 90 / 100];
        const float wrap = std::abs(x[0] - x[frames - 1]);
        EXPECT_LE(wrap, std::max(typical, 0.02f)) << "step " << wrap << ", typical " << typical;
        // A loop point in silence would be heard as a gap in every lap.
        EXPECT_GT(rmsOf(x, 0, window / 2), 0.01);
        EXPECT_GT(rmsOf(x, frames - window / 2, frames), 0.01);
    }
}
} // namespace
