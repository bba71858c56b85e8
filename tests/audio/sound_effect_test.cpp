// Effects and the source pool on OpenAL Soft's silent backend: which files load, the exact refusals, the
// buffer registry and the pool's lending order.

#include <set>

#include "audio/sound_effect.h"
#include "audio/sound_manager.h"
#include "audio_fixture.h"
#include "ogg_writer.h"

namespace
{
constexpr long rate = 8000;

class SoundEffectTest : public AudioTest
{
};
} // namespace

TEST_F(SoundEffectTest, AcceptsMonoUpToTenSecondsAndRefusesTheRestWithTheirMessages)
{
    writeOgg(file("exact.ogg"), {1, rate, 10 * rate});
    writeOgg(file("over.ogg"), {1, rate, 10 * rate + 1});
    writeOgg(file("stereo.ogg"), {2, rate, rate});
    writeOgg(file("stereo_long.ogg"), {2, rate, 10 * rate + 1});
    writeTextFile(file("text.ogg"), "not a sound at all\n");
    ASSERT_TRUE(startEngine());

    SoundEffect exact;
    EXPECT_TRUE(exact.load("exact.ogg"));
    ALint bytes = 0;
    alGetBufferi(exact.buffer(), AL_SIZE, &bytes);
    EXPECT_EQ(bytes, 10 * rate * 2);

    const struct
    {
        const char* name;
        const char* message;
    } refused[] = {
        {"over.ogg", "OGG Error: File too long for a sound.\n"},
        {"stereo.ogg", "OGG Error: File not MONO.\n"},
        // The length is checked first: a long stereo file reports only that.
        {"stereo_long.ogg", "OGG Error: File too long for a sound.\n"},
        {"text.ogg", "OGG Error: It doesn't seem to be an OGG File.\n"},
    };
    for (const auto& expected : refused)
    {
        SoundEffect effect;
        EXPECT_FALSE(effect.load(expected.name)) << expected.name;
        EXPECT_EQ(effect.buffer(), 0u) << expected.name;
        EXPECT_EQ(effect.lastError(), expected.message) << expected.name;
        EXPECT_EQ(SoundManager::instance().lastError(), expected.message) << expected.name;
        EXPECT_EQ(SoundManager::instance().loadBuffer(expected.name), SoundManager::failedBuffer);
    }
    EXPECT_TRUE(wasLogged("OGG Error: File too long for a sound.\n"));
    EXPECT_TRUE(wasLogged("OGG Error: File not MONO.\n"));
}

TEST_F(SoundEffectTest, LengthIsComparedOnTheFullSampleCount)
{
    // Claims 2^32 + 100 samples: the low 32 bits alone would read as 100 and let it through.
    writeOgg(file("huge.ogg"), {1, rate, rate});
    claimLength(file("huge.ogg"), (1LL << 32) + 100);
    ASSERT_TRUE(startEngine());
    SoundEffect effect;
    EXPECT_FALSE(effect.load("huge.ogg"));
    EXPECT_EQ(effect.lastError(), "OGG Error: File too long for a sound.\n");
}

TEST_F(SoundEffectTest, ADamagedFileIsRefusedAndLoggedInsteadOfDecodedForEver)
{
    writeDamagedOgg(file("damaged.ogg"), 5 * 44100);
    ASSERT_TRUE(startEngine());
    SoundEffect effect;
    EXPECT_FALSE(effect.load("damaged.ogg"));
    EXPECT_EQ(effect.lastError(), "OGG Error: File is damaged and can't be decoded.\n");
    EXPECT_TRUE(wasLogged("OGG Error: File is damaged and can't be decoded.\n"));
}

