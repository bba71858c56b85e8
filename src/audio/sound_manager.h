#pragma once

// The sound system: one OpenAL device and context, a fixed pool of sources that effects and music borrow,
// and the registry of effect buffers. There is no positional sound: every source sits at the listener,
// which never moves.
//
// Used from the frame loop's thread only, except that the device may be opened on a thread of its own
// (`startOpening`) while the game starts its engine; `initialise()` waits for it. The music streaming
// thread touches its streams alone (see ogg_stream.h) and is ended by `shutdown()` before the context goes.
//
// Without a sound device `initialise()` fails with one log line and the game plays on silently: the pool
// lends nothing, effect buffers are not made, and no OpenAL call is issued afterwards.

#include <map>
#include <string>
#include <thread>

#include <AL/al.h>
#include <AL/alc.h>

class SoundManager
{
  public:
    static constexpr int poolSize = 16;
    // What `loadBuffer` answers on every failure.
    static constexpr ALuint failedBuffer = 0xFFFFFFFFu;

    // The process-wide manager; the first call creates it with OpenAL not yet opened.
    static SoundManager& instance();
    // The manager if one exists, without creating one: for owners of sources that may outlive it.
    static SoundManager* existing();
    // Ends streaming, deletes the registered buffers, closes the context and the device, and destroys the
    // manager; a later `instance()` builds a fresh, unopened one. Harmless when none exists.
    static void shutdown();

    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // Opens the default device, makes the one context current, generates the pool and places the
    // listener. Called once; false (and one log line) when there is no sound device.
    bool initialise();
    // Begins what `initialise()` does on a thread of its own, which logs nothing: opening a device takes
    // tens of milliseconds that the start of the game need not wait for. `initialise()` then waits for
    // it and answers and logs as it would have; `shutdown()` waits for it too. Called at most once, before
    // `initialise()`; where no thread can be started, `initialise()` does all the work itself.
    void startOpening();
    // True once `initialise()` succeeded: only then may OpenAL be called.
    bool isOpen() const { return mContext != nullptr; }

    // The buffer of the mono Ogg Vorbis resource `fileName` (at most 10 s): decoded whole and registered
    // under that name on the first call, the registered one on later calls, so effects of the same file
    // share one buffer, deleted at shutdown. Returns `failedBuffer` with the reason logged (a refused file
    // is tried again on the next call). A name that no resource group holds raises the engine's exception.
    ALuint loadBuffer(const std::string& fileName);

    // Lends the lowest-numbered free pool source; 0 when all are lent or the manager is not open.
    ALuint acquireSource();
    // Takes back a lent source and detaches its buffers; an id the pool does not hold is ignored.
    void releaseSource(ALuint id);

    // Keeps `message` as the last error and writes it to the engine log (when there is one).
    void report(const std::string& message);
    const std::string& lastError() const { return mLastError; }

    // The buffer registered under `fileName`, or 0.
    ALuint registeredBuffer(const std::string& fileName) const;

  private:
    SoundManager() = default;
    ~SoundManager();
    // What `initialise()` does but the log line: empty on success, else the message to report.
    std::string open();

    ALCdevice* mDevice = nullptr;
    ALCcontext* mContext = nullptr;
    ALuint mSources[poolSize] = {};
    bool mInUse[poolSize] = {};
    // Effect buffers by file name, in byte-wise order of the names.
    std::map<std::string, ALuint> mBuffers;
    std::string mLastError;
    // The thread of `startOpening()` and what its `open()` answered.
    std::thread mOpening;
    std::string mOpeningFailure;
};
