// Motion tilt fed a recording of a controller's sensors at 60 reports a second, made the way such
// controllers report: gravity on the accelerometer with noise, the turn rate on the gyroscope with noise
// and a constant bias.

#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "input/motion_tilt.h"

namespace
{
constexpr double frameSeconds = 1.0 / 60.0;
constexpr double gravity = 9.80665;
constexpr double radiansPerDegree = 3.14159265358979 / 180.0;

// A controller's pitch over time (degrees above the horizontal), sampled into sensor reports.
class Recording
{
  public:
    // Holds the current pitch for `seconds`.
    Recording& hold(double seconds) { return turnTo(mPitch, seconds); }
    // Turns at a steady rate to `degrees` over `seconds`.
    Recording& turnTo(double degrees, double seconds)
    {
        const int frames = static_cast<int>(std::lround(seconds / frameSeconds));
        const double rate = frames > 0 ? (degrees - mPitch) / frames : 0;
        for (int i = 0; i < frames; ++i)
        {
            mPitch += rate;
            const double pitch = mPitch * radiansPerDegree;
            MotionSample sample;
            sample.accel = {noise(0.08), static_cast<float>(gravity * std::cos(pitch) + noise(0.08)),
                            static_cast<float>(-gravity * std::sin(pitch) + noise(0.08))};
            sample.gyro = {
                static_cast<float>(rate * radiansPerDegree / frameSeconds + gyroBias + noise(0.01)),
                noise(0.01), noise(0.01)};
            samples.push_back(sample);
        }
        return *this;
    }

    std::vector<MotionSample> samples;

  private:
    float noise(double spread)
    {
        return static_cast<float>(std::normal_distribution<double>(0, spread)(mRandom));
    }

    // Radians per second: a gyroscope at rest never reads quite zero.
    static constexpr double gyroBias = 0.02;
    double mPitch = 0;
    std::mt19937 mRandom{7};
};

// Feeds the samples; returns the tilt after each.
std::vector<float> play(MotionTilt& tilt, const std::vector<MotionSample>& samples)
{
    std::vector<float> seen;
    for (const MotionSample& sample : samples)
    {
        tilt.update(sample, frameSeconds);
        seen.push_back(tilt.tilt());
    }
    return seen;
}
} // namespace

TEST(MotionTilt, FollowsThePitchFromLevelForwardsAndBackWithoutLagOrDrift)
{
    Recording recording;
    recording.hold(1).turnTo(20, 0.25).hold(2).turnTo(-20, 0.5).hold(10);
    MotionTilt tilt;
    const std::vector<float> seen = play(tilt, recording.samples);
    const auto at = [&](double seconds)
    { return seen.at(static_cast<std::size_t>(seconds / frameSeconds) - 1); };

    EXPECT_NEAR(at(1), 0, 0.5) << "the first pose is level";
    // The gyroscope carries a quick turn at once; smoothing the accelerometer alone would still be a third
    // of the way short here.
    EXPECT_NEAR(at(1.25), 20, 2) << "far edge raised";
    EXPECT_NEAR(at(3.25), 20, 0.5);
    EXPECT_NEAR(at(3.75), -20, 2) << "far edge lowered";
    // Ten seconds of gyroscope bias are cancelled by the accelerometer.
    EXPECT_NEAR(at(13.75), -20, 0.5);
}

TEST(MotionTilt, TakesTheFirstPoseWithGravityAsLevelAndIgnoresAShake)
{
    // A controller that has not reported yet reads all zeros; then it is held with its far edge 30
    // degrees up, the way hands hold it, which is level, and lowered to 10.
    MotionTilt tilt;
    play(tilt, std::vector<MotionSample>(5));
    EXPECT_EQ(tilt.tilt(), 0);
    Recording held;
    held.turnTo(30, frameSeconds).hold(1).turnTo(10, 0.5).hold(1);
    EXPECT_NEAR(play(tilt, held.samples).back(), -20, 0.5);

    // Three g along z for one report: the controller is shaken, not turned.
    MotionSample shaken = held.samples.back();
    shaken.accel[2] = static_cast<float>(3 * gravity);
    tilt.update(shaken, frameSeconds);
    EXPECT_NEAR(tilt.tilt(), -20, 0.5);
}
