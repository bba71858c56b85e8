// The input state driven headless: scripted keys and scripted remotes, one update per frame.

#include <memory>
#include <string>
#include <utility>

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
        InputSources sources;
        sources.keys = std::make_unique<ScriptedKeys>();
        keys = static_cast<ScriptedKeys*>(sources.keys.get());
        if (remoteCount > 0)
        {
            sources.remotes = std::make_unique<ScriptedRemotes>(remoteCount);
            remotes = static_cast<ScriptedRemotes*>(sources.remotes.get());
        }
        input = std::make_unique<InputState>(std::move(sources));
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
    // One letter a frame: P pressed (and down), d down, - up.
    std::string seen;
    for (const bool held : {true, true, true, false, true})
    {
        if (held)
            keys->press(OIS::KC_RETURN);
        else
            keys->release(OIS::KC_RETURN);
        frames(1);
        seen += input->wasPressed(1, action::accept) ? (input->isDown(1, action::accept) ? 'P' : '?')
                                                     : (input->isDown(1, action::accept) ? 'd' : '-');
    }
    EXPECT_EQ(seen, "Pdd-P");
}

TEST_F(InputStateTest, KeysMapToEachPlayersActionsAndOutOfRangeQueriesAreNeverDown)
{
    start(0);
    // W is both menu up and jump for player 1; the arrows are player 2's; player 0 is either player.
    keys->press(OIS::KC_W);
    keys->press(OIS::KC_LEFT);
    frames(1);
    EXPECT_TRUE(input->wasPressed(1, action::menuUp));
    EXPECT_TRUE(input->wasPressed(1, action::jump));
    EXPECT_FALSE(input->isDown(2, action::jump));
    EXPECT_TRUE(input->isDown(2, action::menuLeft));
    EXPECT_TRUE(input->wasPressed(2, action::moveLeft));
    EXPECT_FALSE(input->isDown(1, action::moveLeft));
    EXPECT_TRUE(input->wasPressed(0, action::moveLeft));
    EXPECT_TRUE(input->isDown(0, action::jump));

    keys->releaseAll();
    keys->press(OIS::KC_ESCAPE);
    frames(1);
    EXPECT_TRUE(input->wasPressed(1, action::back));
    EXPECT_TRUE(input->wasPressed(2, action::back));

    // Player 2 has no music key: no key code, not even "unassigned", triggers it.
    for (int code = 0; code < 256; ++code)
        keys->press(static_cast<OIS::KeyCode>(code));
    frames(1);
    EXPECT_FALSE(input->isDown(2, action::musicToggle));
    EXPECT_TRUE(input->isDown(1, action::musicToggle));
    const std::pair<int, int> outOfRange[] = {{-1, action::jump}, {3, action::jump}, {0, -1}, {1, 12}};
    for (const auto& [player, anAction] : outOfRange)
    {
        EXPECT_FALSE(input->isDown(player, anAction));
        EXPECT_FALSE(input->wasPressed(player, anAction));
    }
    EXPECT_EQ(input->tilt(-1), 0.0f);
    EXPECT_EQ(input->tilt(3), 0.0f);
}

TEST_F(InputStateTest, TiltKeysMoveAHundredDegreesPerSecondWithinThirtyFive)
{
    start(0);
    keys->press(OIS::KC_E);
    frames(17);
    EXPECT_FLOAT_EQ(input->tilt(1), 34.0f) << "0.34 s";
    frames(1);
    EXPECT_FLOAT_EQ(input->tilt(1), 35.0f) << "0.36 s";

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
    frames(1);
    EXPECT_FLOAT_EQ(input->tilt(1), -35.0f) << "a released key leaves the tilt where it is";
}

TEST_F(InputStateTest, WithOneRemotePlayerOneUsesItsButtonsAndPitchAndPlayerTwoTheKeyboard)
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

    // Held sideways: the d-pad turns a quarter; TWO is both jump and accept.
    remoteReport(0, WIIMOTE_BUTTON_DOWN | WIIMOTE_BUTTON_TWO);
    frames(1);
    for (int anAction : {action::menuRight, action::moveRight, action::jump, action::accept})
        EXPECT_TRUE(input->wasPressed(1, anAction)) << anAction;

    // Player 1's keys do nothing now; player 2's do.
    remoteReport(0, 0);
    keys->press(OIS::KC_W);
    keys->press(OIS::KC_UP);
    keys->press(OIS::KC_M);
    frames(1);
    EXPECT_FALSE(input->isDown(1, action::jump));
    EXPECT_FALSE(input->wasPressed(1, action::musicToggle));
    EXPECT_TRUE(input->wasPressed(2, action::jump));

    // The remote player's tilt is its pitch, truncated, negated and clamped; it has no tilt or music actions.
    remoteReport(0, 0x7fff, 20.7f);
    keys->press(OIS::KC_E);
    frames(3);
    EXPECT_FLOAT_EQ(input->tilt(1), -20.0f);
    for (int anAction : {action::tiltUp, action::tiltDown, action::musicToggle})
        EXPECT_FALSE(input->isDown(1, anAction) || input->wasPressed(1, anAction)) << anAction;
    remoteReport(0, 0, -12.9f);
    frames(1);
    EXPECT_FLOAT_EQ(input->tilt(1), 12.0f);
    remoteReport(0, 0, -80.0f);
    frames(1);
    EXPECT_FLOAT_EQ(input->tilt(1), 35.0f);
}

TEST_F(InputStateTest, F11AndReturnWithAltAskForFullScreenAndThatReturnNeverAccepts)
{
    start(0);
    // One letter a frame: F full screen requested, A accept pressed, a accept held, - neither.
    const auto seen = [&](std::initializer_list<std::initializer_list<OIS::KeyCode>> framesOfKeys)
    {
        std::string letters;
        for (const auto& held : framesOfKeys)
        {
            keys->releaseAll();
            for (OIS::KeyCode key : held)
                keys->press(key);
            frames(1);
            letters += input->fullScreenRequested()           ? 'F'
                       : input->wasPressed(0, action::accept) ? 'A'
                       : input->isDown(0, action::accept)     ? 'a'
                                                              : '-';
        }
        return letters;
    };
    using namespace OIS;
    EXPECT_EQ(seen({{KC_F11}, {KC_F11}, {}, {KC_F11}}), "F--F");
    // Alt first: full screen once, and that Return never accepts, even after Alt is let go.
    EXPECT_EQ(
        seen({{KC_LMENU}, {KC_LMENU, KC_RETURN}, {KC_LMENU, KC_RETURN}, {KC_RETURN}, {}, {KC_RETURN}, {}}),
        "-F---A-");
    EXPECT_EQ(seen({{KC_RMENU, KC_RETURN}, {}}), "F-");
    // Return first: it accepts, and Alt joining it changes nothing.
    EXPECT_EQ(seen({{KC_RETURN}, {KC_RETURN, KC_LMENU}, {}}), "Aa-");
}
