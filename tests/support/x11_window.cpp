#include "support/x11_window.h"

#include <stdexcept>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

namespace
{
Display* asDisplay(void* display)
{
    return static_cast<Display*>(display);
}

// Compares the raw WM_NAME bytes: some toolkits store it as UTF8_STRING, which XFetchName refuses.
bool hasTitle(Display* display, Window window, const std::string& title)
{
    XTextProperty name;
    if (!XGetWMName(display, window, &name) || !name.value)
        return false;
    const bool same = title == std::string(reinterpret_cast<const char*>(name.value), name.nitems);
    XFree(name.value);
    return same;
}

Window searchTree(Display* display, Window parent, const std::string& title)
{
    Window root = 0;
    Window parentOut = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i)
    {
        XWindowAttributes attributes;
        if (hasTitle(display, children[i], title) &&
            XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
            found = children[i];
        else
            found = searchTree(display, children[i], title);
    }
    if (children)
        XFree(children);
    return found;
}
} // namespace

// The X server refuses connections for a moment while it resets after its last client left.
X11Session::X11Session()
{
    for (int attempt = 0; attempt < 100 && !display; ++attempt)
    {
        display = XOpenDisplay(nullptr);
        if (!display)
            usleep(50 * 1000);
    }
    if (!display)
        throw std::runtime_error("no X display");
}

X11Session::~X11Session()
{
    XCloseDisplay(asDisplay(display));
}

unsigned long X11Session::findWindow(const std::string& title)
{
    Display* d = asDisplay(display);
    return searchTree(d, DefaultRootWindow(d), title);
}

void X11Session::windowSize(unsigned long window, unsigned& width, unsigned& height)
{
    XWindowAttributes attributes;
    XGetWindowAttributes(asDisplay(display), window, &attributes);
    width = static_cast<unsigned>(attributes.width);
    height = static_cast<unsigned>(attributes.height);
}

void X11Session::requestClose(unsigned long window)
{
    Display* d = asDisplay(display);
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, window, False, NoEventMask, &event);
    XFlush(d);
}

bool displayAvailable()
{
    try
    {
        X11Session session;
        return true;
    }
    catch (const std::runtime_error&)
    {
        return false;
    }
}
