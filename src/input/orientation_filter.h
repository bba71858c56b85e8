#pragma once

#include <cstdint>

#include "input/remote_backend.h"

// Roll and pitch of a remote, in degrees, from its accelerometer, the way the classic remote library
// computes them:
//   g      = (raw - zero) / (oneG - zero) per axis, clamped to [-1, 1]
//   roll   = atan2(gx, gz)
//   pitch  = atan2(gy, sqrt(gx^2 + gz^2))
// An angle keeps its previous value while its own axis reads more than 1 g (the remote is being shaken,
// so gravity cannot be told from motion). Each angle is then smoothed exponentially:
//   smoothed = smoothed + smoothing * (angle - smoothed), the first sample taken as it is.
// Held sideways (d-pad on the left), pitch is the steering-wheel tilt.
class OrientationFilter
{
  public:
    // Raw readings at rest (zero) and at 1 g along each axis (x, y, z).
    struct Calibration
    {
        float zero[3];
        float oneG[3];
    };
    // The kernel driver reports each axis already centred on 0, about 100 units per g; it does not pass
    // on the remote's own calibration.
    static constexpr Calibration kernelDriverCalibration = {{0, 0, 0}, {100, 100, 100}};
    static constexpr float defaultSmoothing = 0.07f;

    explicit OrientationFilter(const Calibration& calibration = kernelDriverCalibration,
                               float smoothing = defaultSmoothing);

    // One accelerometer report; returns the smoothed orientation.
    const WiimoteOrientation& update(int32_t x, int32_t y, int32_t z);
    const WiimoteOrientation& orientation() const { return mSmoothed; }
    // Forgets the history: the next report is taken as it is.
    void reset();

  private:
    Calibration mCalibration;
    float mSmoothing;
    WiimoteOrientation mRaw;
    WiimoteOrientation mSmoothed;
    bool mHasSample = false;
};