TEST_F(SoundEffectTest, LoadingTwiceMakesTwoBuffersAndTheRegistryKeepsTheLast)
{
    writeOgg(file("jump.ogg"), {1, rate, rate / 2});
    ASSERT_TRUE(startEngine());
    SoundEffect first;
    SoundEffect second;
    ASSERT_TRUE(first.acquireSource());
    ASSERT_TRUE(first.load("jump.ogg"));
    ASSERT_TRUE(second.load("jump.ogg"));
    EXPECT_NE(first.buffer(), second.buffer());
    EXPECT_EQ(SoundManager::instance().registeredBuffer("jump.ogg"), second.buffer());
    ALint attached = 0;
    alGetSourcei(first.source(), AL_BUFFER, &attached);
    EXPECT_EQ(static_cast<ALuint>(attached), first.buffer());

    first.play();
    EXPECT_TRUE(first.isPlaying());
    first.stop();
    EXPECT_FALSE(first.isPlaying());
    // A source acquired after loading gets the buffer too.
    ASSERT_TRUE(second.acquireSource());
    alGetSourcei(second.source(), AL_BUFFER, &attached);
    EXPECT_EQ(static_cast<ALuint>(attached), second.buffer());
    EXPECT_FALSE(second.acquireSource());
}

TEST_F(SoundEffectTest, PoolLendsSixteenLowestFirstThenNothing)
{
    writeOgg(file("miaw.ogg"), {1, rate, rate / 4});
    ASSERT_TRUE(startEngine());
    SoundManager& manager = SoundManager::instance();
    std::vector<ALuint> lent;
    for (int i = 0; i < SoundManager::poolSize; ++i)
        lent.push_back(manager.acquireSource());
    EXPECT_EQ(std::set<ALuint>(lent.begin(), lent.end()).size(), 16u);
    EXPECT_EQ(std::count(lent.begin(), lent.end(), 0u), 0);
    EXPECT_EQ(manager.acquireSource(), 0u);

    manager.releaseSource(0xBADu);
    EXPECT_EQ(manager.acquireSource(), 0u);
    // Freed slots are lent again lowest first.
    manager.releaseSource(lent[9]);
    manager.releaseSource(lent[3]);
    EXPECT_EQ(manager.acquireSource(), lent[3]);
    EXPECT_EQ(manager.acquireSource(), lent[9]);

    // An effect facing an empty pool stays silent.
    SoundEffect effect;
    ASSERT_TRUE(effect.load("miaw.ogg"));
    EXPECT_FALSE(effect.acquireSource());
    effect.play();
    EXPECT_FALSE(effect.isPlaying());

    // Releasing detaches the buffer, so the next borrower starts clean.
    manager.releaseSource(lent[0]);
    ASSERT_TRUE(effect.acquireSource());
    EXPECT_EQ(effect.source(), lent[0]);
    effect.releaseSource();
    ALint attached = -1;
    alGetSourcei(lent[0], AL_BUFFER, &attached);
    EXPECT_EQ(attached, 0);
    EXPECT_EQ(manager.acquireSource(), lent[0]);
}

// Without a sound device the game plays on: one log line, then nothing is lent and nothing sounds.
TEST_F(SoundEffectTest, WithoutASoundDeviceEverythingStaysSilent)
{
    if (!runningAsChild())
    {
        EXPECT_EQ(runAsChild({"ALSOFT_DRIVERS=no-such-backend"}), 0);
        return;
    }
    writeOgg(file("jump.ogg"), {1, rate, rate / 4});
    EXPECT_FALSE(startEngine());
    SoundManager& manager = SoundManager::instance();
    EXPECT_EQ(manager.lastError(), "OpenAL error: Could not init OpenAL.\n");
    EXPECT_EQ(logged(), std::vector<std::string>{"OpenAL error: Could not init OpenAL.\n"});
    EXPECT_FALSE(manager.isOpen());
    EXPECT_EQ(manager.acquireSource(), 0u);

    SoundEffect effect;
    EXPECT_FALSE(effect.load("jump.ogg"));
    EXPECT_FALSE(effect.acquireSource());
    effect.play();
    EXPECT_FALSE(effect.isPlaying());
    // A missing sound is still the engine's error, as on a machine with sound.
    EXPECT_THROW(effect.load("missing.ogg"), Ogre::Exception);
    // No further log lines: the device's absence is reported once.
    EXPECT_EQ(logged().size(), 1u);
}
