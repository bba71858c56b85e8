#include "support/x11_window.h"

#include <cstdio>
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
X11Session::X11Session(const std::string& name)
{
    for (int attempt = 0; attempt < 100 && !display; ++attempt)
    {
        display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
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

void X11Session::setMapped(unsigned long window, bool mapped)
{
    if (mapped)
        XMapWindow(asDisplay(display), window);
    else
        XUnmapWindow(asDisplay(display), window);
    XSync(asDisplay(display), False);
}

void X11Session::destroyWindow(unsigned long window)
{
    XDestroyWindow(asDisplay(display), window);
    XSync(asDisplay(display), False);
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

namespace
{
bool xErrorSeen = false;

int noteXError(Display*, XErrorEvent*)
{
    xErrorSeen = true;
    return 0;
}

// Reads one colour channel of an X pixel value as 8 bits.
struct Channel
{
    explicit Channel(unsigned long bits) : mask(bits)
    {
        if (bits == 0)
            return;
        while (!((bits >> shift) & 1))
            ++shift;
        maximum = bits >> shift;
    }
    unsigned char operator()(unsigned long value) const
    {
        return static_cast<unsigned char>(((value & mask) >> shift) * 255 / maximum);
    }

    unsigned long mask = 0;
    unsigned long maximum = 1;
    int shift = 0;
};
} // namespace

WindowPicture X11Session::capture(unsigned long window)
{
    Display* d = asDisplay(display);
    WindowPicture picture;
    // A window that vanished between the calls is an X protocol error, which by default ends the process.
    XSync(d, False);
    xErrorSeen = false;
    const auto previous = XSetErrorHandler(noteXError);
    XWindowAttributes attributes;
    XImage* image = nullptr;
    if (XGetWindowAttributes(d, window, &attributes) && attributes.map_state == IsViewable)
        image = XGetImage(d, window, 0, 0, static_cast<unsigned>(attributes.width),
                          static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    XSync(d, False);
    XSetErrorHandler(previous);
    if (!image)
        return picture;
    if (!xErrorSeen)
    {
        picture.width = static_cast<unsigned>(image->width);
        picture.height = static_cast<unsigned>(image->height);
        picture.rgb.resize(3u * picture.width * picture.height);
        unsigned char* out = picture.rgb.data();
        const Channel red(image->red_mask), green(image->green_mask), blue(image->blue_mask);
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x)
            {
                const unsigned long value = XGetPixel(image, x, y);
                *out++ = red(value);
                *out++ = green(value);
                *out++ = blue(value);
            }
    }
    XDestroyImage(image);
    return picture;
}

void X11Session::setKeyAutoRepeat(bool on)
{
    Display* d = asDisplay(display);
    XKeyboardControl control = {};
    control.auto_repeat_mode = on ? AutoRepeatModeOn : AutoRepeatModeOff;
    XChangeKeyboardControl(d, KBAutoRepeatMode, &control);
    XSync(d, False);
}

bool WindowPicture::savePpm(const std::string& path) const
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file, "P6\n%u %u\n255\n", width, height);
    const bool written = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
    return std::fclose(file) == 0 && written;
}
