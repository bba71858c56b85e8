#pragma once

// What the game does when its X display goes away under it: the window destroyed by another program, the
// X server ended or the connection broken. Xlib reports these through two process-wide handlers whose
// defaults print a message and call exit(), which runs static destructors while the sound and music
// threads still run (a crash at exit) and lets later cleanup wait on a display that will never answer.
// The game's handlers instead write one line to the engine log and to standard error and end the process
// at once with exit code 1. Nothing is lost: the best times are written when they are entered.

namespace platform
{

// Installs the game's handlers for as long as it exists, and puts back the ones it found when it goes.
// One at a time, on the main thread; the handlers run on whichever thread made the failing X call.
class DisplayLossGuard
{
  public:
    DisplayLossGuard();
    ~DisplayLossGuard();
    DisplayLossGuard(const DisplayLossGuard&) = delete;
    DisplayLossGuard& operator=(const DisplayLossGuard&) = delete;

  private:
    // Xlib's handler types, kept opaque so that this header needs no X11 headers.
    using Handler = void (*)();
    Handler mPreviousErrorHandler = nullptr;
    Handler mPreviousIoErrorHandler = nullptr;
};

} // namespace platform
