#include "platform/window_events.h"

#include <OgreRenderWindow.h>
#include <X11/Xlib.h>

namespace platform
{

namespace
{
void applyVisibility(Ogre::RenderWindow& window, int state)
{
    const bool seen = state != VisibilityFullyObscured;
    window.setActive(seen);
    window.setVisible(seen);
}

void resize(Ogre::RenderWindow& window, WindowEvents& events)
{
    const unsigned width = window.getWidth();
    const unsigned height = window.getHeight();
    window.windowMovedOrResized();
    events.resized |= window.getWidth() != width || window.getHeight() != height;
}
} // namespace

WindowEvents pumpWindowEvents(Ogre::RenderWindow& window)
{
    WindowEvents events;
    Display* display = nullptr;
    Window xid = 0;
    window.getCustomAttribute("XDISPLAY", &display);
    window.getCustomAttribute("WINDOW", &xid);
    if (!display || !xid || window.isClosed())
        return events;
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", True);
    XEvent event;
    while (
        XCheckWindowEvent(display, xid, StructureNotifyMask | VisibilityChangeMask | FocusChangeMask, &event))
    {
        switch (event.type)
        {
        case ConfigureNotify:
            resize(window, events);
            break;
        case DestroyNotify:
            events.closeRequested = true;
            break;
        case MapNotify:
            window.setActive(true);
            break;
        case UnmapNotify:
            window.setActive(false);
            window.setVisible(false);
            break;
        case VisibilityNotify:
            applyVisibility(window, event.xvisibility.state);
            break;
        default:
            break;
        }
    }
    // Client messages belong to no event mask.
    while (XCheckTypedWindowEvent(display, xid, ClientMessage, &event))
        events.closeRequested |=
            event.xclient.format == 32 && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow;
    return events;
}

} // namespace platform
