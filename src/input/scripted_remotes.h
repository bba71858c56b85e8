#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "input/remote_backend.h"

// Remotes whose buttons and pitch are set by a program (tests, replays) instead of a player. Hand one to
// `InputState` or `Wiinput` in place of the kernel driver; keep a reference to script it. Safe to script
// from any thread while the polling threads read it.
class ScriptedRemotes : public RemoteBackend
{
  public:
    // found: how many remotes the search reports; connected: how many of those then connect.
    explicit ScriptedRemotes(int found, int connected = -1);

    // The held-button word and the orientation that the next poll of `remote` reports.
    void setButtons(int remote, int32_t btns);
    void setPitch(int remote, float degrees);
    // Both at once: no poll sees one without the other.
    void setReport(int remote, int32_t btns, float pitchDegrees);
    // Blocks until every connected remote's polling thread has taken in the last change (at most 2 s);
    // false on a time-out. After it, the next `Wiinput::update` sees the change.
    bool waitUntilPolled();

    // What the game did to the remote.
    bool rumbling(int remote) const;
    int rumbleSwitches(int remote) const;
    int leds(int remote) const;
    bool motionSensing(int remote) const;
    bool cleanedUp() const;

    int find(int timeoutSeconds) override;
    int connect() override;
    void setTimeout(int normalMilliseconds, int expansionMilliseconds) override;
    void setMotionSensing(int remote, bool on) override;
    // Returns as soon as the script changes, otherwise after the read time-out.
    bool waitForReport(int remote) override;
    void poll(int remote, WiimoteRecord& record) override;
    void rumble(int remote, bool on) override;
    void setLeds(int remote, int leds) override;
    void cleanUp() override;

  private:
    struct Remote
    {
        WiimoteRecord script;
        unsigned pollVersion = 0;
        bool rumbling = false;
        int rumbleSwitches = 0;
        int leds = 0;
        bool motionSensing = false;
    };

    mutable std::mutex mMutex;
    std::condition_variable mChanged;
    std::array<Remote, maxRemotes> mRemotes;
    unsigned mVersion = 0;
    int mFound;
    int mConnectable;
    int mConnected = 0;
    int mTimeoutMilliseconds = 220;
    bool mCleanedUp = false;
};
