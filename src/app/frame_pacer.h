#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace Ogre
{
class ConfigFile;
}

// How often the game draws. Without a cap it draws as fast as the machine allows, and a driver that
// ignores vsync makes a hot machine at the menu; so the main loop waits for each frame's start time on the
// monotonic clock, by sleeping. The start times lie on a grid of whole periods from one origin, so the
// rate does not drift; a frame that ends late starts the next one at once and drops the grid points it
// missed, so a long frame (a level load) is never followed by a burst of catch-up frames.
//
// The frame time the game sees is still the real time between frames, clamped to 0.04 s: pacing changes
// how often frames are made, never what a frame does.

// Frames a second when "MaxFPS" is missing or cannot be read.
constexpr unsigned defaultMaxFps = 60;
// The most frames a second while the window cannot be seen (iconified, unmapped, fully covered): 0.04 s a
// frame, exactly the frame-time clamp, so game time still runs at real speed.
constexpr unsigned hiddenWindowMaxFps = 25;
// Larger caps are read as this one; no display shows more.
constexpr unsigned largestMaxFps = 1000;

// The value of "MaxFPS": a whole number of frames a second, 0 for no cap. Nothing (a missing key), a sign,
// a fraction or other text is not a value; a number above largestMaxFps, however long, reads as
// largestMaxFps.
std::optional<unsigned> parseMaxFps(const std::string& text);

// "MaxFPS" of the game's configuration; a missing, empty or malformed value is the default, and one line in
// the engine log says so.
unsigned readMaxFps(const Ogre::ConfigFile& config);

// The frames a second in force: the cap (0: none), and at most hiddenWindowMaxFps while the window is hidden.
unsigned frameRateCap(unsigned maxFps, bool windowHidden);

class FramePacer
{
  public:
    using Clock = std::chrono::steady_clock;

    // maxFps: frames a second at most while the window shows; 0 for no cap.
    explicit FramePacer(unsigned maxFps) : mMaxFps(maxFps) {}

    // Called once a frame, when its work is done, at `now`: when the next frame may start (`now` itself when
    // it may start at once). The first frame, and the first after the cap in force changes, starts a new grid
    // at `now`.
    Clock::time_point nextFrameStart(Clock::time_point now, bool windowHidden);
    // Sleeps until nextFrameStart(Clock::now(), windowHidden), and counts the frame.
    void waitForNextFrame(bool windowHidden);

    // Frames counted by waitForNextFrame, and the seconds from the first to the last of them.
    long frames() const { return mFrames; }
    double secondsCounted() const;
    // Of those, the frames that ended before the next one could start, and so waited: when few did, the
    // machine could not keep up with the cap.
    long framesAhead() const { return mFramesAhead; }

  private:
    Clock::time_point gridPoint(std::int64_t index) const;

    unsigned mMaxFps;
    unsigned mRate = 0; // of the grid below; 0: no grid yet
    Clock::time_point mOrigin;
    std::int64_t mIndex = 0; // grid points from the origin to the current frame's start

    long mFrames = 0;
    long mFramesAhead = 0;
    Clock::time_point mFirstFrame;
    Clock::time_point mLastFrame;
};
