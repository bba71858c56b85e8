#include "platform/window_events.h"

#include <OgreRenderWindow.h>
#include <X11/Xlib.h>

namespace platform
{

bool takeCloseRequest(Ogre::RenderWindow& window)
{
    Display* display = nullptr;
    Window xid = 0;
    window.getCustomAttribute("XDISPLAY", &display);
    window.getCustomAttribute("WINDOW", &xid);
    if (!display || !xid)
        return false;
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", True);
    bool requested = false;
    XEvent event;
    while (XCheckTypedWindowEvent(display, xid, ClientMessage, &event))
        requested |= event.xclient.format == 32 && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow;
    return requested;
}

} // namespace platform
