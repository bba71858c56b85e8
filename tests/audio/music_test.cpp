// Music streaming: the player's file handling, the ring and its looping, pause through the streaming
// thread, damaged files, shutting down while streaming, and what the listener finally hears.

#include <chrono>
#include <thread>

#include "audio/music_player.h"
#include "audio/sound_manager.h"
#include "audio_fixture.h"
#include "ogg_writer.h"
#include "support/game_process.h"
#include "wav_reader.h"

using namespace std::chrono_literals;

namespace
{
class MusicTest : public AudioTest
{
  protected:
    static ALint sourceState(const OggStream& stream)
    {
        ALint state = 0;
        alGetSourcei(stream.source(), AL_SOURCE_STATE, &state);
        return state;
    }
    static ALint queued(const OggStream& stream)
    {
        ALint count = 0;
        alGetSourcei(stream.source(), AL_BUFFERS_QUEUED, &count);
        return count;
    }
    // One streaming pass comes at most 400 ms after the last; this leaves room for a loaded machine.
    static constexpr auto passWait = 3s;
};
} // namespace

TEST_F(MusicTest, LoadKeepsTheCurrentFileAndRefusesAnotherWhilePlaying)
{
    writeOgg(file("theme.ogg"), {2, 44100, 44100});
    writeOgg(file("other.ogg"), {1, 22050, 22050});
    writeTextFile(file("notes.ogg"), "la la la\n");
    ASSERT_TRUE(startEngine());

    MusicPlayer player;
    OggStream& stream = player.stream();
    ASSERT_NE(stream.source(), 0u);
    EXPECT_EQ(stream.flags(), OggStream::loopFlag);
    ASSERT_TRUE(player.load("theme.ogg"));
    EXPECT_EQ(stream.flags(), OggStream::loopFlag | OggStream::buffersMadeFlag | OggStream::fileOpenFlag);

    // An unreadable file leaves the open one in place.
    EXPECT_FALSE(stream.open("notes.ogg"));
    EXPECT_EQ(stream.lastError(), "Ogg error: File doesn't seem to be OGG file.\n");
    stream.play();
    EXPECT_TRUE(stream.flags() & OggStream::playingFlag);
    EXPECT_EQ(queued(stream), OggStream::queueSize);
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

TEST_F(MusicTest, PauseFollowsOnTheNextPassAndPlayOrTheSecondToggleResumes)
{
    writeOgg(file("theme.ogg"), {2, 44100, 3 * 44100});
    ASSERT_TRUE(startEngine());
    MusicPlayer player;
    OggStream& stream = player.stream();
    ASSERT_TRUE(player.load("theme.ogg"));
    stream.play();
    EXPECT_EQ(sourceState(stream), AL_PLAYING);

    stream.togglePause();
    EXPECT_TRUE(waitFor([&] { return sourceState(stream) == AL_PAUSED; }, passWait));
    stream.play();
    EXPECT_FALSE(stream.flags() & OggStream::pausedFlag);
    EXPECT_TRUE(waitFor([&] { return sourceState(stream) == AL_PLAYING; }, passWait));

    stream.togglePause();
    stream.togglePause();
    std::this_thread::sleep_for(std::chrono::milliseconds(2 * OggStream::passMilliseconds));
    EXPECT_EQ(sourceState(stream), AL_PLAYING);
}

TEST_F(MusicTest, LoopingFillsWholeBuffersAcrossTheFileEndAndAStreamThatEndsLeavesTheList)
{
    // 5000 samples of 16-bit mono: 10,000 bytes, far less than one 64 KiB buffer.
    writeOgg(file("short.ogg"), {1, 8000, 5000});
    ASSERT_TRUE(startEngine());

    MusicPlayer player;
    ASSERT_TRUE(player.load("short.ogg"));
    player.stream().play();
    ALint bytes = 0;
    for (int i = 0; i < OggStream::queueSize; ++i)
    {
        alGetBufferi(player.stream().queueBuffer(i), AL_SIZE, &bytes);
        EXPECT_EQ(bytes, OggStream::chunkBytes) << "buffer " << i;
    }

    OggStream once;
    ASSERT_TRUE(once.acquireSource());
    ASSERT_TRUE(once.open("short.ogg"));
    once.play();
    alGetBufferi(once.queueBuffer(0), AL_SIZE, &bytes);
    EXPECT_EQ(bytes, 10000);
    EXPECT_EQ(OggStream::playingCount(), 2u);
    // Its data runs out on the first pass; the looping music goes on.
    ASSERT_TRUE(waitFor([] { return OggStream::playingCount() == 1; }, passWait));
    EXPECT_EQ(once.flags() & (OggStream::playingFlag | OggStream::pausedFlag), 0u);
    EXPECT_TRUE(player.stream().flags() & OggStream::playingFlag);
}

TEST_F(MusicTest, UndecodableOrEmptyLoopingFilesStopInsteadOfSpinning)
{
    writeDamagedOgg(file("damaged.ogg"), 5 * 44100);
    writeOgg(file("empty.ogg"), {1, 22050, 0});
    ASSERT_TRUE(startEngine());

    MusicPlayer damaged;
    ASSERT_TRUE(damaged.load("damaged.ogg"));
    damaged.stream().play();
    ASSERT_TRUE(waitFor([] { return OggStream::playingCount() == 0; }, passWait));
    EXPECT_EQ(damaged.stream().lastError(), "Ogg error: File is damaged and can't be decoded.\n");
    // The streaming thread leaves logging to the frame loop.
    EXPECT_FALSE(wasLogged("Ogg error: File is damaged and can't be decoded.\n"));
    damaged.logStreamFailures();
    EXPECT_TRUE(wasLogged("Ogg error: File is damaged and can't be decoded.\n"));
    const size_t lines = logged().size();
    damaged.logStreamFailures();
    EXPECT_EQ(logged().size(), lines);

    MusicPlayer empty;
    ASSERT_TRUE(empty.load("empty.ogg"));
    empty.stream().play();
    ASSERT_TRUE(waitFor([] { return OggStream::playingCount() == 0; }, passWait));
    EXPECT_EQ(empty.stream().flags() & OggStream::playingFlag, 0u);
}

TEST_F(MusicTest, ShuttingDownWhileMusicStreamsStopsTheThreadFirst)
{
    writeOgg(file("theme.ogg"), {2, 44100, 44100});
    ASSERT_TRUE(startEngine());
    {
        // The application's order: the player goes first, then the manager.
        MusicPlayer player;
        ASSERT_TRUE(player.load("theme.ogg"));
        player.stream().play();
        std::this_thread::sleep_for(500ms);
    }
    EXPECT_EQ(OggStream::playingCount(), 0u);
    SoundManager::shutdown();

    // The other way round: the manager ends streaming before it closes OpenAL, and the player then
    // destroys its stream without touching the closed context.
    ASSERT_TRUE(SoundManager::instance().initialise());
    MusicPlayer player;
    ASSERT_TRUE(player.load("theme.ogg"));
    player.stream().play();
    std::this_thread::sleep_for(500ms);
    SoundManager::shutdown();
    EXPECT_EQ(OggStream::playingCount(), 0u);
    EXPECT_EQ(player.stream().flags() & OggStream::playingFlag, 0u);
}

// Through OpenAL Soft's wave writer: what a listener hears.
TEST_F(MusicTest, MusicIsHeardWithoutGapsAtTheLoopSilentWhilePausedAndBackAfterTheToggle)
{
    const std::string config = "/tmp/quobbel-audio-wave-" + std::to_string(getpid());
    if (!runningAsChild())
    {
        writeTextFile(config + ".conf", "drivers = wave\n[wave]\nfile = " + config + ".wav\n");
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
    ASSERT_GT(recording.rate, 0);

    // Walk the recording in windows of 10 ms: a window is loud when its peak is well above the noise
    // floor of the codec.
    const long window = recording.rate / 100;
    const auto loud = [&](long at) { return recording.peak(at, window) > 0.1f; };
    long at = 0;
    while (at < recording.frames() && recording.peak(at, 1) == 0.0f)
        ++at;
    ASSERT_LT(at, recording.frames()) << "nothing was heard";
    const long start = at;
    while (at + window <= recording.frames() && loud(at))
        at += window;
    // At least two loop seams (0.75 s and 1.5 s) lie inside the first run of sound.
    const double firstRun = double(at - start) / recording.rate;
    EXPECT_GE(firstRun, 2.3) << "a gap after " << firstRun << " s";
    // The pause may begin and end mid-window; the windows in between are exact silence.
    const long pauseStart = at;
    long silentWindows = 0;
    while (at + window <= recording.frames() && !loud(at))
    {
        silentWindows += recording.peak(at, window) == 0.0f;
        at += window;
    }
    const double pause = double(silentWindows * window) / recording.rate;
    EXPECT_GE(pause, 0.9) << "silent for " << pause << " s";
    const long resumed = at;
    while (at + window <= recording.frames() && loud(at))
        at += window;
    EXPECT_GE(double(at - resumed) / recording.rate, 1.0);
    EXPECT_GE(resumed - pauseStart, recording.rate * 9 / 10);
}
