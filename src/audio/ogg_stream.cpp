#include "audio/ogg_stream.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>

#include <OgreResourceGroupManager.h>
#include <boost/thread.hpp>

#include "audio/ogg_data_source.h"
#include "audio/sound_manager.h"

namespace
{
// What the frame loop's thread and the streaming thread share.
struct Streaming
{
    // Guards everything below and, for each listed stream, its flags, decoder, ring and source.
    std::mutex lock;
    // Cuts the streaming thread's sleep short when the list empties, so that shutting down never waits.
    std::condition_variable listEmptied;
    // Streams in the order they started.
    std::vector<OggStream*> playing;
    // True from the creation of a streaming thread until it finds the list empty: at most one serves.
    bool threadRunning = false;
    // Owns every streaming thread ever started.
    boost::thread_group threads;
    // The data stream opened for each music file name.
    std::map<std::string, Ogre::DataStreamPtr> data;
};

Streaming& streaming()
{
    static Streaming shared;
    return shared;
}

bool managerIsOpen()
{
    const SoundManager* manager = SoundManager::existing();
    return manager && manager->isOpen();
}
} // namespace

OggStream::OggStream() : mChunk(chunkBytes) {}

OggStream::~OggStream()
{
    releaseSource();
    if (mFlags & fileOpenFlag)
        ov_clear(&mDecoder);
    if ((mFlags & buffersMadeFlag) && managerIsOpen())
        alDeleteBuffers(queueSize, mQueue);
}

