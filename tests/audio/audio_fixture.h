#pragma once

// Shared set-up of the audio tests: a scratch folder of generated sound files registered as the engine's
// only resource location, a headless engine whose log the test can read, and the sound manager, shut
// down after each test.

#include <memory>
#include <string>
#include <vector>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "platform/headless_engine.h"

class AudioTest : public testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the engine on the scratch folder (write the files first: the folder is indexed now) and
    // initialises the sound manager; returns its answer.
    bool startEngine(const std::string& extraLocation = "");
    std::string file(const std::string& name) const { return mDir + "/" + name; }
    // Every message the engine log received since the sound manager was initialised.
    const std::vector<std::string>& logged() const { return mLog.messages; }
    bool wasLogged(const std::string& message) const;

  private:
    struct Recorder : Ogre::LogListener
    {
        std::vector<std::string> messages;
        void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel, bool, const Ogre::String&,
                           bool&) override
        {
            messages.push_back(message);
        }
    };

    std::string mDir;
    Recorder mLog;
    std::unique_ptr<platform::HeadlessEngine> mEngine;
};

// Some conditions (the sound backend, its configuration) are read once per process by OpenAL. A test that
// needs its own runs its body in a fresh copy of the test executable with extra environment variables:
//     if (!runningAsChild()) { EXPECT_EQ(runAsChild({"ALSOFT_DRIVERS=wave"}), 0); return; }
bool runningAsChild();
// Runs the current test alone in a child process; returns its exit code (0: the test passed there).
int runAsChild(const std::vector<std::string>& environment);
