#pragma once

// One short sound as a game object holds it: a buffer decoded whole at load time and, once acquired, a
// source borrowed from the sound manager's pool. Loading and acquiring may come in either order; the
// source goes back to the pool on `releaseSource()` or destruction. Frame loop's thread only.
//
// Failures never throw (except the engine's own for a name no resource group holds): operations answer
// false and keep the reason in `lastError()`. Without a sound device every effect stays silent.

#include <string>

#include <AL/al.h>

class SoundEffect
{
  public:
    SoundEffect() = default;
    ~SoundEffect();
    SoundEffect(const SoundEffect&) = delete;
    SoundEffect& operator=(const SoundEffect&) = delete;

    // Takes the buffer of the mono Ogg Vorbis resource `fileName` (decoded on the manager's first load of
    // that file, shared after) and attaches it to the held source, if any. False leaves the effect as it
    // was.
    bool load(const std::string& fileName);
    // Borrows a pool source and sets it up at the listener. False when one is already held or the pool has
    // none to lend (the effect then plays nothing).
    bool acquireSource();
    // Plays from the start, restarting a playing effect. Nothing without a source.
    void play();
    void stop();
    bool isPlaying() const;
    // Stops and gives the source back to the pool.
    void releaseSource();

    ALuint buffer() const { return mBuffer; }
    ALuint source() const { return mSource; }
    const std::string& lastError() const { return mLastError; }

  private:
    ALuint mBuffer = 0;
    ALuint mSource = 0;
    std::string mLastError;
};
