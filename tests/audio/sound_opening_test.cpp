// The sound device opened on a thread of its own while the game starts: the same manager as one opened
// in line, and a start that fails before collecting it still closes it.

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "audio/sound_manager.h"
#include "audio_fixture.h"

namespace
{
using SoundOpening = AudioTest;

bool anyOpenAlError(const std::vector<std::string>& messages)
{
    return std::any_of(messages.begin(), messages.end(),
                       [](const std::string& message) { return message.find("OpenAL error") == 0; });
}
} // namespace

TEST_F(SoundOpening, ADeviceOpenedOnItsOwnThreadLendsThePoolAsOneOpenedInLine)
{
    SoundManager::instance().startOpening();
    // A second call while the first is under way changes nothing.
    SoundManager::instance().startOpening();
    ASSERT_TRUE(startEngine());
    SoundManager& manager = SoundManager::instance();
    EXPECT_TRUE(manager.isOpen());
    EXPECT_TRUE(manager.initialise());
    for (int i = 0; i < SoundManager::poolSize; ++i)
        EXPECT_NE(manager.acquireSource(), 0u);
    EXPECT_EQ(manager.acquireSource(), 0u);
    EXPECT_FALSE(anyOpenAlError(logged()));
}

TEST_F(SoundOpening, ShuttingDownWaitsForAnOpeningNeverCollectedAndTheNextManagerOpensAgain)
{
    SoundManager::instance().startOpening();
    SoundManager::shutdown();
    EXPECT_EQ(SoundManager::existing(), nullptr);
    ASSERT_TRUE(startEngine());
    EXPECT_TRUE(SoundManager::instance().isOpen());
}

// Without a device the thread's failure is reported once, by initialise(), on the calling thread.
TEST_F(SoundOpening, WithoutADeviceTheFailureIsLoggedOnceWhenCollected)
{
    if (!runningAsChild())
    {
        EXPECT_EQ(runAsChild({"ALSOFT_DRIVERS=no-such-backend"}), 0);
        return;
    }
    SoundManager::instance().startOpening();
    EXPECT_FALSE(startEngine());
    EXPECT_FALSE(SoundManager::instance().isOpen());
    EXPECT_EQ(std::count(logged().begin(), logged().end(), "OpenAL error: Could not init OpenAL.\n"), 1);
    EXPECT_EQ(SoundManager::instance().acquireSource(), 0u);
}
