#pragma once

#include <string>

#include <sys/types.h>

// An X server of its own (Xvfb, 1280x1024, 24-bit) on a free display number, for as long as the object
// lives. Tests run at the same time never find, focus or close each other's windows on it, and a test may
// end it under a running game.
class PrivateDisplay
{
  public:
    // Starts the server and waits until it reports its display number; name() stays empty when it cannot
    // (no Xvfb, or no report within 30 s).
    PrivateDisplay();
    // Asks the server to stop, and kills it if it has not stopped within 5 s.
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // ":N", for DISPLAY.
    const std::string& name() const { return mName; }
    // Ends the server at once, as a crash would. Close every connection of this process to it first: Xlib
    // ends a process whose connection breaks.
    void kill();

  private:
    pid_t mServer = -1;
    std::string mName;
};
