#include "input/input_state.h"

#include <cassert>

#include "core/access_points.h"
#include "input/ois_keyboard.h"
#include "input/xwiimote_backend.h"

namespace
{
using OIS::KeyCode;

// Key of each action, per player (index 0 unused).
constexpr KeyCode keyBindings[3][InputState::actionCount] = {
    {},
    {OIS::KC_W, OIS::KC_S, OIS::KC_D, OIS::KC_A, OIS::KC_D, OIS::KC_A, OIS::KC_W, OIS::KC_ESCAPE,
     OIS::KC_RETURN, OIS::KC_E, OIS::KC_Q, OIS::KC_M},
    {OIS::KC_UP, OIS::KC_DOWN, OIS::KC_RIGHT, OIS::KC_LEFT, OIS::KC_RIGHT, OIS::KC_LEFT, OIS::KC_UP,
     OIS::KC_ESCAPE, OIS::KC_RETURN, OIS::KC_L, OIS::KC_K, OIS::KC_UNASSIGNED},
};

// The remote is held sideways, d-pad on the left: its RIGHT points up, LEFT down, DOWN right, UP left.
// The same for both players; tilt and music have no button.
constexpr int32_t remoteButtons[InputState::actionCount] = {
    WIIMOTE_BUTTON_RIGHT,
    WIIMOTE_BUTTON_LEFT,
    WIIMOTE_BUTTON_DOWN,
    WIIMOTE_BUTTON_UP,
    WIIMOTE_BUTTON_DOWN,
    WIIMOTE_BUTTON_UP,
    WIIMOTE_BUTTON_TWO,
    WIIMOTE_BUTTON_PLUS,
    WIIMOTE_BUTTON_TWO,
    0,
    0,
    0,
};

std::unique_ptr<KeySource> openGameKeyboard()
{
    assert(theRenderWindow && "the input state opens the keyboard of the game window");
    return std::make_unique<OisKeyboard>(*theRenderWindow);
}
} // namespace

InputState::InputState() : InputState(openGameKeyboard(), std::make_unique<XwiimoteBackend>()) {}

InputState::InputState(std::unique_ptr<KeySource> keys, std::unique_ptr<RemoteBackend> remotes)
    : mKeys(std::move(keys)), mRemotes(std::move(remotes))
{
    assert(mKeys);
    mRemotes.setUp();
    mUsesRemote[1] = mRemotes.connected() >= 1;
    mUsesRemote[2] = mRemotes.connected() >= 2;
}

InputState::~InputState()
{
    mKeys.reset();
    mRemotes.shutDown();
}

OIS::KeyCode InputState::keyFor(int player, int action)
{
    return isPlayer(player) && isAction(action) ? keyBindings[player][action] : OIS::KC_UNASSIGNED;
}

int32_t InputState::remoteButtonFor(int action)
{
    return isAction(action) ? remoteButtons[action] : 0;
}

bool InputState::usesRemote(int player) const
{
    return isPlayer(player) && mUsesRemote[player];
}

bool InputState::keyDown(int player, int action) const
{
    const KeyCode key = keyBindings[player][action];
    return key != OIS::KC_UNASSIGNED && mKeys->isKeyDown(key);
}

void InputState::update(double frameTime)
{
    mRemotes.update(frameTime);

    // Edge detection: down now, up at the previous capture.
    for (int player = 1; player <= 2; ++player)
        for (int action = 0; action < actionCount; ++action)
            mPressedFlags[player][action] = keyDown(player, action);
    mKeys->capture();
    for (int player = 1; player <= 2; ++player)
        for (int action = 0; action < actionCount; ++action)
            mPressedFlags[player][action] = !mPressedFlags[player][action] && keyDown(player, action);

    for (int player = 1; player <= 2; ++player)
    {
        float& tilt = mTilt[player];
        if (mUsesRemote[player])
        {
            // Whole degrees, truncated toward zero; held sideways, the remote's pitch is the steering
            // wheel's angle with the opposite sign of the tilt keys.
            tilt = -static_cast<float>(static_cast<int>(mRemotes.remote(player - 1).orient.pitch));
        }
        else
        {
            if (keyDown(player, action::tiltUp))
                tilt += static_cast<float>(frameTime * keyTiltDegreesPerSecond);
            if (keyDown(player, action::tiltDown))
                tilt -= static_cast<float>(frameTime * keyTiltDegreesPerSecond);
        }
        if (tilt > maxTiltDegrees)
            tilt = maxTiltDegrees;
        else if (tilt < -maxTiltDegrees)
            tilt = -maxTiltDegrees;
    }
}

bool InputState::isDown(int player, int action) const
{
    if (player == 0)
        return isDown(1, action) || isDown(2, action);
    if (!isPlayer(player) || !isAction(action))
        return false;
    if (mUsesRemote[player])
        return remoteButtons[action] != 0 && mRemotes.isHeld(player - 1, remoteButtons[action]);
    return keyDown(player, action);
}

bool InputState::wasPressed(int player, int action) const
{
    if (player == 0)
        return wasPressed(1, action) || wasPressed(2, action);
    if (!isPlayer(player) || !isAction(action))
        return false;
    if (mUsesRemote[player])
        return remoteButtons[action] != 0 && mRemotes.wasPressed(player - 1, remoteButtons[action]);
    return mPressedFlags[player][action];
}

float InputState::tilt(int player) const
{
    return isPlayer(player) ? mTilt[player] : 0.0f;
}
