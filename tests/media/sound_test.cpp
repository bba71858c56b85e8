// The generated sounds as the game will meet them: effects found by bare name in the archive and decoded
// whole (mono, at most 10 s), the music streamed from the soundtrack folder and looped from its last sample
// straight back to its first.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <vorbis/vorbisfile.h>

#include "media_fixture.h"

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
        return rate > 0 ? static_cast<double>(frames()) / static_cast<double>(rate) : 0.0;
    }
};

// Decodes a whole Ogg Vorbis file to 16-bit samples as the game does, then scales them to -1..1.
// Returns no channels if the decoder refuses the data.
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
    const vorbis_info* info = ov_info(&decoder, -1);
    sound.channels = info->channels;
    sound.rate = info->rate;
    sound.declaredFrames = ov_pcm_total(&decoder, -1);
    sound.samples.resize(static_cast<std::size_t>(info->channels));
    std::vector<char> chunk(4096);
    int section = 0;
    long got = 0;
    while ((got = ov_read(&decoder, chunk.data(), static_cast<int>(chunk.size()), 0, 2, 1, &section)) != 0)
    {
        if (got < 0)
            continue;
        const auto* words = reinterpret_cast<const std::int16_t*>(chunk.data());
        const long count = got / 2;
        for (long i = 0; i < count; ++i)
            sound.samples[static_cast<std::size_t>(i % sound.channels)].push_back(
                static_cast<float>(words[i]) / 32768.0f);
    }
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
    to = std::min(to, samples.size());
    for (std::size_t i = from; i < to; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

// The fundamental (Hz) of the stretch [fromSeconds, toSeconds) of a voiced sound, between 80 Hz and 1 kHz:
// the first lag at which the signal nearly repeats itself (the YIN method: the squared difference from the
// lagged copy, normalised by its running mean, first dips below a threshold), so formants and overtones
// are not mistaken for the pitch.
double pitchOf(const DecodedSound& sound, double fromSeconds, double toSeconds)
{
    const auto& x = sound.samples[0];
    const auto rate = static_cast<double>(sound.rate);
    const auto from = static_cast<std::size_t>(fromSeconds * rate);
    const auto to = std::min(x.size(), static_cast<std::size_t>(toSeconds * rate));
    const auto shortest = static_cast<std::size_t>(rate / 1000.0),
               longest = static_cast<std::size_t>(rate / 80.0);
    if (to < from + 2 * longest)
        return 0.0;
    const std::size_t span = to - from - longest;
    double runningSum = 0.0;
    std::size_t bestLag = 0;
    double best = 1e30;
    for (std::size_t lag = 1; lag <= longest; ++lag)
    {
        double difference = 0.0;
        for (std::size_t i = from; i < from + span; ++i)
        {
            const double d = static_cast<double>(x[i]) - x[i + lag];
            difference += d * d;
        }
        runningSum += difference;
        const double normalised = difference * static_cast<double>(lag) / runningSum;
        if (lag < shortest)
            continue;
        if (normalised < 0.15)
            return rate / static_cast<double>(lag);
        if (normalised < best)
        {
            best = normalised;
            bestLag = lag;
        }
    }
    return rate / static_cast<double>(bestLag);
}

// Every effect found through the engine's resource system, by bare name, in the generated archive.
class SoundEffects : public GeneratedMedia
{
  protected:
    static void SetUpTestSuite()
    {
        GeneratedMedia::SetUpTestSuite();
        auto& resources = Ogre::ResourceGroupManager::getSingleton();
        for (const std::string& name : checklistNames("file-sound"))
            if (inArchive(name))
                effects[name] = decodeOgg(resources.openResource(name)->getAsString());
    }
    static void TearDownTestSuite()
    {
        effects.clear();
        GeneratedMedia::TearDownTestSuite();
    }
    static const DecodedSound& effect(const std::string& name) { return effects.at(name); }
    static inline std::map<std::string, DecodedSound> effects;
};

TEST_F(SoundEffects, EveryEffectIsAMonoOggOfAtMostTenSecondsThatStartsAtOnceAndEndsWithoutAClick)
{
    const auto names = checklistNames("file-sound");
    ASSERT_EQ(names.size(), 10u);
    for (const std::string& name : names)
    {
        SCOPED_TRACE(name);
        ASSERT_EQ(effects.count(name), 1u) << "not in media.icl";
        const DecodedSound& sound = effect(name);
        ASSERT_EQ(sound.channels, 1) << "refused, or not mono";
        EXPECT_GT(sound.frames(), 0u);
        EXPECT_EQ(sound.declaredFrames, static_cast<ogg_int64_t>(sound.frames()));
        EXPECT_LE(sound.declaredFrames, 10 * sound.rate);
        const auto& x = sound.samples[0];
        const float loudest = peakOf(x, 0, x.size());
        EXPECT_GT(loudest, 0.2f) << "too quiet";
        EXPECT_LT(loudest, 0.999f) << "clips";
        // Sound within 20 ms of the event, and no step to silence at the very end.
        const auto twentyMs = static_cast<std::size_t>(sound.rate / 50);
        EXPECT_GT(peakOf(x, 0, twentyMs), 0.05f) << "starts late";
        EXPECT_LT(peakOf(x, x.size() - static_cast<std::size_t>(sound.rate / 400), x.size()), 0.03f);
    }
}

TEST_F(SoundEffects, LengthsFitTheMomentsThatPlayThem)
{
    for (const char* name : {"jump.ogg", "jump2.ogg"})
    {
        // A held jump button jumps again every few tenths of a second; each jump restarts the effect.
        EXPECT_LE(effect(name).seconds(), 0.5) << name;
    }
    for (const char* name : {"pupa.ogg", "pupa2.ogg", "checkpoint.ogg", "checkpoint2.ogg"})
        EXPECT_LE(effect(name).seconds(), 1.0) << name;
    // The fall sound covers the 1.2 s before the player reappears, and no more.
    EXPECT_GE(effect("death.ogg").seconds(), 0.9);
    EXPECT_LE(effect("death.ogg").seconds(), 1.3);
    // The level waits for the jingle to end.
    for (const char* name : {"guanyar.ogg", "guanyar2.ogg"})
    {
        EXPECT_GE(effect(name).seconds(), 2.0) << name;
        EXPECT_LE(effect(name).seconds(), 5.0) << name;
    }
}

TEST_F(SoundEffects, CatMiaowsOnceThenPausesBeforeItsReplay)
{
    const DecodedSound& miaow = effect("miaw.ogg");
    const auto& x = miaow.samples[0];
    const auto rate = static_cast<std::size_t>(miaow.rate);
    ASSERT_GE(miaow.seconds(), 2.0);
    EXPECT_GT(rmsOf(x, 0, rate), 0.05) << "no miaow in the first second";
    // The effect is replayed back to back while a player stays near: its end must be a quiet pause.
    EXPECT_LT(peakOf(x, x.size() - rate * 3 / 2, x.size()), 0.01f);
}

TEST_F(SoundEffects, PlayerTwoSoundsHigherThanPlayerOne)
{
    // The second, smaller bear's "ouch" and hop, measured where each holds its pitch.
    const double ouchOne = pitchOf(effect("pupa.ogg"), 0.04, 0.14),
                 ouchTwo = pitchOf(effect("pupa2.ogg"), 0.04, 0.14);
    EXPECT_GT(ouchTwo, 1.2 * ouchOne) << ouchOne << " Hz vs " << ouchTwo << " Hz";
    const double jumpOne = pitchOf(effect("jump.ogg"), 0.18, 0.28),
                 jumpTwo = pitchOf(effect("jump2.ogg"), 0.18, 0.28);
    EXPECT_GT(jumpTwo, 1.1 * jumpOne) << jumpOne << " Hz vs " << jumpTwo << " Hz";
}

class Music : public GeneratedMedia
{
  protected:
    static void SetUpTestSuite()
    {
        GeneratedMedia::SetUpTestSuite();
        const auto names = checklistNames("file-music");
        ASSERT_EQ(names.size(), 1u);
        musicName = names[0];
        std::ifstream in(testing_paths::gameDir() + "/soundtrack/" + musicName, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        music = decodeOgg(bytes.str());
    }
    static inline std::string musicName;
    static inline DecodedSound music; // both channels decoded whole
};

TEST_F(Music, IsAStereoTuneOfAtLeastNinetySecondsAtCdRateOnlyInTheSoundtrackFolder)
{
    ASSERT_EQ(music.channels, 2) << musicName << " missing, refused or not stereo";
    EXPECT_EQ(music.rate, 44100);
    EXPECT_GE(music.seconds(), 90.0);
    for (const auto& channel : music.samples)
        EXPECT_LT(peakOf(channel, 0, channel.size()), 0.999f) << "clips";

    // Both locations share one resource group: the same name in the archive would clash.
    EXPECT_FALSE(inArchive(musicName));
}

TEST_F(Music, WrapsFromItsLastSampleToItsFirstWithoutAClickOrAGap)
{
    ASSERT_EQ(music.channels, 2);
    const std::size_t frames = music.frames();
    const auto window = static_cast<std::size_t>(music.rate / 10);
    ASSERT_GT(frames, 4 * window);
    for (int c = 0; c < 2; ++c)
    {
        SCOPED_TRACE(c == 0 ? "left" : "right");
        const auto& x = music.samples[static_cast<std::size_t>(c)];
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
        const auto fiftyMs = static_cast<std::size_t>(music.rate / 20);
        EXPECT_GT(rmsOf(x, 0, fiftyMs), 0.01);
        EXPECT_GT(rmsOf(x, frames - fiftyMs, frames), 0.01);
    }
}
} // namespace
