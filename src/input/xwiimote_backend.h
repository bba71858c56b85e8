#pragma once

#include <array>
#include <atomic>
#include <string>

#include "input/orientation_filter.h"
#include "input/remote_backend.h"

struct xwii_iface;

// Wii remotes through the kernel's hid-wiimote driver (libxwiimote). Remotes are paired and connected
// through the desktop's Bluetooth settings; the driver then lists them through udev. Key events are
// folded into the classic held-button word, accelerometer reports into the classic orientation.
class XwiimoteBackend : public RemoteBackend
{
  public:
    XwiimoteBackend() = default;
    // Closes whatever cleanUp() has not.
    ~XwiimoteBackend() override;
    XwiimoteBackend(const XwiimoteBackend&) = delete;
    XwiimoteBackend& operator=(const XwiimoteBackend&) = delete;

    // Lists the remotes the driver has now (balance boards excluded). The driver already holds every
    // remote the desktop connected, so there is nothing to wait for: this returns at once, with 0 on a
    // machine without Bluetooth, whatever the time limit.
    int find(int timeoutSeconds) override;
    int connect() override;
    void setTimeout(int normalMilliseconds, int expansionMilliseconds) override;
    void setMotionSensing(int remote, bool on) override;
    // A remote that disconnects reads as no button held from then on; its thread keeps waiting out the
    // time-out instead of spinning.
    bool waitForReport(int remote) override;
    void poll(int remote, WiimoteRecord& record) override;
    void rumble(int remote, bool on) override;
    void setLeds(int remote, int leds) override;
    void cleanUp() override;

  private:
    struct Remote
    {
        xwii_iface* iface = nullptr;
        int32_t btns = 0;
        OrientationFilter orientation;
        // Set by poll() when the device goes away; read by waitForReport() without the lock.
        std::atomic<bool> lost{false};
    };

    std::array<std::string, maxRemotes> mPaths;
    std::array<Remote, maxRemotes> mRemotes;
    int mFound = 0;
    int mConnected = 0;
    int mTimeoutMilliseconds = 220;
};
