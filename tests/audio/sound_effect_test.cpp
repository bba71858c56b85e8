// Effects and the source pool on OpenAL Soft's silent backend: which files load, the exact refusals, the
// buffer registry and the pool's lending order.

#include <set>

#include "audio/sound_effect.h"
#include "audio/sound_manager.h"
#include "audio_fixture.h"
#include "ogg_writer.h"
#include "support/file_bytes.h"

namespace
{
constexpr long rate = 8000;
using SoundEffectTest = AudioTest;

// The buffers OpenAL holds, asked of OpenAL itself: its ids are small numbers handed out from 1.
int liveBuffers()
{
    int live = 0;
    for (ALuint id = 1; id < 4096; ++id)
        live += alIsBuffer(id) == AL_TRUE;
    return live;
}
} // namespace

TEST_F(SoundEffectTest, AcceptsMonoUpToTenSecondsAndRefusesTheRestWithTheirMessages)
{
    writeOgg(file("exact.ogg"), {1, rate, 10 * rate});
    writeOgg(file("over.ogg"), {1, rate, 10 * rate + 1});
    writeOgg(file("stereo.ogg"), {2, rate, rate});
    writeOgg(file("stereo_long.ogg"), {2, rate, 10 * rate + 1});
    // Claims 2^32 + 100 samples: the low 32 bits alone would read as 100 and let it through.
    writeOgg(file("huge.ogg"), {1, rate, rate});
    claimLength(file("huge.ogg"), (1LL << 32) + 100);
    writeDamagedOgg(file("damaged.ogg"), 5 * 44100);
    writeFile(file("text.ogg"), "not a sound at all\n");
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
        {"huge.ogg", "OGG Error: File too long for a sound.\n"},
        // Decoding gives nothing but holes: refused instead of decoded for ever.
        {"damaged.ogg", "OGG Error: File is damaged and can't be decoded.\n"},
        {"text.ogg", "OGG Error: It doesn't seem to be an OGG File.\n"},
    };
    for (const auto& expected : refused)
    {
        SCOPED_TRACE(expected.name);
        SoundEffect effect;
        EXPECT_FALSE(effect.load(expected.name));
        EXPECT_EQ(effect.buffer(), 0u);
        EXPECT_EQ(effect.lastError(), expected.message);
        EXPECT_EQ(SoundManager::instance().lastError(), expected.message);
        EXPECT_TRUE(wasLogged(expected.message));
        EXPECT_EQ(SoundManager::instance().loadBuffer(expected.name), SoundManager::failedBuffer);
    }
}

TEST_F(SoundEffectTest, LoadingTwiceSharesOneBufferAndThePoolLendsSixteenLowestFirstThenNothing)
{
    writeOgg(file("jump.ogg"), {1, rate, rate / 2});
    writeOgg(file("land.ogg"), {1, rate, rate / 4});
    ASSERT_TRUE(startEngine());
    SoundManager& manager = SoundManager::instance();
    SoundEffect first;
    SoundEffect second;
    ASSERT_TRUE(first.acquireSource());
    ASSERT_TRUE(first.load("jump.ogg"));
    // Every level loads its effects again: a file already decoded is not decoded into a new buffer.
    const int buffersBefore = liveBuffers();
    ASSERT_TRUE(second.load("jump.ogg"));
    EXPECT_EQ(first.buffer(), second.buffer());
    EXPECT_EQ(manager.registeredBuffer("jump.ogg"), second.buffer());
    EXPECT_EQ(liveBuffers(), buffersBefore);
    SoundEffect other;
    ASSERT_TRUE(other.load("land.ogg"));
    EXPECT_NE(other.buffer(), first.buffer());
    EXPECT_EQ(liveBuffers(), buffersBefore + 1);
    // Loaded after or before the source is acquired, the buffer is attached to it.
    ASSERT_TRUE(second.acquireSource());
    EXPECT_FALSE(second.acquireSource());
    for (const SoundEffect* effect : {&first, &second})
    {
        ALint attached = 0;
        alGetSourcei(effect->source(), AL_BUFFER, &attached);
        EXPECT_EQ(static_cast<ALuint>(attached), effect->buffer());
    }

    std::vector<ALuint> lent = {first.source(), second.source()};
    while (lent.size() < static_cast<std::size_t>(SoundManager::poolSize))
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
    SoundEffect third;
    ASSERT_TRUE(third.load("jump.ogg"));
    EXPECT_FALSE(third.acquireSource());
    third.play();
    EXPECT_FALSE(third.isPlaying());
    // Releasing detaches the buffer, so the next borrower starts clean.
    first.releaseSource();
    ASSERT_TRUE(third.acquireSource());
    EXPECT_EQ(third.source(), lent[0]);
    third.releaseSource();
    ALint attached = -1;
    alGetSourcei(lent[0], AL_BUFFER, &attached);
    EXPECT_EQ(attached, 0);
    EXPECT_EQ(manager.acquireSource(), lent[0]);
}
