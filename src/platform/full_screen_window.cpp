#include "platform/full_screen_window.h"

#include <OgreRenderWindow.h>
#include <X11/Xlib.h>

namespace platform
{

void setWindowFullScreen(Ogre::RenderWindow& window, bool fullScreen, unsigned width, unsigned height)
{
    window.setFullscreen(fullScreen, width, height);
    Display* display = nullptr;
    Window xid = 0;
    window.getCustomAttribute("XDISPLAY", &display);
    window.getCustomAttribute("WINDOW", &xid);
    if (!display || !xid)
        return;
    // Without a window manager that takes the request the engine changes nothing (or, leaving full
    // screen, only the size): the window gets its place and size here, centred when windowed.
    const int screen = DefaultScreen(display);
    const int left = fullScreen ? 0 : (DisplayWidth(display, screen) - static_cast<int>(width)) / 2;
    const int top = fullScreen ? 0 : (DisplayHeight(display, screen) - static_cast<int>(height)) / 2;
    XMoveResizeWindow(display, xid, left, top, width, height);
    XFlush(display);
}

} // namespace platform
