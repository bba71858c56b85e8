#include "audio/music_player.h"

#include "audio/sound_manager.h"

MusicPlayer::MusicPlayer()
{
    mStream.acquireSource();
    mStream.setLooping(true);
}

bool MusicPlayer::load(const std::string& fileName)
{
    if (fileName == mCurrentName)
        return true;
    mCurrentName = fileName;
    if (mStream.open(fileName))
        return true;
    SoundManager::instance().report(mStream.lastError());
    return false;
}

void MusicPlayer::logStreamFailures()
{
    if (mStream.takePendingLog(mPendingMessage))
        SoundManager::instance().report(mPendingMessage);
}
