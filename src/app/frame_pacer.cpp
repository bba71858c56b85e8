#include "app/frame_pacer.h"

#include <thread>

#include <Ogre.h>

namespace
{
constexpr std::int64_t nanosPerSecond = 1000000000;
} // namespace

std::optional<unsigned> parseMaxFps(const std::string& text)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    unsigned value = 0;
    for (char digit : text)
    {
        value = value * 10 + static_cast<unsigned>(digit - '0');
        if (value > largestMaxFps)
            return largestMaxFps;
    }
    return value;
}

unsigned readMaxFps(const Ogre::ConfigFile& config)
{
    const std::string text = config.getSetting("MaxFPS");
    if (const std::optional<unsigned> value = parseMaxFps(text))
        return *value;
    if (auto* log = Ogre::LogManager::getSingletonPtr())
        log->logMessage("MaxFPS missing or malformed (\"" + text + "\"): drawing at most " +
                        std::to_string(defaultMaxFps) + " frames a second");
    return defaultMaxFps;
}

unsigned frameRateCap(unsigned maxFps, bool windowHidden)
{
    if (windowHidden && (maxFps == 0 || maxFps > hiddenWindowMaxFps))
        return hiddenWindowMaxFps;
    return maxFps;
}

FramePacer::Clock::time_point FramePacer::gridPoint(std::int64_t index) const
{
    // Whole seconds and the part of a second apart, so each point is exact to the nanosecond and the rate
    // never drifts, however long the game runs.
    const std::int64_t seconds = index / mRate;
    const std::int64_t rest = index % mRate;
    return mOrigin + std::chrono::seconds(seconds) + std::chrono::nanoseconds(rest * nanosPerSecond / mRate);
}

FramePacer::Clock::time_point FramePacer::nextFrameStart(Clock::time_point now, bool windowHidden)
{
    const unsigned rate = frameRateCap(mMaxFps, windowHidden);
    if (rate == 0 || rate != mRate)
    {
        mRate = rate;
        mOrigin = now;
        mIndex = 0;
        return now;
    }
    const Clock::time_point next = gridPoint(mIndex + 1);
    if (next > now)
    {
        ++mIndex;
    }
    else
    {
        // Late: this frame starts now, on the last grid point it has passed; the ones before are dropped.
        const std::int64_t elapsed =
            std::chrono::duration_cast<std::chrono::nanoseconds>(now - mOrigin).count();
        const std::int64_t seconds = elapsed / nanosPerSecond;
        mOrigin += std::chrono::seconds(seconds);
        mIndex = (elapsed - seconds * nanosPerSecond) * rate / nanosPerSecond;
        return now;
    }
    // Keeps the index small: the origin moves on by whole seconds.
    if (mIndex >= mRate)
    {
        mOrigin += std::chrono::seconds(1);
        mIndex -= mRate;
    }
    return next;
}

void FramePacer::waitForNextFrame(bool windowHidden)
{
    const Clock::time_point now = Clock::now();
    if (mFrames == 0)
        mFirstFrame = now;
    ++mFrames;
    mLastFrame = now;
    const Clock::time_point start = nextFrameStart(now, windowHidden);
    if (start > now)
    {
        ++mFramesAhead;
        std::this_thread::sleep_until(start);
    }
}

double FramePacer::secondsCounted() const
{
    return std::chrono::duration<double>(mLastFrame - mFirstFrame).count();
}
