#pragma once

// One player's game controller as the game reads it: the last reading of its buttons, sticks, triggers
// and motion sensors turned into the player's actions and an analog tilt.
//
//   d-pad or left stick    move, and navigate menus (menu up/down/left/right, move left/right)
//   south (A, cross)       jump and accept
//   east (B, circle)       back
//   Start                  pause (back)
//   Select (Back, Share)   while held, the current pose is level for motion tilt
//   tilt, by TiltSource    right stick up, right trigger, or raising the far edge: tilt up
//
// Buttons are positional: south is the bottom face button whatever its label says.

#include <array>

#include "input/actions.h"
#include "input/controls.h"
#include "input/motion_tilt.h"

enum class PadButton
{
    south,
    east,
    start,
    select,
    dpadUp,
    dpadDown,
    dpadLeft,
    dpadRight
};
constexpr int padButtonCount = 8;

// What a controller reported at the last update.
struct PadReading
{
    // False while no controller is in the slot; everything else is then at rest.
    bool connected = false;
    // Indexed by PadButton.
    std::array<bool, padButtonCount> buttons{};
    // Sticks from -1 to 1, x to the right and y up; triggers from 0 (released) to 1.
    float leftX = 0;
    float leftY = 0;
    float rightY = 0;
    float leftTrigger = 0;
    float rightTrigger = 0;
    // Only when the controller has both an accelerometer and a gyroscope and they are switched on.
    bool hasMotion = false;
    MotionSample motion;

    bool held(PadButton button) const { return buttons[static_cast<int>(button)]; }
};

// One stick axis as two buttons, with a dead zone and hysteresis: a direction goes down when the axis
// passes 25 % of its travel that way and up again when it falls below 15 %. A stick resting off centre
// never presses; a held stick that wobbles around the threshold gives one press, like a key.
class StickButtons
{
  public:
    static constexpr float pressAt = 0.25f;
    static constexpr float releaseBelow = 0.15f;

    // value from -1 to 1.
    void update(float value);
    bool negative() const { return mNegative; }
    bool positive() const { return mPositive; }

  private:
    bool mNegative = false;
    bool mPositive = false;
};

class PadPlayer
{
  public:
    // Analog input within this part of its travel reads as none, so a worn stick or trigger rests level;
    // past it the tilt grows linearly to full at the end of the travel.
    static constexpr float analogDeadZone = 0.1f;
    // Tilt of a stick or trigger pushed all the way, in degrees.
    static constexpr float fullTiltDegrees = 35;

    // Once per frame, with the controller's reading for this frame; frameTime in seconds. The motion
    // source falls back to the stick on a controller without motion sensors.
    void update(const PadReading& reading, TiltSource source, double frameTime);
    // The action is held on the controller. Tilt and music actions never are.
    bool isDown(int action) const { return action >= 0 && action < action::count && mDown[action]; }
    // Degrees, within [-35, 35] for the stick and triggers; motion tilt is not bounded here.
    float tilt() const { return mTilt; }

  private:
    float analogTilt(const PadReading& reading, TiltSource source) const;

    StickButtons mStickX;
    StickButtons mStickY;
    MotionTilt mMotion;
    std::array<bool, action::count> mDown{};
    float mTilt = 0;
};
