#pragma once

// Up to two Wii remotes: found and connected once at start-up, each read by a polling thread of its own,
// their held-button words turned into per-button held and pressed flags once per frame. Remote 0 belongs
// to player 1, remote 1 to player 2.
//
// Threads: a polling thread owns its remote's backend state and writes the remote's report (button word
// and orientation) under that remote's mutex; the frame loop takes a copy of each report under the same
// mutex at `update` and answers every query of that frame from the copy, so one frame never mixes two
// reports. Rumble and LED calls take the mutex too. The running flag is the only other thing shared.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include <boost/thread.hpp>

#include "input/remote_backend.h"

class Wiinput
{
  public:
    static constexpr int maxRemotes = RemoteBackend::maxRemotes;
    // Search time, read time-out and greeting, as the classic library's callers use them.
    static constexpr int searchSeconds = 6;
    static constexpr int readTimeoutMilliseconds = 220;
    static constexpr unsigned greetingMilliseconds = 200;

    // Owns the backend; a null backend means no remotes at all. Nothing is searched before setUp().
    explicit Wiinput(std::unique_ptr<RemoteBackend> backend);
    // Shuts down if that has not been done.
    ~Wiinput();
    Wiinput(const Wiinput&) = delete;
    Wiinput& operator=(const Wiinput&) = delete;

    // Once, at start-up: search, connect, greet each remote (a 200 ms rumble, then its player's LED) and
    // start its polling thread. Logs "<n> wiimotes found" and "<n> wiimotes connected" when any was found.
    void setUp();
    // Once per frame on the main thread; frameTime in seconds. Refreshes the flags and runs the rumble
    // timers.
    void update(double frameTime);
    // The flags of one button bit (WIIMOTE_BUTTON_*) as the last update() left them; false for a remote
    // that is not connected and for anything but a single bit of the button word.
    bool isHeld(int remote, int32_t mask) const;
    bool wasPressed(int remote, int32_t mask) const;
    // Starts a rumble pulse that update() stops once `seconds` of frame time have passed.
    void rumble(int remote, double seconds);
    // The report the last update() took: button word and orientation (degrees).
    const WiimoteRecord& remote(int index) const { return mReports.at(index); }
    // Connected remotes: 0 before setUp() and after shutDown(), or when none was found.
    int connected() const { return mConnected; }
    // Stops and joins the polling threads (each within one read time-out), releases the remotes.
    void shutDown();

  private:
    static constexpr int buttonBits = 15;

    // The body of remote i's polling thread.
    void pollLoop(int index);
    bool isConnected(int remote) const { return remote >= 0 && remote < mConnected; }

    std::unique_ptr<RemoteBackend> mBackend;
    int mConnected = 0;
    // Per remote: guards the backend calls and mShared. Shared with the polling thread.
    std::array<std::mutex, maxRemotes> mRemoteMutex;
    std::array<WiimoteRecord, maxRemotes> mShared;
    // Per remote, main thread only.
    std::array<WiimoteRecord, maxRemotes> mReports;
    std::array<std::array<bool, buttonBits>, maxRemotes> mHeld{};
    std::array<std::array<bool, buttonBits>, maxRemotes> mPressed{};
    std::array<double, maxRemotes> mRumbleLeft{};
    std::array<std::unique_ptr<boost::thread>, maxRemotes> mPollThreads;
    std::atomic<bool> mRunning{false};
};
