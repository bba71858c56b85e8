// The input state driven headless: scripted keys and scripted remotes, one update per frame.

#include <memory>

#include <gtest/gtest.h>

#include "input/input_state.h"
#include "input/scripted_remotes.h"

namespace
{
class InputStateTest : public testing::Test
{
  protected:
    // remoteCount: remotes that connect at construction (0: keyboard only).
    void start(int remoteCount)
    {
        auto keySource = std::make_unique<ScriptedKeys>();
        keys = keySource.get();
        std::unique_ptr<ScriptedRemotes> remoteSource;
        if (remoteCount > 0)
        {
            remoteSource = std::make_unique<ScriptedRemotes>(remoteCount);
            remotes = remoteSource.get();
        }
        input = std::make_unique<InputState>(std::move(keySource), std::move(remoteSource));
    }

    void frames(int count, double frameTime = 0.02)
    {
        for (int i = 0; i < count; ++i)
            input->update(frameTime);
    }

    // Gives the polling threads the scripted report before the next frame.
    void remoteReport(int remote, int32_t btns, float pitch = 0)
    {
        remotes->setReport(remote, btns, pitch);
        ASSERT_TRUE(remotes->waitUntilPolled());
    }

    ScriptedKeys* keys = nullptr;
    ScriptedRemotes* remotes = nullptr;
    std::unique_ptr<InputState> input;
};
} // namespace

TEST_F(InputStateTest, AHeldKeyIsPressedOnlyInItsFirstFrameAndAgainAfterRelease)
{
    start(0);
    keys->press(OIS::KC_RETURN);
    frames(1);
    EXPECT_TRUE(input->wasPressed(1, action::accept));
    EXPECT_TRUE(input->isDown(1, action::accept));
    for (int frame = 0; frame < 20; ++frame)
    {
        frames(1);
        EXPECT_FALSE(input->wasPressed(1, action::accept)) << "frame " << frame;
        EXPECT_TRUE(input->isDown(1, action::accept));
    }
    keys->release(OIS::KC_RETURN);
    frames(1);
    EXPECT_FALSE(input->isDown(1, action::accept));
    EXPECT_FALSE(input->wasPressed(1, action::accept));
    keys->press(OIS::KC_RETURN);
    frames(1);
    EXPECT_TRUE(input->wasPressed(1, action::accept));
}

TEST_F(InputStateTest, KeysMapToEachPlayersActionsAndSharedKeysReportEveryAction)
{
    start(0);
    keys->press(OIS::KC_W);
    frames(1);
    EXPECT_TRUE(input->wasPressed(1, action::menuUp));
    EXPECT_TRUE(input->wasPressed(1, action::jump));
    EXPECT_FALSE(input->isDown(2, action::menuUp));
    EXPECT_FALSE(input->isDown(2, action::jump));

    keys->releaseAll();
    keys->press(OIS::KC_LEFT);
    frames(1);
    EXPECT_TRUE(input->isDown(2, action::menuLeft));
    EXPECT_TRUE(input->isDown(2, action::moveLeft));
    EXPECT_TRUE(input->wasPressed(2, action::moveLeft));
    EXPECT_FALSE(input->isDown(1, action::moveLeft));
    EXPECT_TRUE(input->isDown(0, action::moveLeft)) << "player 0 is either player";
    EXPECT_TRUE(input->wasPressed(0, action::menuLeft));
}

TEST_F(InputStateTest, EscapeIsBackForBothPlayersAndUnboundOrUnknownActionsAreNeverDown)
{
    start(0);
    keys->press(OIS::KC_ESCAPE);
    frames(1);
    EXPECT_TRUE(input->wasPressed(0, action::back));
    EXPECT_TRUE(input->wasPressed(1, action::back));
    EXPECT_TRUE(input->wasPressed(2, action::back));

    // Player 2 has no music key: no key code, not even "unassigned", triggers it.
    keys->releaseAll();
    for (int code = 0; code < 256; ++code)
        keys->press(static_cast<OIS::KeyCode>(code));
    frames(1);
    EXPECT_FALSE(input->isDown(2, action::musicToggle));
    EXPECT_FALSE(input->wasPressed(2, action::musicToggle));
    EXPECT_TRUE(input->isDown(1, action::musicToggle));
    for (int player : {-1, 3})
    {
        EXPECT_FALSE(input->isDown(player, action::jump));
        EXPECT_EQ(input->tilt(player), 0.0f);
    }
    for (int action : {-1, 12})
    {
        EXPECT_FALSE(input->isDown(0, action));
        EXPECT_FALSE(input->wasPressed(1, action));
    }
}

