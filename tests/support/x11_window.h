#pragma once

#include <string>

// Talks to the X server of DISPLAY (Xvfb in the tests) about the game's window, as a window manager or a
// user would.
class X11Session
{
  public:
    // Throws std::runtime_error when no display can be opened.
    X11Session();
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    // The first mapped top-level window whose title is `title`, or 0.
    unsigned long findWindow(const std::string& title);
    void windowSize(unsigned long window, unsigned& width, unsigned& height);
    // The window manager's close request (WM_DELETE_WINDOW), as the close button sends it.
    void requestClose(unsigned long window);

  private:
    void* display = nullptr;
};

// Whether the tests can open a display (DISPLAY set and reachable).
bool displayAvailable();
