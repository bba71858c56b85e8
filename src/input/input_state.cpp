#include "input/input_state.h"

#include <algorithm>
#include <cassert>

#include <OgreLogManager.h>

#include "core/access_points.h"
#include "input/gamepads.h"
#include "input/ois_keyboard.h"
#include "input/xwiimote_backend.h"

namespace
{
using OIS::KeyCode;

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

InputSources gameSources()
{
    assert(theRenderWindow && "the input state opens the keyboard of the game window");
    InputSources sources;
    sources.keys = std::make_unique<OisKeyboard>(*theRenderWindow);
    sources.remotes = std::make_unique<XwiimoteBackend>();
    sources.gamepads = std::make_unique<Gamepads>(basePath + "gamecontrollerdb.txt");
    const ControlsFile file = readControls(basePath + "controls.cfg");
    for (const std::string& problem : file.problems)
        Ogre::LogManager::getSingleton().logMessage(problem);
    sources.controls = file.controls;
    return sources;
}
} // namespace

InputState::InputState() : InputState(gameSources()) {}

InputState::InputState(InputSources sources)
    : mKeys(std::move(sources.keys)), mRemotes(std::move(sources.remotes)),
      mGamepads(std::move(sources.gamepads)), mControls(sources.controls)
{
    assert(mKeys);
    mRemotes.setUp();
    mUsesRemote[1] = mRemotes.connected() >= 1;
    mUsesRemote[2] = mRemotes.connected() >= 2;
    if (mGamepads)
        for (int player = 1; player <= playerCount; ++player)
            mGamepads->setMotionWanted(player - 1, mControls.tilt[player] == TiltSource::motion);
}

InputState::~InputState()
{
    mKeys.reset();
    mGamepads.reset();
    mRemotes.shutDown();
}

int32_t InputState::remoteButtonFor(int action)
{
    return isAction(action) ? remoteButtons[action] : 0;
}

bool InputState::usesRemote(int player) const
{
    return isPlayer(player) && mUsesRemote[player];
}

bool InputState::hasGamepad(int player) const
{
    return isPlayer(player) && mGamepads && mGamepads->reading(player - 1).connected;
}

void InputState::rumble(int player, double seconds)
{
    if (!isPlayer(player))
        return;
    if (mUsesRemote[player])
        mRemotes.rumble(player - 1, seconds);
    if (mGamepads)
        mGamepads->rumble(player - 1, seconds);
}

bool InputState::keyHeld(KeyCode key) const
{
    return key != OIS::KC_UNASSIGNED && mKeys->isKeyDown(key) && !(key == OIS::KC_RETURN && mReturnWithAlt);
}

bool InputState::sourceHeld(int player, int action) const
{
    const bool held = mUsesRemote[player]
                          ? remoteButtons[action] != 0 && mRemotes.isHeld(player - 1, remoteButtons[action])
                          : keyHeld(mControls.keys[player][action]);
    return held || mPads[player].isDown(action);
}

void InputState::update(double frameTime)
{
    mRemotes.update(frameTime);
    if (mGamepads)
    {
        mGamepads->update();
        for (int player = 1; player <= playerCount; ++player)
            mPads[player].update(mGamepads->reading(player - 1), mControls.tilt[player], frameTime);
    }
    mKeys->capture();
    updateFullScreenKeys();
    updateActions();
    for (int player = 1; player <= playerCount; ++player)
        updateTilt(player, frameTime);
}

void InputState::updateActions()
{
    for (int player = 1; player <= playerCount; ++player)
        for (int action = 0; action < actionCount; ++action)
        {
            const bool down = sourceHeld(player, action);
            mPressed[player][action] = down && !mDown[player][action];
            mDown[player][action] = down;
        }
}

void InputState::updateFullScreenKeys()
{
    const bool altHeld = mKeys->isKeyDown(OIS::KC_LMENU) || mKeys->isKeyDown(OIS::KC_RMENU);
    const bool returnHeld = mKeys->isKeyDown(OIS::KC_RETURN);
    // A Return that goes down while Alt is held belongs to the window until it is released, whenever Alt
    // is; one that went down alone stays the players' when Alt follows.
    if (!returnHeld)
        mReturnWithAlt = false;
    else if (!mReturnHeld)
        mReturnWithAlt = altHeld;
    mReturnHeld = returnHeld;
    const bool fullScreenKeys = mKeys->isKeyDown(OIS::KC_F11) || mReturnWithAlt;
    mFullScreenRequested = fullScreenKeys && !mFullScreenKeysDown;
    mFullScreenKeysDown = fullScreenKeys;
}

void InputState::updateTilt(int player, double frameTime)
{
    float base = 0;
    if (mUsesRemote[player])
    {
        // Whole degrees, truncated toward zero; held sideways, the remote's pitch is the steering
        // wheel's angle with the opposite sign of the tilt keys.
        base = -static_cast<float>(static_cast<int>(mRemotes.remote(player - 1).orient.pitch));
    }
    else
    {
        float& keyTilt = mKeyTilt[player];
        if (keyHeld(mControls.keys[player][action::tiltUp]))
            keyTilt += static_cast<float>(frameTime * keyTiltDegreesPerSecond);
        if (keyHeld(mControls.keys[player][action::tiltDown]))
            keyTilt -= static_cast<float>(frameTime * keyTiltDegreesPerSecond);
        keyTilt = std::clamp(keyTilt, -maxTiltDegrees, maxTiltDegrees);
        base = keyTilt;
    }
    mTilt[player] = std::clamp(base + mPads[player].tilt(), -maxTiltDegrees, maxTiltDegrees);
}

bool InputState::isDown(int player, int action) const
{
    if (player == 0)
        return isDown(1, action) || isDown(2, action);
    return isPlayer(player) && isAction(action) && mDown[player][action];
}

bool InputState::wasPressed(int player, int action) const
{
    if (player == 0)
        return wasPressed(1, action) || wasPressed(2, action);
    return isPlayer(player) && isAction(action) && mPressed[player][action];
}

float InputState::tilt(int player) const
{
    return isPlayer(player) ? mTilt[player] : 0.0f;
}
