// Music streaming: the player's file handling, the ring and its looping, streams that end or cannot be
// decoded, and what the listener finally hears. (Shutting down while the music streams is checked with the
// application, in its order.)

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "audio/music_player.h"
#include "audio/sound_manager.h"
#include "audio_fixture.h"
#include "ogg_writer.h"
#include "support/file_bytes.h"
#include "support/game_process.h"

using namespace std::chrono_literals;

namespace
{
using MusicTest = AudioTest;
// One streaming pass comes at most 400 ms after the last; this leaves room for a loaded machine.
constexpr auto passWait = 3s;

ALint queuedBuffers(const OggStream& stream)
{
    ALint count = 0;
    alGetSourcei(stream.source(), AL_BUFFERS_QUEUED, &count);
    return count;
}

// What OpenAL Soft's wave writer recorded (32-bit float samples, interleaved, in a WAVE_FORMAT_EXTENSIBLE
// file whose size fields are written only when the device closes), as the loudest channel's magnitude per
// frame.
struct Recording
{
    std::uint16_t channels = 0;
    std::uint16_t bits = 0;
    std::uint32_t rate = 0;
    std::vector<float> level;
};

// The writer's header is fixed: RIFF, a 40-byte "fmt " chunk, then the "data" chunk's own header.
Recording readRecording(const std::string& path)
{
    const std::string bytes = readFile(path);
    Recording recording;
    if (bytes.size() < 68 || bytes.compare(12, 4, "fmt ") != 0 || bytes.compare(60, 4, "data") != 0)
        return recording;
    std::memcpy(&recording.channels, &bytes[22], 2);
    std::memcpy(&recording.rate, &bytes[24], 4);
    std::memcpy(&recording.bits, &bytes[34], 2);
    std::vector<float> samples((bytes.size() - 68) / 4);
    std::memcpy(samples.data(), &bytes[68], samples.size() * 4);
    recording.level.assign(samples.size() / std::max<std::size_t>(recording.channels, 1), 0.0f);
    for (std::size_t i = 0; i < recording.level.size() * recording.channels; ++i)
        recording.level[i / recording.channels] =
            std::max(recording.level[i / recording.channels], std::fabs(samples[i]));
    return recording;
}
} // namespace

TEST_F(MusicTest, LoadKeepsTheCurrentFileAndRefusesAnotherWhilePlaying)
{
    writeOgg(file("theme.ogg"), {2, 44100, 44100});
    writeOgg(file("other.ogg"), {1, 22050, 22050});
    writeFile(file("notes.ogg"), "la la la\n");
    ASSERT_TRUE(startEngine());

    MusicPlayer player;
    OggStream& stream = player.stream();
    ASSERT_NE(stream.source(), 0u);
    ASSERT_TRUE(player.load("theme.ogg"));
    // An unreadable file leaves the open one in place.
    EXPECT_FALSE(stream.open("notes.ogg"));
    EXPECT_EQ(stream.lastError(), "Ogg error: File doesn't seem to be OGG file.\n");
    stream.play();
    EXPECT_TRUE(stream.flags() & OggStream::playingFlag);
    EXPECT_EQ(queuedBuffers(stream), OggStream::queueSize);
    EXPECT_EQ(OggStream::playingCount(), 1u);

    const std::string before = stream.lastError();
    EXPECT_TRUE(player.load("theme.ogg"));
    EXPECT_EQ(stream.lastError(), before);
    EXPECT_FALSE(player.load("other.ogg"));
    EXPECT_EQ(stream.lastError(), "Error: Can't load while playing.\n");
    EXPECT_EQ(player.currentName(), "other.ogg");
    // The name was recorded, so asking again answers true without another try.
    EXPECT_TRUE(player.load("other.ogg"));
    EXPECT_TRUE(stream.flags() & OggStream::playingFlag);
    // A second play neither restarts the ring nor lists the stream twice.
    stream.play();
    EXPECT_EQ(OggStream::playingCount(), 1u);
}

