#include "input/wiinput.h"

#include <algorithm>
#include <string>

#include <OgreLogManager.h>
#include <boost/bind/bind.hpp>

#include "platform/system_dialogs.h"

namespace
{
void logLine(const std::string& line)
{
    if (Ogre::LogManager* log = Ogre::LogManager::getSingletonPtr())
        log->logMessage(line, Ogre::LML_NORMAL);
}

// The flag index of a single bit of the button word, or -1.
int bitIndex(int32_t mask, int bits)
{
    for (int bit = 0; bit < bits; ++bit)
        if (mask == (int32_t(1) << bit))
            return bit;
    return -1;
}
} // namespace

Wiinput::Wiinput(std::unique_ptr<RemoteBackend> backend) : mBackend(std::move(backend)) {}

Wiinput::~Wiinput()
{
    shutDown();
}

void Wiinput::setUp()
{
    if (!mBackend)
        return;
    const int found = mBackend->find(searchSeconds);
    if (found <= 0)
        return;
    logLine(std::to_string(found) + " wiimotes found");
    const int connected = mBackend->connect();
    if (connected <= 0)
        return;
    mConnected = std::min(connected, maxRemotes);
    mBackend->setTimeout(readTimeoutMilliseconds, readTimeoutMilliseconds);
    for (int i = 0; i < mConnected; ++i)
    {
        {
            std::lock_guard<std::mutex> lock(mRemoteMutex[i]);
            mBackend->rumble(i, true);
        }
        platform::sleepMilliseconds(greetingMilliseconds);
        {
            std::lock_guard<std::mutex> lock(mRemoteMutex[i]);
            mBackend->rumble(i, false);
            mBackend->setLeds(i, WIIMOTE_LED_1 << i);
        }
        mHeld[i].fill(false);
        mPressed[i].fill(false);
        mRunning = true;
        mPollThreads[i] = std::make_unique<boost::thread>(boost::bind(&Wiinput::pollLoop, this, i));
    }
    logLine(std::to_string(mConnected) + " wiimotes connected");
}

void Wiinput::pollLoop(int index)
{
    {
        std::lock_guard<std::mutex> lock(mRemoteMutex[index]);
        mBackend->setMotionSensing(index, true);
    }
    while (mRunning)
    {
        // Waiting happens outside the lock so that the frame loop's rumble calls never wait for a report.
        if (!mBackend->waitForReport(index))
            continue;
        std::lock_guard<std::mutex> lock(mRemoteMutex[index]);
        mBackend->poll(index, mShared[index]);
    }
    std::lock_guard<std::mutex> lock(mRemoteMutex[index]);
    mBackend->rumble(index, false);
    mBackend->setLeds(index, 0);
}

void Wiinput::update(double frameTime)
{
    for (int i = 0; i < mConnected; ++i)
    {
        {
            std::lock_guard<std::mutex> lock(mRemoteMutex[i]);
            mReports[i] = mShared[i];
        }
        for (int bit = 0; bit < buttonBits; ++bit)
        {
            const int32_t mask = int32_t(1) << bit;
            const bool now = (mReports[i].btns & mask) == mask;
            mPressed[i][bit] = now && !mHeld[i][bit];
            mHeld[i][bit] = now;
        }
        if (mRumbleLeft[i] > 0)
        {
            mRumbleLeft[i] -= frameTime;
            if (mRumbleLeft[i] <= 0)
            {
                mRumbleLeft[i] = 0;
                std::lock_guard<std::mutex> lock(mRemoteMutex[i]);
                mBackend->rumble(i, false);
            }
        }
    }
}

bool Wiinput::isHeld(int remote, int32_t mask) const
{
    const int bit = bitIndex(mask, buttonBits);
    return isConnected(remote) && bit >= 0 && mHeld[remote][bit];
}

bool Wiinput::wasPressed(int remote, int32_t mask) const
{
    const int bit = bitIndex(mask, buttonBits);
    return isConnected(remote) && bit >= 0 && mPressed[remote][bit];
}

void Wiinput::rumble(int remote, double seconds)
{
    if (!isConnected(remote))
        return;
    // A pulse of no length switches the motor off rather than leaving it running with no timer to stop it.
    const bool on = seconds > 0;
    mRumbleLeft[remote] = on ? seconds : 0;
    std::lock_guard<std::mutex> lock(mRemoteMutex[remote]);
    mBackend->rumble(remote, on);
}

void Wiinput::shutDown()
{
    mRunning = false;
    for (int i = 0; i < maxRemotes; ++i)
    {
        if (mPollThreads[i])
            mPollThreads[i]->join();
        mPollThreads[i].reset();
    }
    if (mBackend)
        mBackend->cleanUp();
    mConnected = 0;
    mRumbleLeft.fill(0);
}
