#pragma once

// The application's one music player: the name of the current music file and the looping stream that
// plays it. Made after the sound manager is initialised (it borrows the first pool source) and destroyed
// before the manager shuts down. Frame loop's thread only.

#include <string>

#include "audio/ogg_stream.h"

class MusicPlayer
{
  public:
    MusicPlayer();
    ~MusicPlayer() = default;
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // Opens the music resource `fileName` unless it is the current one (then true, the stream untouched).
    // A file that is missing or cannot be opened is logged once, and the game plays on without it: the
    // name becomes current even when the open fails, so asking again for it neither retries nor logs.
    bool load(const std::string& fileName);
    OggStream& stream() { return mStream; }
    const std::string& currentName() const { return mCurrentName; }

    // Writes to the engine log a failure the streaming thread met since the last call. Called once per
    // frame; allocates nothing when there is none.
    void logStreamFailures();

  private:
    std::string mCurrentName;
    OggStream mStream;
    std::string mPendingMessage;
};
