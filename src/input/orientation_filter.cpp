#include "input/orientation_filter.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float degreesPerRadian = 57.29577951308232f;
}

OrientationFilter::OrientationFilter(const Calibration& calibration, float smoothing)
    : mCalibration(calibration), mSmoothing(smoothing)
{
}

const WiimoteOrientation& OrientationFilter::update(int32_t x, int32_t y, int32_t z)
{
    const int32_t raw[3] = {x, y, z};
    float g[3];
    bool overOneG[3];
    for (int axis = 0; axis < 3; ++axis)
    {
        const float range = mCalibration.oneG[axis] - mCalibration.zero[axis];
        const float value = (static_cast<float>(raw[axis]) - mCalibration.zero[axis]) / range;
        overOneG[axis] = std::fabs(value) > 1.0f;
        g[axis] = std::clamp(value, -1.0f, 1.0f);
    }
    if (!overOneG[0])
        mRaw.roll = std::atan2(g[0], g[2]) * degreesPerRadian;
    if (!overOneG[1])
        mRaw.pitch = std::atan2(g[1], std::sqrt(g[0] * g[0] + g[2] * g[2])) * degreesPerRadian;

    if (!mHasSample)
    {
        mSmoothed = mRaw;
        mHasSample = true;
    }
    else
    {
        mSmoothed.roll += mSmoothing * (mRaw.roll - mSmoothed.roll);
        mSmoothed.pitch += mSmoothing * (mRaw.pitch - mSmoothed.pitch);
    }
    return mSmoothed;
}

void OrientationFilter::reset()
{
    mRaw = WiimoteOrientation();
    mSmoothed = WiimoteOrientation();
    mHasSample = false;
}
