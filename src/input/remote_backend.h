#pragma once

// The Wii remote library as the game sees it: find, connect, poll, read the button word and the
// orientation, rumble, LEDs, clean up. `Wiinput` drives one backend; the game uses the kernel driver's
// (`XwiimoteBackend`), tests and replays a scripted one (`ScriptedRemotes`).
//
// Threads: `waitForReport` runs on a remote's polling thread with no lock held and must not touch the
// report state. Every other call is serialised by `Wiinput` per remote (one mutex per remote), so a
// backend needs no locking of its own for them.

#include <cstdint>

// Bits of a remote's held-button word. The values are the classic library's and are part of the game's
// input tables.
constexpr int32_t WIIMOTE_BUTTON_TWO = 0x0001;
constexpr int32_t WIIMOTE_BUTTON_ONE = 0x0002;
constexpr int32_t WIIMOTE_BUTTON_B = 0x0004;
constexpr int32_t WIIMOTE_BUTTON_A = 0x0008;
constexpr int32_t WIIMOTE_BUTTON_MINUS = 0x0010;
constexpr int32_t WIIMOTE_BUTTON_HOME = 0x0080;
constexpr int32_t WIIMOTE_BUTTON_LEFT = 0x0100;
constexpr int32_t WIIMOTE_BUTTON_RIGHT = 0x0200;
constexpr int32_t WIIMOTE_BUTTON_DOWN = 0x0400;
constexpr int32_t WIIMOTE_BUTTON_UP = 0x0800;
constexpr int32_t WIIMOTE_BUTTON_PLUS = 0x1000;

// LED bits for `setLeds`: LED 1 is 16, LED 2 is 32, LED 3 is 64, LED 4 is 128.
constexpr int WIIMOTE_LED_1 = 0x10;

// Angles in degrees, computed from the accelerometer (see orientation_filter.h).
struct WiimoteOrientation
{
    float roll = 0;
    float pitch = 0;
};

// The report state of one remote, as the last poll left it.
struct WiimoteRecord
{
    int32_t btns = 0;
    WiimoteOrientation orient;
};

class RemoteBackend
{
  public:
    static constexpr int maxRemotes = 2;

    virtual ~RemoteBackend() = default;

    // Looks for up to maxRemotes remotes for at most timeoutSeconds; returns how many were found. Returns
    // at once when there is nothing that could be found (no Bluetooth adapter).
    virtual int find(int timeoutSeconds) = 0;
    // Opens the found remotes; returns how many are connected. They are numbered 0 .. count - 1.
    virtual int connect() = 0;
    // Longest wait of `waitForReport`, and of an expansion read, in milliseconds.
    virtual void setTimeout(int normalMilliseconds, int expansionMilliseconds) = 0;
    // Turns the accelerometer reports (and so the orientation) on or off.
    virtual void setMotionSensing(int remote, bool on) = 0;
    // Blocks until the remote has a report to read or the read time-out passes; true when one is there.
    // Polling thread only, without the remote's lock.
    virtual bool waitForReport(int remote) = 0;
    // Reads every report waiting for the remote without blocking and brings `record` up to date.
    virtual void poll(int remote, WiimoteRecord& record) = 0;
    virtual void rumble(int remote, bool on) = 0;
    // leds: the LED bits (WIIMOTE_LED_1 << n); 0 turns them all off. Fails silently without permission.
    virtual void setLeds(int remote, int leds) = 0;
    // Closes every remote. No other call follows.
    virtual void cleanUp() = 0;
};