TEST_F(InputStateTest, TiltKeysMoveAHundredDegreesPerSecondWithinThirtyFive)
{
    start(0);
    keys->press(OIS::KC_E);
    frames(17);
    EXPECT_FLOAT_EQ(input->tilt(1), 34.0f) << "0.34 s";
    frames(1);
    EXPECT_FLOAT_EQ(input->tilt(1), 35.0f) << "0.36 s";
    frames(7);
    EXPECT_FLOAT_EQ(input->tilt(1), 35.0f) << "0.5 s";
    EXPECT_FLOAT_EQ(input->tilt(2), 0.0f);

    // Both keys together hold the tilt where it is.
    keys->press(OIS::KC_Q);
    frames(10);
    EXPECT_FLOAT_EQ(input->tilt(1), 35.0f);
    keys->release(OIS::KC_E);
    frames(10);
    EXPECT_NEAR(input->tilt(1), 15.0f, 1e-4);
    frames(30);
    EXPECT_FLOAT_EQ(input->tilt(1), -35.0f);

    keys->releaseAll();
    keys->press(OIS::KC_K);
    frames(5, 0.04);
    EXPECT_NEAR(input->tilt(2), -20.0f, 1e-4);
    EXPECT_FLOAT_EQ(input->tilt(1), -35.0f) << "a released key leaves the tilt where it is";
}

TEST_F(InputStateTest, WithOneRemotePlayerOneUsesItAndPlayerTwoTheKeyboard)
{
    start(1);
    EXPECT_TRUE(input->usesRemote(1));
    EXPECT_FALSE(input->usesRemote(2));

    remoteReport(0, WIIMOTE_BUTTON_PLUS);
    frames(1);
    EXPECT_TRUE(input->wasPressed(1, action::back));
    EXPECT_TRUE(input->wasPressed(0, action::back));
    EXPECT_FALSE(input->wasPressed(2, action::back));
    frames(1);
    EXPECT_FALSE(input->wasPressed(0, action::back));
    EXPECT_TRUE(input->isDown(1, action::back));

    // Held sideways: the d-pad turns a quarter.
    const struct
    {
        int32_t button;
        int actions[2];
    } dpad[] = {{WIIMOTE_BUTTON_RIGHT, {action::menuUp, action::menuUp}},
                {WIIMOTE_BUTTON_LEFT, {action::menuDown, action::menuDown}},
                {WIIMOTE_BUTTON_DOWN, {action::menuRight, action::moveRight}},
                {WIIMOTE_BUTTON_UP, {action::menuLeft, action::moveLeft}},
                {WIIMOTE_BUTTON_TWO, {action::jump, action::accept}}};
    for (const auto& entry : dpad)
    {
        remoteReport(0, entry.button);
        frames(1);
        for (int action : entry.actions)
        {
            EXPECT_TRUE(input->isDown(1, action)) << "button " << entry.button << " action " << action;
            EXPECT_TRUE(input->wasPressed(1, action)) << "button " << entry.button << " action " << action;
        }
    }

    // Player 1's keys do nothing now; player 2's do.
    remoteReport(0, 0);
    keys->press(OIS::KC_W);
    keys->press(OIS::KC_RETURN);
    keys->press(OIS::KC_UP);
    keys->press(OIS::KC_M);
    frames(1);
    EXPECT_FALSE(input->isDown(1, action::jump));
    EXPECT_FALSE(input->wasPressed(1, action::musicToggle));
    EXPECT_TRUE(input->wasPressed(2, action::jump));
    EXPECT_TRUE(input->wasPressed(2, action::accept));
    EXPECT_TRUE(input->wasPressed(0, action::accept)) << "player 2's Return";
}

TEST_F(InputStateTest, ARemotePlayersTiltIsItsPitchTruncatedAndHasNoKeyboardOnlyActions)
{
    start(1);
    remoteReport(0, 0x7fff, 20.7f);
    keys->press(OIS::KC_E);
    frames(3);
    EXPECT_FLOAT_EQ(input->tilt(1), -20.0f);
    for (int action : {action::tiltUp, action::tiltDown, action::musicToggle})
    {
        EXPECT_FALSE(input->isDown(1, action)) << action;
        EXPECT_FALSE(input->wasPressed(1, action)) << action;
    }
    remoteReport(0, 0, -12.9f);
    frames(1);
    EXPECT_FLOAT_EQ(input->tilt(1), 12.0f);
    remoteReport(0, 0, -80.0f);
    frames(1);
    EXPECT_FLOAT_EQ(input->tilt(1), 35.0f);
}

TEST_F(InputStateTest, WithTwoRemotesTheKeyboardHasNoEffect)
{
    start(2);
    EXPECT_TRUE(input->usesRemote(2));
    for (int code = 0; code < 256; ++code)
        keys->press(static_cast<OIS::KeyCode>(code));
    remoteReport(1, WIIMOTE_BUTTON_TWO);
    frames(1);
    EXPECT_TRUE(input->wasPressed(2, action::jump));
    EXPECT_FALSE(input->isDown(1, action::jump));
    EXPECT_FALSE(input->isDown(0, action::back));
    EXPECT_FLOAT_EQ(input->tilt(1), 0.0f);
}
