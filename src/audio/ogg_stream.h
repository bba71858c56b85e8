#pragma once

// Streamed Ogg Vorbis music. A stream decodes its file piece by piece into a ring of 8 OpenAL buffers of
// 64 KiB queued on one pool source. Every stream that is playing sits on a process-wide playing list; one
// streaming thread walks that list, refilling the buffers the source has finished, then sleeps 400 ms
// divided by the number of playing streams. The thread starts with the first stream that plays and ends
// once none plays, so the frame loop never decodes audio after `play()`.
//
// Threads: every operation here is for the frame loop's thread. The playing list and each stream's flags,
// decoder and ring are shared with the streaming thread under one process-wide lock; a stream taken off
// the list (`releaseSource()`, destruction) is never touched by the thread again. `endStreaming()` stops
// and joins the thread; the sound manager calls it before closing OpenAL.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include <AL/al.h>
#include <OgreDataStream.h>
#include <vorbis/vorbisfile.h>

class OggStream
{
  public:
    // Flag bits (values fixed).
    static constexpr std::uint32_t buffersMadeFlag = 1;
    static constexpr std::uint32_t fileOpenFlag = 2;
    static constexpr std::uint32_t playingFlag = 4;
    static constexpr std::uint32_t pausedFlag = 8;
    static constexpr std::uint32_t loopFlag = 16;

    static constexpr int queueSize = 8;
    static constexpr int chunkBytes = 65536;
    // Interval of the streaming passes with one stream playing; n streams share it.
    static constexpr int passMilliseconds = 400;

    OggStream();
    // Leaves the playing list, returns the source, closes the file and deletes the ring.
    ~OggStream();
    OggStream(const OggStream&) = delete;
    OggStream& operator=(const OggStream&) = delete;

    // Borrows a pool source and sets it up for streaming at the listener. False when one is held already,
    // the pool has none, or OpenAL rejects it (the slot then stays lent).
    bool acquireSource();
    // Opens the Ogg Vorbis resource `fileName` in place of the current file. Refused while playing; on a
    // missing or unreadable file the current one stays open.
    bool open(const std::string& fileName);
    // Starts streaming the open file from where its decoder stands, or resumes a paused stream (the source
    // follows on the next streaming pass). Nothing without a source.
    void play();
    // Flips the paused flag; the streaming thread pauses or resumes the source on its next pass.
    void togglePause();
    // One streaming pass over this stream. The streaming thread calls it; tests may too.
    void update();
    // Leaves the playing list, stops and returns the source.
    void releaseSource();
    // Looping streams wrap from the file's end to its start without a gap, inside one buffer.
    void setLooping(bool loop);

    std::uint32_t flags() const;
    std::string lastError() const;
    ALuint source() const;
    // Buffer `index` (0 to 7) of the ring; 0 before the first open.
    ALuint queueBuffer(int index) const { return mQueue[index]; }
    // Hands over a failure the streaming thread met and could not log itself (the engine log belongs to the
    // frame loop's thread). Cheap when there is none: meant to be called once per frame.
    bool takePendingLog(std::string& message);

    // Ends the streaming thread: every stream leaves the playing list (its queued sound stops), then the
    // thread is joined. Also forgets the shared data streams. Call before the OpenAL context goes.
    static void endStreaming();
    // Number of streams on the playing list.
    static std::size_t playingCount();

  private:
    static void runStreamingThread();
    void updateLocked();
    bool fill(ALuint buffer);
    void fail(const char* message);
    void leavePlayingListLocked();

    ALenum mFormat = AL_FORMAT_MONO16;
    ALsizei mRate = 0;
    OggVorbis_File mDecoder = {};
    // The data the decoder reads; shared with the process-wide registry of music data streams.
    Ogre::DataStreamPtr mData;
    ALuint mQueue[queueSize] = {};
    std::uint32_t mFlags = 0;
    ALuint mSource = 0;
    std::string mLastError;
    // Decoding space for one buffer, made once.
    std::vector<char> mChunk;
    std::atomic<bool> mLogPending{false};
    // Set when the open file proved undecodable: it yields nothing more until another file is opened.
    bool mDamaged = false;
};