bool OggStream::acquireSource()
{
    std::lock_guard<std::mutex> guard(streaming().lock);
    if (mSource)
        return false;
    const ALuint lent = SoundManager::instance().acquireSource();
    if (!lent)
        return false;
    if (!alIsSource(lent))
    {
        mLastError = "OpenAL Error: Source isn't valid.\n";
        return false;
    }
    mSource = lent;
    alSource3f(mSource, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSource3f(mSource, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    alSource3f(mSource, AL_DIRECTION, 0.0f, 0.0f, 0.0f);
    alSourcef(mSource, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcef(mSource, AL_PITCH, 1.0f);
    alSourcei(mSource, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcei(mSource, AL_SOURCE_TYPE, AL_STREAMING);
    return true;
}

bool OggStream::open(const std::string& fileName)
{
    std::lock_guard<std::mutex> guard(streaming().lock);
    // Without a sound device no ring is made; the file is still opened, so bad music data shows the same
    // on every machine.
    if (!(mFlags & buffersMadeFlag) && managerIsOpen())
    {
        alGetError();
        alGenBuffers(queueSize, mQueue);
        if (alGetError() != AL_NO_ERROR)
        {
            mLastError = "OpenAL Error: Buffer could not be generated.\n";
            return false;
        }
        mFlags |= buffersMadeFlag;
    }
    if (mFlags & playingFlag)
    {
        mLastError = "Error: Can't load while playing.\n";
        return false;
    }

    if (!Ogre::ResourceGroupManager::getSingleton().resourceExistsInAnyGroup(fileName))
    {
        mLastError = "Ogg error: File not found: " + fileName + "\n";
        return false;
    }
    Ogre::DataStreamPtr& registered = streaming().data[fileName];
    registered = audio::openSoundResource(fileName);
    // The decoder keeps its own reference, so a later open of the same name never pulls the data from
    // under it.
    Ogre::DataStreamPtr data = registered;
    OggVorbis_File decoder;
    if (audio::openDecoder(decoder, *data) < 0)
    {
        mLastError = "Ogg error: File doesn't seem to be OGG file.\n";
        return false;
    }
    const vorbis_info* info = ov_info(&decoder, -1);
    mFormat = info->channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    mRate = static_cast<ALsizei>(info->rate);
    if (mFlags & fileOpenFlag)
        ov_clear(&mDecoder);
    mDecoder = decoder;
    mData = data;
    mDamaged = false;
    mFlags |= fileOpenFlag;
    return true;
}

void OggStream::play()
{
    Streaming& shared = streaming();
    std::lock_guard<std::mutex> guard(shared.lock);
    if (!mSource)
        return;
    if ((mFlags & playingFlag) || !(mFlags & fileOpenFlag))
    {
        mFlags &= ~pausedFlag;
        return;
    }
    mFlags &= ~pausedFlag;
    alSourceStop(mSource);
    ALint queued = 0;
    alGetSourcei(mSource, AL_BUFFERS_QUEUED, &queued);
    for (ALint i = 0; i < queued; ++i)
    {
        ALuint finished = 0;
        alSourceUnqueueBuffers(mSource, 1, &finished);
    }
    // Sound starts after the first buffer; the rest of the ring follows.
    fill(mQueue[0]);
    alSourceQueueBuffers(mSource, 1, &mQueue[0]);
    alSourcePlay(mSource);
    for (int i = 1; i < queueSize; ++i)
    {
        fill(mQueue[i]);
        alSourceQueueBuffers(mSource, 1, &mQueue[i]);
    }
    if (std::find(shared.playing.begin(), shared.playing.end(), this) == shared.playing.end())
        shared.playing.push_back(this);
    // A thread still finishing its last sleep picks the list up again, so none is started then.
    if (!shared.threadRunning)
    {
        shared.threadRunning = true;
        shared.threads.create_thread(&OggStream::runStreamingThread);
    }
    mFlags |= playingFlag;
}

void OggStream::togglePause()
{
    std::lock_guard<std::mutex> guard(streaming().lock);
    mFlags ^= pausedFlag;
}

void OggStream::update()
{
    std::lock_guard<std::mutex> guard(streaming().lock);
    updateLocked();
}

void OggStream::updateLocked()
{
    if (!(mFlags & playingFlag) || !mSource)
        return;
    ALint processed = 0;
    alGetSourcei(mSource, AL_BUFFERS_PROCESSED, &processed);
    for (ALint i = 0; i < processed; ++i)
    {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(mSource, 1, &buffer);
        if (!fill(buffer))
        {
            mFlags &= ~(playingFlag | pausedFlag);
            break;
        }
        alSourceQueueBuffers(mSource, 1, &buffer);
    }
    ALint state = AL_STOPPED;
    alGetSourcei(mSource, AL_SOURCE_STATE, &state);
    if ((mFlags & pausedFlag) && state != AL_PAUSED)
        alSourcePause(mSource);
    // Also restarts a source that ran dry because a pass came late.
    if (!(mFlags & pausedFlag) && state != AL_PLAYING)
        alSourcePlay(mSource);
}

// Decodes up to one chunk into `buffer`. A looping stream wraps to the file's start and goes on filling
// the same chunk, so the seam has no gap. False when nothing was decoded: the data has ended, the file
// holds no samples at all, or it is too damaged to decode.
bool OggStream::fill(ALuint buffer)
{
    if (!(mFlags & fileOpenFlag) || mDamaged)
        return false;
    int filled = 0;
    int errorsInARow = 0;
    bool decodedSinceWrap = true;
    while (filled < chunkBytes)
    {
        int section = 0;
        const long result =
            ov_read(&mDecoder, mChunk.data() + filled, chunkBytes - filled, 0, 2, 1, &section);
        if (result > 0)
        {
            filled += static_cast<int>(result);
            errorsInARow = 0;
            decodedSinceWrap = true;
        }
        else if (result == 0)
        {
            // A wrap that yields nothing before the next end would spin for ever.
            if (!(mFlags & loopFlag) || !decodedSinceWrap || ov_raw_seek(&mDecoder, 0) != 0)
                break;
            decodedSinceWrap = false;
        }
        else if (++errorsInARow >= audio::maxConsecutiveDecodeErrors)
        {
            mDamaged = true;
            fail("Ogg error: File is damaged and can't be decoded.\n");
            return false;
        }
    }
    if (filled == 0)
        return false;
    alBufferData(buffer, mFormat, mChunk.data(), filled, mRate);
    return true;
}

void OggStream::fail(const char* message)
{
    mLastError = message;
    mLogPending.store(true, std::memory_order_release);
}

bool OggStream::takePendingLog(std::string& message)
{
    if (!mLogPending.load(std::memory_order_acquire))
        return false;
    std::lock_guard<std::mutex> guard(streaming().lock);
    mLogPending.store(false, std::memory_order_relaxed);
    message = mLastError;
    return true;
}

void OggStream::releaseSource()
{
    std::lock_guard<std::mutex> guard(streaming().lock);
    leavePlayingListLocked();
    if (!mSource)
        return;
    SoundManager* manager = SoundManager::existing();
    if (manager && manager->isOpen())
    {
        alSourceStop(mSource);
        manager->releaseSource(mSource);
    }
    mSource = 0;
}

void OggStream::leavePlayingListLocked()
{
    mFlags &= ~(playingFlag | pausedFlag);
    Streaming& shared = streaming();
    shared.playing.erase(std::remove(shared.playing.begin(), shared.playing.end(), this),
                         shared.playing.end());
    if (shared.playing.empty())
        shared.listEmptied.notify_all();
}

void OggStream::setLooping(bool loop)
{
    std::lock_guard<std::mutex> guard(streaming().lock);
    if (loop)
        mFlags |= loopFlag;
    else
        mFlags &= ~loopFlag;
}

std::uint32_t OggStream::flags() const
{
    std::lock_guard<std::mutex> guard(streaming().lock);
    return mFlags;
}

std::string OggStream::lastError() const
{
    std::lock_guard<std::mutex> guard(streaming().lock);
    return mLastError;
}

ALuint OggStream::source() const
{
    std::lock_guard<std::mutex> guard(streaming().lock);
    return mSource;
}

std::size_t OggStream::playingCount()
{
    std::lock_guard<std::mutex> guard(streaming().lock);
    return streaming().playing.size();
}

void OggStream::endStreaming()
{
    Streaming& shared = streaming();
    {
        std::lock_guard<std::mutex> guard(shared.lock);
        for (OggStream* stream : shared.playing)
        {
            stream->mFlags &= ~(playingFlag | pausedFlag);
            if (stream->mSource)
                alSourceStop(stream->mSource);
        }
        shared.playing.clear();
        shared.listEmptied.notify_all();
        // The engine's archives may already be gone; the streams holding a file keep their own reference.
        shared.data.clear();
    }
    shared.threads.join_all();
}

// The streaming thread's body: passes over the playing list until it is empty. Streams whose data ran out
// leave the list after their pass, so a later `play()` lists them again once.
void OggStream::runStreamingThread()
{
    Streaming& shared = streaming();
    std::unique_lock<std::mutex> guard(shared.lock);
    std::size_t count = shared.playing.size();
    while (count != 0)
    {
        for (OggStream* stream : shared.playing)
            stream->updateLocked();
        shared.playing.erase(std::remove_if(shared.playing.begin(), shared.playing.end(),
                                            [](const OggStream* stream)
                                            { return !(stream->mFlags & playingFlag); }),
                             shared.playing.end());
        if (!shared.playing.empty())
        {
            const auto pause = std::chrono::milliseconds(passMilliseconds / static_cast<int>(count));
            shared.listEmptied.wait_for(guard, pause, [&shared] { return shared.playing.empty(); });
        }
        count = shared.playing.size();
    }
    shared.threadRunning = false;
}
