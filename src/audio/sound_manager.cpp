#include "audio/sound_manager.h"

#include <system_error>
#include <vector>

#include <AL/efx.h>
#include <OgreLogManager.h>

#include "audio/ogg_data_source.h"
#include "audio/ogg_stream.h"

namespace
{
SoundManager* theSoundManager = nullptr;

// Effects are short: their whole decoded form is kept in memory.
constexpr ogg_int64_t maxEffectSeconds = 10;

// Decodes the rest of the file as signed 16-bit little-endian samples into `samples`, which the caller
// sized from the file's length. False when the file is too damaged to decode.
bool decodeWhole(OggVorbis_File& decoder, std::vector<char>& samples)
{
    char* position = samples.data();
    long remaining = static_cast<long>(samples.size());
    int errorsInARow = 0;
    while (remaining > 0)
    {
        int section = 0;
        const long result = ov_read(&decoder, position, static_cast<int>(remaining), 0, 2, 1, &section);
        if (result == 0)
            break;
        if (result < 0)
        {
            if (++errorsInARow >= audio::maxConsecutiveDecodeErrors)
                return false;
            continue;
        }
        errorsInARow = 0;
        position += result;
        remaining -= result;
    }
    return true;
}
} // namespace

SoundManager& SoundManager::instance()
{
    if (!theSoundManager)
        theSoundManager = new SoundManager;
    return *theSoundManager;
}

SoundManager* SoundManager::existing()
{
    return theSoundManager;
}

void SoundManager::shutdown()
{
    delete theSoundManager;
    theSoundManager = nullptr;
}

SoundManager::~SoundManager()
{
    if (mOpening.joinable())
        mOpening.join();
    // The streaming thread calls OpenAL: it must be gone before the context.
    OggStream::endStreaming();
    if (!isOpen())
        return;
    while (!mBuffers.empty())
    {
        alDeleteBuffers(1, &mBuffers.begin()->second);
        mBuffers.erase(mBuffers.begin());
    }
    ALCcontext* context = alcGetCurrentContext();
    ALCdevice* device = context ? alcGetContextsDevice(context) : mDevice;
    alcMakeContextCurrent(nullptr);
    if (context)
        alcDestroyContext(context);
    if (device)
        alcCloseDevice(device);
}

bool SoundManager::initialise()
{
    std::string failure;
    if (mOpening.joinable())
    {
        mOpening.join();
        failure = mOpeningFailure;
    }
    else if (isOpen())
        return true;
    else
        failure = open();
    if (!failure.empty())
        report(failure);
    return failure.empty();
}

void SoundManager::startOpening()
{
    if (isOpen() || mOpening.joinable())
        return;
    try
    {
        mOpening = std::thread([this] { mOpeningFailure = open(); });
    }
    catch (const std::system_error&)
    {
        // No thread: initialise() opens the device itself.
    }
}

std::string SoundManager::open()
{
    mDevice = alcOpenDevice(nullptr);
    if (!mDevice)
        return "OpenAL error: Could not init OpenAL.\n";
    // OpenAL Soft zeroes 256 voices up front whatever the source count asked for, each with room for the
    // effect sends: the game plays no effects through sends, and without them the voices take 0.7 MiB less.
    const ALCint attributes[] = {ALC_MAX_AUXILIARY_SENDS, 0, 0};
    ALCcontext* context = alcCreateContext(mDevice, attributes);
    if (!context)
    {
        alcCloseDevice(mDevice);
        mDevice = nullptr;
        return "OpenAL error: Context can't be created.\n";
    }
    alcMakeContextCurrent(context);
    alGetError();
    alGenSources(poolSize, mSources);
    if (alGetError() != AL_NO_ERROR)
    {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
        alcCloseDevice(mDevice);
        mDevice = nullptr;
        return "OpenAL error: Sources can't be created.\n";
    }
    mContext = context;
    for (bool& inUse : mInUse)
        inUse = false;

    const ALfloat origin[] = {0.0f, 0.0f, 0.0f};
    const ALfloat orientation[] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
    alListenerfv(AL_POSITION, origin);
    alListenerfv(AL_VELOCITY, origin);
    alListenerfv(AL_ORIENTATION, orientation);
    return std::string();
}

ALuint SoundManager::loadBuffer(const std::string& fileName)
{
    // Opened before the device check so that a missing sound is the same data error on every machine.
    Ogre::DataStreamPtr stream = audio::openSoundResource(fileName);
    if (!isOpen())
        return failedBuffer;
    // Every level builds its players, cat and jingles again: decoding each file once keeps a long game's
    // memory flat. Buffers live until shutdown, so sharing one among effects is safe.
    if (const ALuint registered = registeredBuffer(fileName))
        return registered;

    OggVorbis_File decoder;
    if (audio::openDecoder(decoder, *stream) < 0)
    {
        report("OGG Error: It doesn't seem to be an OGG File.\n");
        return failedBuffer;
    }
    const vorbis_info* info = ov_info(&decoder, -1);
    const ogg_int64_t total = ov_pcm_total(&decoder, -1);
    const char* refusal = nullptr;
    if (!info || total < 0)
        refusal = "OGG Error: It doesn't seem to be an OGG File.\n";
    else if (total > maxEffectSeconds * info->rate)
        refusal = "OGG Error: File too long for a sound.\n";
    else if (info->channels > 1)
        refusal = "OGG Error: File not MONO.\n";
    if (refusal)
    {
        ov_clear(&decoder);
        report(refusal);
        return failedBuffer;
    }

    const ALsizei rate = static_cast<ALsizei>(info->rate);
    std::vector<char> samples(static_cast<size_t>(total) * 2);
    const bool decoded = decodeWhole(decoder, samples);
    ov_clear(&decoder);
    if (!decoded)
    {
        report("OGG Error: File is damaged and can't be decoded.\n");
        return failedBuffer;
    }

    ALuint id = 0;
    alGetError();
    alGenBuffers(1, &id);
    if (alGetError() != AL_NO_ERROR)
    {
        report("OpenAL Error: Buffer could not be generated.\n");
        return failedBuffer;
    }
    alGetError();
    alBufferData(id, AL_FORMAT_MONO16, samples.data(), static_cast<ALsizei>(samples.size()), rate);
    if (alGetError() != AL_NO_ERROR)
    {
        alDeleteBuffers(1, &id);
        report("OpenAL Error: Buffer could not be filled.\n");
        return failedBuffer;
    }
    mBuffers[fileName] = id;
    return id;
}

ALuint SoundManager::acquireSource()
{
    if (!isOpen())
        return 0;
    for (int i = 0; i < poolSize; ++i)
    {
        if (!mInUse[i])
        {
            mInUse[i] = true;
            return mSources[i];
        }
    }
    return 0;
}

void SoundManager::releaseSource(ALuint id)
{
    if (!isOpen() || id == 0)
        return;
    for (int i = 0; i < poolSize; ++i)
    {
        if (mSources[i] == id)
        {
            mInUse[i] = false;
            alSourcei(id, AL_BUFFER, 0);
            return;
        }
    }
}

void SoundManager::report(const std::string& message)
{
    mLastError = message;
    if (Ogre::LogManager* log = Ogre::LogManager::getSingletonPtr())
        log->logMessage(message, Ogre::LML_NORMAL, false);
}

ALuint SoundManager::registeredBuffer(const std::string& fileName) const
{
    const auto entry = mBuffers.find(fileName);
    return entry == mBuffers.end() ? 0 : entry->second;
}
