#include "input/pad_player.h"

#include <algorithm>
#include <cmath>

namespace
{
// 0 within the dead zone, then linear to 1 at the end of the travel; keeps the sign.
float beyondDeadZone(float value)
{
    const float magnitude = std::min(std::fabs(value), 1.0f);
    if (magnitude <= PadPlayer::analogDeadZone)
        return 0;
    return std::copysign((magnitude - PadPlayer::analogDeadZone) / (1 - PadPlayer::analogDeadZone), value);
}
} // namespace

void StickButtons::update(float value)
{
    const float positiveTravel = std::max(value, 0.0f);
    const float negativeTravel = std::max(-value, 0.0f);
    mPositive = mPositive ? positiveTravel >= releaseBelow : positiveTravel >= pressAt;
    mNegative = mNegative ? negativeTravel >= releaseBelow : negativeTravel >= pressAt;
}

void PadPlayer::update(const PadReading& reading, TiltSource source, double frameTime)
{
    if (!reading.connected)
    {
        *this = PadPlayer();
        return;
    }
    mStickX.update(reading.leftX);
    mStickY.update(reading.leftY);
    const bool up = reading.held(PadButton::dpadUp) || mStickY.positive();
    const bool down = reading.held(PadButton::dpadDown) || mStickY.negative();
    const bool right = reading.held(PadButton::dpadRight) || mStickX.positive();
    const bool left = reading.held(PadButton::dpadLeft) || mStickX.negative();
    mDown.fill(false);
    mDown[action::menuUp] = up;
    mDown[action::menuDown] = down;
    mDown[action::menuRight] = mDown[action::moveRight] = right;
    mDown[action::menuLeft] = mDown[action::moveLeft] = left;
    mDown[action::jump] = mDown[action::accept] = reading.held(PadButton::south);
    mDown[action::back] = reading.held(PadButton::east) || reading.held(PadButton::start);

    if (source == TiltSource::motion && reading.hasMotion)
    {
        mMotion.update(reading.motion, frameTime);
        if (reading.held(PadButton::select))
            mMotion.recentre();
        mTilt = mMotion.tilt();
    }
    else
    {
        mMotion.reset();
        mTilt = analogTilt(reading, source);
    }
}

float PadPlayer::analogTilt(const PadReading& reading, TiltSource source) const
{
    if (source == TiltSource::triggers)
        return fullTiltDegrees * (beyondDeadZone(reading.rightTrigger) - beyondDeadZone(reading.leftTrigger));
    return fullTiltDegrees * beyondDeadZone(reading.rightY);
}
