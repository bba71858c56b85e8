#include "platform/system_dialogs.h"

#include <chrono>
#include <iostream>
#include <thread>

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace platform
{

void showFatalError(const std::string& caption, const std::string& message)
{
    std::cerr << caption << ' ' << message << std::endl;
    // Fails harmlessly (and at once) when there is no display.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), message.c_str(), nullptr);
}

// Asked of the X server directly: the video subsystem of SDL would do, but its start-up leaves memory of
// the session bus library behind that the leak checker of the test build reports.
ScreenSize desktopSize()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        throw "No display to open the game's window on";
    const int screen = DefaultScreen(display);
    ScreenSize size{static_cast<unsigned>(DisplayWidth(display, screen)),
                    static_cast<unsigned>(DisplayHeight(display, screen))};
    // The screen spans every monitor; the primary one (or else the first) is the desktop. Monitors are
    // known from RandR 1.5; asking an older server would be a protocol error.
    int major = 0;
    int minor = 0;
    int count = 0;
    XRRMonitorInfo* monitors = nullptr;
    if (XRRQueryVersion(display, &major, &minor) && (major > 1 || (major == 1 && minor >= 5)))
        monitors = XRRGetMonitors(display, RootWindow(display, screen), True, &count);
    for (int i = 0; i < count; ++i)
        if (monitors[i].primary || i == 0)
            size = {static_cast<unsigned>(monitors[i].width), static_cast<unsigned>(monitors[i].height)};
    if (monitors)
        XRRFreeMonitors(monitors);
    XCloseDisplay(display);
    return size;
}

void sleepMilliseconds(unsigned milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace platform
