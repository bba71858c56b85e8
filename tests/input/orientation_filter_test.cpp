#include <cmath>

#include <gtest/gtest.h>

#include "input/orientation_filter.h"

namespace
{
double degrees(double radians)
{
    return radians * 180.0 / M_PI;
}
} // namespace

TEST(OrientationFilter, PitchAndRollComeFromGravityInCalibratedUnits)
{
    OrientationFilter::Calibration calibration = {{10, 20, 30}, {110, 120, 130}};
    OrientationFilter lying(calibration);
    EXPECT_NEAR(lying.update(10, 20, 130).pitch, 0, 1e-4);
    EXPECT_NEAR(lying.orientation().roll, 0, 1e-4);

    // About 30 degrees nose up: y carries half of gravity, z the rest.
    OrientationFilter raised(calibration);
    EXPECT_NEAR(raised.update(10, 70, 30 + 87).pitch, degrees(std::atan2(0.5, 0.87)), 1e-3);
    OrientationFilter rolled(calibration);
    const WiimoteOrientation& o = rolled.update(10 + 50, 20, 30 + 50);
    EXPECT_NEAR(o.roll, 45, 1e-3);
    EXPECT_NEAR(o.pitch, 0, 1e-3);

    // Pitch counts x into the horizontal part: y = 0.5 g, x = 0.5 g, z = 0.7071 g.
    OrientationFilter both(OrientationFilter::kernelDriverCalibration);
    EXPECT_NEAR(both.update(50, 50, 71).pitch, degrees(std::atan2(0.5, std::hypot(0.5, 0.71))), 1e-3);
}

TEST(OrientationFilter, AnAxisOverOneGKeepsItsAngleAndValuesAreClamped)
{
    OrientationFilter filter(OrientationFilter::kernelDriverCalibration, 1.0f);
    filter.update(0, 50, 87);
    const float pitch = filter.orientation().pitch;
    // Shaken along y: pitch stays; roll, whose axis is within 1 g, follows.
    filter.update(70, 250, 70);
    EXPECT_FLOAT_EQ(filter.orientation().pitch, pitch);
    EXPECT_NEAR(filter.orientation().roll, 45, 1e-3);
    // x over 1 g keeps the roll but still counts, clamped to 1 g, in the pitch.
    filter.update(300, 100, 0);
    EXPECT_NEAR(filter.orientation().roll, 45, 1e-3);
    EXPECT_NEAR(filter.orientation().pitch, 45, 1e-3);
}

TEST(OrientationFilter, AnglesAreSmoothedFromTheFirstSample)
{
    OrientationFilter filter;
    EXPECT_NEAR(filter.update(0, 100, 0).pitch, 90, 1e-3) << "the first sample is taken as it is";
    EXPECT_NEAR(filter.update(0, 0, 100).pitch, 90 - 0.07 * 90, 1e-3);
    for (int i = 0; i < 200; ++i)
        filter.update(0, 0, 100);
    EXPECT_NEAR(filter.orientation().pitch, 0, 1e-3);
    filter.reset();
    EXPECT_NEAR(filter.update(0, -100, 0).pitch, -90, 1e-3);
}
