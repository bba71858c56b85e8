#include "input/motion_tilt.h"

#include <cmath>

namespace
{
constexpr float degreesPerRadian = 57.29577951308232f;
constexpr float standardGravity = 9.80665f;
// Less than this much acceleration in all is no reading at all (or free fall), not a pose.
constexpr float leastGravity = 0.5f * standardGravity;
} // namespace

void MotionTilt::update(const MotionSample& sample, double frameTime)
{
    const auto& [x, y, z] = sample.accel;
    const float across = std::sqrt(x * x + y * y);
    // Gravity is in the sample, and the z axis is not over 1 g (shaken).
    const bool hasPitch =
        std::sqrt(across * across + z * z) >= leastGravity && std::fabs(z) <= standardGravity;
    if (hasPitch)
        mAccelPitch = std::atan2(-z, across) * degreesPerRadian;
    if (!mHasPose)
    {
        if (!hasPitch)
            return;
        mPitch = mAccelPitch;
        mLevel = mPitch;
        mHasPose = true;
        return;
    }
    mPitch += sample.gyro[0] * static_cast<float>(frameTime) * degreesPerRadian;
    mPitch += smoothing * (mAccelPitch - mPitch);
}

void MotionTilt::recentre()
{
    if (mHasPose)
        mLevel = mPitch;
}

void MotionTilt::reset()
{
    *this = MotionTilt();
}
