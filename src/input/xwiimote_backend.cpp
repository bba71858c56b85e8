#include "input/xwiimote_backend.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <poll.h>
#include <xwiimote.h>

#include "platform/system_dialogs.h"

namespace
{
// The classic button word's bit for each of the driver's core keys; 0 for keys a remote does not have.
int32_t buttonBit(unsigned code)
{
    switch (code)
    {
    case XWII_KEY_LEFT:
        return WIIMOTE_BUTTON_LEFT;
    case XWII_KEY_RIGHT:
        return WIIMOTE_BUTTON_RIGHT;
    case XWII_KEY_UP:
        return WIIMOTE_BUTTON_UP;
    case XWII_KEY_DOWN:
        return WIIMOTE_BUTTON_DOWN;
    case XWII_KEY_A:
        return WIIMOTE_BUTTON_A;
    case XWII_KEY_B:
        return WIIMOTE_BUTTON_B;
    case XWII_KEY_PLUS:
        return WIIMOTE_BUTTON_PLUS;
    case XWII_KEY_MINUS:
        return WIIMOTE_BUTTON_MINUS;
    case XWII_KEY_HOME:
        return WIIMOTE_BUTTON_HOME;
    case XWII_KEY_ONE:
        return WIIMOTE_BUTTON_ONE;
    case XWII_KEY_TWO:
        return WIIMOTE_BUTTON_TWO;
    default:
        return 0;
    }
}

bool isBalanceBoard(const char* sysPath)
{
    xwii_iface* iface = nullptr;
    if (xwii_iface_new(&iface, sysPath) != 0)
        return false;
    char* type = nullptr;
    const bool board = xwii_iface_get_devtype(iface, &type) == 0 && std::strcmp(type, "balanceboard") == 0;
    std::free(type);
    xwii_iface_unref(iface);
    return board;
}
} // namespace

XwiimoteBackend::~XwiimoteBackend()
{
    cleanUp();
}

int XwiimoteBackend::find(int)
{
    mFound = 0;
    xwii_monitor* monitor = xwii_monitor_new(false, false);
    if (!monitor)
        return 0;
    while (char* path = xwii_monitor_poll(monitor))
    {
        if (mFound < maxRemotes && !isBalanceBoard(path))
            mPaths[mFound++] = path;
        std::free(path);
    }
    xwii_monitor_unref(monitor);
    return mFound;
}

int XwiimoteBackend::connect()
{
    mConnected = 0;
    for (int i = 0; i < mFound; ++i)
    {
        xwii_iface* iface = nullptr;
        if (xwii_iface_new(&iface, mPaths[i].c_str()) != 0)
            continue;
        // Writable for rumble and LEDs; a remote whose device we may only read still gives its buttons.
        if (xwii_iface_open(iface, XWII_IFACE_CORE | XWII_IFACE_WRITABLE) != 0 &&
            xwii_iface_open(iface, XWII_IFACE_CORE) != 0)
        {
            xwii_iface_unref(iface);
            continue;
        }
        mRemotes[mConnected++].iface = iface;
    }
    return mConnected;
}

void XwiimoteBackend::setTimeout(int normalMilliseconds, int)
{
    mTimeoutMilliseconds = normalMilliseconds;
}

void XwiimoteBackend::setMotionSensing(int remote, bool on)
{
    Remote& r = mRemotes[remote];
    if (!r.iface)
        return;
    if (on)
        xwii_iface_open(r.iface, XWII_IFACE_ACCEL);
    else
        xwii_iface_close(r.iface, XWII_IFACE_ACCEL);
    r.orientation.reset();
}

bool XwiimoteBackend::waitForReport(int remote)
{
    Remote& r = mRemotes[remote];
    if (!r.iface || r.lost)
    {
        platform::sleepMilliseconds(static_cast<unsigned>(mTimeoutMilliseconds));
        return false;
    }
    pollfd wait = {xwii_iface_get_fd(r.iface), POLLIN, 0};
    return ::poll(&wait, 1, mTimeoutMilliseconds) > 0;
}

void XwiimoteBackend::poll(int remote, WiimoteRecord& record)
{
    Remote& r = mRemotes[remote];
    if (!r.iface || r.lost)
        return;
    xwii_event event;
    int result;
    while ((result = xwii_iface_dispatch(r.iface, &event, sizeof(event))) == 0)
    {
        if (event.type == XWII_EVENT_KEY)
        {
            const int32_t bit = buttonBit(event.v.key.code);
            // State 2 is the driver's auto-repeat: still held.
            if (event.v.key.state != 0)
                r.btns |= bit;
            else
                r.btns &= ~bit;
        }
        else if (event.type == XWII_EVENT_ACCEL)
        {
            r.orientation.update(event.v.abs[0].x, event.v.abs[0].y, event.v.abs[0].z);
        }
        else if (event.type == XWII_EVENT_WATCH && !(xwii_iface_opened(r.iface) & XWII_IFACE_CORE))
        {
            result = -ENODEV;
            break;
        }
    }
    if (result != -EAGAIN)
    {
        // Gone (switched off, out of range): a button held at that moment must not stay held.
        r.lost = true;
        r.btns = 0;
    }
    record.btns = r.btns;
    record.orient = r.orientation.orientation();
}

void XwiimoteBackend::rumble(int remote, bool on)
{
    if (Remote& r = mRemotes[remote]; r.iface && !r.lost)
        xwii_iface_rumble(r.iface, on);
}

void XwiimoteBackend::setLeds(int remote, int leds)
{
    Remote& r = mRemotes[remote];
    if (!r.iface || r.lost)
        return;
    for (unsigned n = 1; n <= 4; ++n)
        xwii_iface_set_led(r.iface, XWII_LED(n), (leds & (WIIMOTE_LED_1 << (n - 1))) != 0);
}

void XwiimoteBackend::cleanUp()
{
    for (Remote& r : mRemotes)
    {
        if (r.iface)
            xwii_iface_unref(r.iface);
        r.iface = nullptr;
        r.btns = 0;
        r.lost = false;
    }
    mConnected = 0;
    mFound = 0;
}
