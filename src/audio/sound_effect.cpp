#include "audio/sound_effect.h"

#include "audio/sound_manager.h"

SoundEffect::~SoundEffect()
{
    releaseSource();
}

bool SoundEffect::load(const std::string& fileName)
{
    SoundManager& manager = SoundManager::instance();
    const ALuint id = manager.loadBuffer(fileName);
    if (id == SoundManager::failedBuffer || !alIsBuffer(id))
    {
        mLastError = manager.lastError();
        return false;
    }
    mBuffer = id;
    if (mSource)
        alSourcei(mSource, AL_BUFFER, static_cast<ALint>(mBuffer));
    return true;
}

bool SoundEffect::acquireSource()
{
    if (mSource)
        return false;
    const ALuint lent = SoundManager::instance().acquireSource();
    if (!lent)
        return false;
    // The slot stays lent: a source OpenAL does not know cannot be trusted to another effect either.
    if (!alIsSource(lent))
    {
        mLastError = "OpenAL Error: Source isn't valid.\n";
        return false;
    }
    mSource = lent;
    alSource3f(mSource, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSource3f(mSource, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    alSource3f(mSource, AL_DIRECTION, 0.0f, 0.0f, 0.0f);
    alSourcef(mSource, AL_ROLLOFF_FACTOR, 1.0f);
    alSourcef(mSource, AL_REFERENCE_DISTANCE, 1.0f);
    alSourcef(mSource, AL_PITCH, 1.0f);
    alSourcei(mSource, AL_SOURCE_RELATIVE, AL_FALSE);
    if (mBuffer)
        alSourcei(mSource, AL_BUFFER, static_cast<ALint>(mBuffer));
    return true;
}

void SoundEffect::play()
{
    if (mSource)
        alSourcePlay(mSource);
}

void SoundEffect::stop()
{
    if (mSource)
        alSourceStop(mSource);
}

bool SoundEffect::isPlaying() const
{
    if (!mSource)
        return false;
    ALint state = AL_STOPPED;
    alGetSourcei(mSource, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void SoundEffect::releaseSource()
{
    if (!mSource)
        return;
    // After the manager's shutdown the source went with its context.
    SoundManager* manager = SoundManager::existing();
    if (manager && manager->isOpen())
    {
        alSourceStop(mSource);
        manager->releaseSource(mSource);
    }
    mSource = 0;
}
