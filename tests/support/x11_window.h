#pragma once

#include <string>
#include <vector>

// A window's contents read back from the X server: 8-bit RGB, rows from the top.
struct WindowPicture
{
    unsigned width = 0;
    unsigned height = 0;
    std::vector<unsigned char> rgb; // 3 bytes per pixel

    bool empty() const { return rgb.empty(); }
    const unsigned char* pixel(unsigned x, unsigned y) const { return &rgb[3 * (y * width + x)]; }
    // Writes a binary PPM file; false when it cannot be written.
    bool savePpm(const std::string& path) const;
};

// Talks to the X server of DISPLAY (Xvfb in the tests) about the game's window, as a window manager or a
// user would.
class X11Session
{
  public:
    // Connects to `display` (":N"), or to DISPLAY when it is empty. Throws std::runtime_error when the
    // display cannot be opened.
    explicit X11Session(const std::string& display = "");
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    // The first mapped top-level window whose title is `title`, or 0.
    unsigned long findWindow(const std::string& title);
    void windowSize(unsigned long window, unsigned& width, unsigned& height);
    // The window manager's close request (WM_DELETE_WINDOW), as the close button sends it.
    void requestClose(unsigned long window);
    // Hides or shows the window, as a window manager does when the user iconifies it and brings it back.
    void setMapped(unsigned long window, bool mapped);
    // Destroys the window from this connection, as a misbehaving program can destroy any client's window.
    void destroyWindow(unsigned long window);
    // The window's contents as the X server holds them, as a screen grab sees them (the GL driver presents
    // each frame into the window); an empty picture when the window is gone.
    WindowPicture capture(unsigned long window);
    // Key auto-repeat for the whole server. Tests that hold keys down turn it off, so a long hold is one
    // press and one release.
    void setKeyAutoRepeat(bool on);

  private:
    void* display = nullptr;
};

// Whether the tests can open a display (DISPLAY set and reachable).
bool displayAvailable();
