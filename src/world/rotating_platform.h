#pragma once

#include "world/platform.h"

// A plank that turns about an axle under the player who holds it, following that player's tilt.
class RotatingPlatform : public Platform
{
  public:
    // Axle at (x, y, z); the plank lies level. side 1 ("L") puts the plank's centre a quarter of its
    // length towards -x from the axle, side 2 ("R") towards +x, 0 on the axle.
    RotatingPlatform(float x, float y, float z, int length, int kind, bool invertTilt, int side);

    void update(float tilt, int player, float dt) override;

  private:
    bool mInvertTilt;
    // Turning rate per degree of error: 7 / length, so longer planks turn more slowly.
    double mRotationGain;
};
