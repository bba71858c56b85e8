#include "input/scripted_remotes.h"

#include <algorithm>
#include <chrono>

ScriptedRemotes::ScriptedRemotes(int found, int connected)
    : mFound(std::clamp(found, 0, maxRemotes)), mConnectable(connected < 0 ? mFound : connected)
{
}

void ScriptedRemotes::setButtons(int remote, int32_t btns)
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mRemotes[remote].script.btns = btns;
        ++mVersion;
    }
    mChanged.notify_all();
}

void ScriptedRemotes::setPitch(int remote, float degrees)
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mRemotes[remote].script.orient.pitch = degrees;
        ++mVersion;
    }
    mChanged.notify_all();
}

void ScriptedRemotes::setReport(int remote, int32_t btns, float pitchDegrees)
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mRemotes[remote].script.btns = btns;
        mRemotes[remote].script.orient.pitch = pitchDegrees;
        ++mVersion;
    }
    mChanged.notify_all();
}

bool ScriptedRemotes::waitUntilPolled()
{
    std::unique_lock<std::mutex> lock(mMutex);
    return mChanged.wait_for(lock, std::chrono::seconds(2),
                             [this]
                             {
                                 for (int i = 0; i < mConnected; ++i)
                                     if (mRemotes[i].pollVersion != mVersion)
                                         return false;
                                 return true;
                             });
}

bool ScriptedRemotes::rumbling(int remote) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mRemotes[remote].rumbling;
}

int ScriptedRemotes::rumbleSwitches(int remote) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mRemotes[remote].rumbleSwitches;
}

int ScriptedRemotes::leds(int remote) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mRemotes[remote].leds;
}

bool ScriptedRemotes::motionSensing(int remote) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mRemotes[remote].motionSensing;
}

bool ScriptedRemotes::cleanedUp() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mCleanedUp;
}

int ScriptedRemotes::find(int)
{
    return mFound;
}

int ScriptedRemotes::connect()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mConnected = std::clamp(mConnectable, 0, mFound);
    return mConnected;
}

void ScriptedRemotes::setTimeout(int normalMilliseconds, int)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mTimeoutMilliseconds = normalMilliseconds;
}

void ScriptedRemotes::setMotionSensing(int remote, bool on)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mRemotes[remote].motionSensing = on;
}

bool ScriptedRemotes::waitForReport(int remote)
{
    std::unique_lock<std::mutex> lock(mMutex);
    return mChanged.wait_for(lock, std::chrono::milliseconds(mTimeoutMilliseconds),
                             [&] { return mRemotes[remote].pollVersion != mVersion; });
}

void ScriptedRemotes::poll(int remote, WiimoteRecord& record)
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        Remote& r = mRemotes[remote];
        record.btns = r.script.btns;
        // The orientation comes from the accelerometer, which reports only while motion sensing is on.
        if (r.motionSensing)
            record.orient = r.script.orient;
        r.pollVersion = mVersion;
    }
    mChanged.notify_all();
}

void ScriptedRemotes::rumble(int remote, bool on)
{
    std::lock_guard<std::mutex> lock(mMutex);
    Remote& r = mRemotes[remote];
    if (r.rumbling != on)
        ++r.rumbleSwitches;
    r.rumbling = on;
}

void ScriptedRemotes::setLeds(int remote, int leds)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mRemotes[remote].leds = leds;
}

void ScriptedRemotes::cleanUp()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mCleanedUp = true;
}