// The game plays on without its music: a tune that is missing or not Ogg Vorbis is logged once, and its
// stream stays silent.
TEST_F(MusicTest, AMissingOrUnreadableTuneIsLoggedOnceAndLeavesTheStreamSilent)
{
    writeFile(file("notes.ogg"), "la la la\n");
    ASSERT_TRUE(startEngine());
    const struct
    {
        const char* name;
        std::string message;
    } cases[] = {
        {"missing.ogg", "Ogg error: File not found: missing.ogg\n"},
        {"notes.ogg", "Ogg error: File doesn't seem to be OGG file.\n"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        MusicPlayer player;
        EXPECT_FALSE(player.load(c.name));
        EXPECT_EQ(player.stream().lastError(), c.message);
        player.stream().play();
        EXPECT_EQ(player.stream().flags() & OggStream::playingFlag, 0u);
        EXPECT_EQ(OggStream::playingCount(), 0u);
        // Asked again, the player does not retry, so the log holds the failure once.
        EXPECT_TRUE(player.load(c.name));
        EXPECT_EQ(std::count(logged().begin(), logged().end(), c.message), 1);
    }
}

TEST_F(MusicTest, LoopsFillWholeBuffersAndStreamsThatEndOrCannotBeDecodedLeaveInsteadOfSpinning)
{
    // 5000 samples of 16-bit mono: 10,000 bytes, far less than one 64 KiB buffer.
    writeOgg(file("short.ogg"), {1, 8000, 5000});
    writeDamagedOgg(file("damaged.ogg"), 5 * 44100);
    writeOgg(file("empty.ogg"), {1, 22050, 0});
    ASSERT_TRUE(startEngine());

    MusicPlayer looping, damaged, empty;
    OggStream once;
    ASSERT_TRUE(looping.load("short.ogg") && damaged.load("damaged.ogg") && empty.load("empty.ogg"));
    ASSERT_TRUE(once.acquireSource() && once.open("short.ogg"));
    for (OggStream* stream : {&looping.stream(), &once, &damaged.stream(), &empty.stream()})
        stream->play();
    // The looping file wraps inside the first buffer; the other ends in it.
    ALint bytes = 0;
    alGetBufferi(looping.stream().queueBuffer(0), AL_SIZE, &bytes);
    EXPECT_EQ(bytes, OggStream::chunkBytes);
    alGetBufferi(once.queueBuffer(0), AL_SIZE, &bytes);
    EXPECT_EQ(bytes, 10000);

    // Only the looping music goes on.
    ASSERT_TRUE(waitFor([] { return OggStream::playingCount() == 1; }, passWait));
    EXPECT_TRUE(looping.stream().flags() & OggStream::playingFlag);
    for (OggStream* ended : {&once, &damaged.stream(), &empty.stream()})
        EXPECT_EQ(ended->flags() & (OggStream::playingFlag | OggStream::pausedFlag), 0u);
    EXPECT_EQ(damaged.stream().lastError(), "Ogg error: File is damaged and can't be decoded.\n");
    // The streaming thread leaves logging to the frame loop, which logs each failure once.
    EXPECT_FALSE(wasLogged("Ogg error: File is damaged and can't be decoded.\n"));
    damaged.logStreamFailures();
    EXPECT_TRUE(wasLogged("Ogg error: File is damaged and can't be decoded.\n"));
    const size_t lines = logged().size();
    damaged.logStreamFailures();
    EXPECT_EQ(logged().size(), lines);
}

// Through OpenAL Soft's wave writer: what a listener hears.
TEST_F(MusicTest, MusicIsHeardWithoutGapsAtTheLoopSilentWhilePausedAndBackAfterTheToggle)
{
    const std::string config = "/tmp/quobbel-audio-wave-" + std::to_string(getpid());
    if (!runningAsChild())
    {
        writeFile(config + ".conf", "drivers = wave\n[wave]\nfile = " + config + ".wav\n");
        EXPECT_EQ(runAsChild({"ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + config + ".conf",
                              "QUOBBEL_AUDIO_WAV=" + config + ".wav"}),
                  0);
        std::remove((config + ".conf").c_str());
        return;
    }
    const std::string wav = std::getenv("QUOBBEL_AUDIO_WAV");
    // 0.75 s holds exactly 330 periods of 440 Hz: the seam is continuous in phase as well.
    writeOgg(file("theme.ogg"), {1, 44100, 33075, 440.0, 0.5});
    ASSERT_TRUE(startEngine());
    {
        MusicPlayer player;
        ASSERT_TRUE(player.load("theme.ogg"));
        player.stream().play();
        std::this_thread::sleep_for(2500ms);
        player.stream().togglePause();
        std::this_thread::sleep_for(1500ms);
        player.stream().togglePause();
        std::this_thread::sleep_for(1500ms);
    }
    // Closing the device completes the recording.
    SoundManager::shutdown();
    const Recording recording = readRecording(wav);
    std::remove(wav.c_str());
    ASSERT_EQ(recording.bits, 32);
    ASSERT_GE(recording.rate, 8000u);

    // One letter per 10 ms window from the first sound on: L loud (its peak well above the codec's noise
    // floor), S exact silence, '.' between (the pause may begin and end mid-window).
    const std::vector<float>& level = recording.level;
    auto at = std::find_if(level.begin(), level.end(), [](float value) { return value > 0.0f; });
    ASSERT_NE(at, level.end()) << "nothing was heard";
    std::string trace;
    for (const long window = recording.rate / 100; level.end() - at >= window; at += window)
    {
        const float peak = *std::max_element(at, at + window);
        trace += peak > 0.1f ? 'L' : peak == 0.0f ? 'S' : '.';
    }
    // At least two loop seams (0.75 s and 1.5 s) lie inside the first run of sound; then 1.5 s of pause,
    // and sound again for at least a second.
    const std::size_t pause = std::min(trace.find_first_not_of('L'), trace.size());
    const std::size_t resumed = std::min(trace.find('L', pause), trace.size());
    EXPECT_GE(pause, 230u) << trace;
    EXPECT_GE(std::count(trace.begin() + pause, trace.begin() + resumed, 'S'), 90) << trace;
    EXPECT_GE(std::min(trace.find_first_not_of('L', resumed), trace.size()) - resumed, 100u) << trace;
}
