// The remote layer over scripted remotes and over the kernel driver of this machine (which has none).

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "input/scripted_remotes.h"
#include "input/wiinput.h"
#include "input/xwiimote_backend.h"

namespace
{
class RecordingLog : public Ogre::LogListener
{
  public:
    void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel, bool, const Ogre::String&,
                       bool&) override
    {
        lines.push_back(message);
    }
    std::vector<std::string> lines;
};

class WiinputTest : public testing::Test
{
  protected:
    void SetUp() override { logManager.createLog("wiinput_test.log", true, false, true)->addListener(&log); }

    // Sets up a Wiinput over scripted remotes; returns how long setUp() took.
    std::chrono::milliseconds start(int found, int connected = -1)
    {
        auto backend = std::make_unique<ScriptedRemotes>(found, connected);
        remotes = backend.get();
        wiinput = std::make_unique<Wiinput>(std::move(backend));
        const auto begin = std::chrono::steady_clock::now();
        wiinput->setUp();
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                     begin);
    }

    void report(int remote, int32_t btns, float pitch = 0)
    {
        remotes->setReport(remote, btns, pitch);
        ASSERT_TRUE(remotes->waitUntilPolled());
    }

    Ogre::LogManager logManager;
    RecordingLog log;
    ScriptedRemotes* remotes = nullptr;
    std::unique_ptr<Wiinput> wiinput;
};
} // namespace

TEST_F(WiinputTest, EachConnectedRemoteIsGreetedLitAndPolledUntilShutDown)
{
    const auto setUpTime = start(2);
    EXPECT_GE(setUpTime.count(), 400) << "a 200 ms rumble per remote";
    EXPECT_EQ(log.lines, (std::vector<std::string>{"2 wiimotes found", "2 wiimotes connected"}));
    EXPECT_EQ(remotes->rumbleSwitches(1), 2) << "on, then off";
    EXPECT_EQ(remotes->leds(0), 16);
    EXPECT_EQ(remotes->leds(1), 32);
    report(1, WIIMOTE_BUTTON_A | WIIMOTE_BUTTON_B, 10.5f);
    wiinput->update(0.02);
    EXPECT_TRUE(wiinput->isHeld(1, WIIMOTE_BUTTON_A));
    EXPECT_FLOAT_EQ(wiinput->remote(1).orient.pitch, 10.5f);
    for (int32_t notOneButton : {0, WIIMOTE_BUTTON_A | WIIMOTE_BUTTON_B, -1})
        EXPECT_FALSE(wiinput->isHeld(1, notOneButton)) << notOneButton;

    // A ten-second pulse still running: the shut-down ends it rather than waiting it out.
    wiinput->rumble(0, 10);
    const auto begin = std::chrono::steady_clock::now();
    wiinput->shutDown();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
    EXPECT_TRUE(remotes->cleanedUp());
    EXPECT_FALSE(remotes->rumbling(0)) << "the thread switches rumble off as it ends";
    EXPECT_EQ(remotes->leds(1), 0);
    EXPECT_FALSE(wiinput->isHeld(1, WIIMOTE_BUTTON_A));
}

TEST_F(WiinputTest, RumblePulsesRunOnFrameTime)
{
    start(1);
    wiinput->rumble(0, 0.15);
    for (int update = 1; update <= 3; ++update)
    {
        wiinput->update(0.04);
        EXPECT_TRUE(remotes->rumbling(0)) << "update " << update;
    }
    wiinput->update(0.04);
    EXPECT_FALSE(remotes->rumbling(0)) << "0.16 s summed";

    // A pulse of no length must not leave the motor running with no timer to stop it.
    wiinput->rumble(0, 0.15);
    wiinput->rumble(0, 0);
    EXPECT_FALSE(remotes->rumbling(0));
    wiinput->rumble(0, -1);
    wiinput->update(0.04);
    EXPECT_FALSE(remotes->rumbling(0));
}

// Under a polling thread that rewrites the report all the time, every frame still sees one whole report
// (button word and pitch from the same poll), and presses are counted once each. Run under
// ThreadSanitizer, this also checks the sharing itself.
TEST_F(WiinputTest, EveryFrameReadsOneWholeReportWhileTheThreadPolls)
{
    start(1);
    std::atomic<bool> done{false};
    std::thread script(
        [&]
        {
            for (int k = 0; !done; ++k)
            {
                const bool held = k % 2 == 0;
                remotes->setReport(0, held ? WIIMOTE_BUTTON_TWO : 0, held ? 20.0f : -20.0f);
                std::this_thread::sleep_for(std::chrono::microseconds(300));
            }
        });
    int presses = 0;
    bool wasHeld = false;
    for (int frame = 0; frame < 2000; ++frame)
    {
        wiinput->update(0.001);
        const bool held = wiinput->isHeld(0, WIIMOTE_BUTTON_TWO);
        const float pitch = wiinput->remote(0).orient.pitch;
        ASSERT_EQ(held, pitch > 0) << "frame " << frame << " mixed two reports";
        EXPECT_EQ(wiinput->wasPressed(0, WIIMOTE_BUTTON_TWO), held && !wasHeld);
        presses += wiinput->wasPressed(0, WIIMOTE_BUTTON_TWO);
        wasHeld = held;
        if (frame % 100 == 0)
            wiinput->rumble(0, 0.05);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    done = true;
    script.join();
    EXPECT_GT(presses, 0);
}

TEST_F(WiinputTest, WithoutRemotesTheKernelDriverBackendSetsUpAndLogsNothing)
{
    wiinput = std::make_unique<Wiinput>(std::make_unique<XwiimoteBackend>());
    wiinput->setUp();
    EXPECT_EQ(wiinput->connected(), 0);
    EXPECT_TRUE(log.lines.empty());
    wiinput->update(0.02);
    wiinput->rumble(0, 0.15);
    EXPECT_FALSE(wiinput->isHeld(0, WIIMOTE_BUTTON_TWO));
}
