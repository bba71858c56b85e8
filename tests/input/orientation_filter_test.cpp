#include <gtest/gtest.h>

#include "input/orientation_filter.h"

TEST(OrientationFilter, AnAxisOverOneGKeepsItsAngleAndAnglesAreSmoothedFromTheFirstSample)
{
    OrientationFilter unsmoothed(OrientationFilter::kernelDriverCalibration, 1.0f);
    unsmoothed.update(0, 50, 87);
    const float pitch = unsmoothed.orientation().pitch;
    // Shaken along y: pitch stays; roll, whose axis is within 1 g, follows.
    unsmoothed.update(70, 250, 70);
    EXPECT_FLOAT_EQ(unsmoothed.orientation().pitch, pitch);
    EXPECT_NEAR(unsmoothed.orientation().roll, 45, 1e-3);
    // x over 1 g keeps the roll but still counts, clamped to 1 g, in the pitch.
    unsmoothed.update(300, 100, 0);
    EXPECT_NEAR(unsmoothed.orientation().roll, 45, 1e-3);
    EXPECT_NEAR(unsmoothed.orientation().pitch, 45, 1e-3);

    OrientationFilter filter;
    EXPECT_NEAR(filter.update(0, 100, 0).pitch, 90, 1e-3) << "the first sample is taken as it is";
    EXPECT_NEAR(filter.update(0, 0, 100).pitch, 90 - 0.07 * 90, 1e-3);
    filter.reset();
    EXPECT_NEAR(filter.update(0, -100, 0).pitch, -90, 1e-3);
}
