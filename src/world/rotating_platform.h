#pragma once

#include "world/platform.h"

// A plank that turns about an axle under the player who holds it, following that player's tilt.
class RotatingPlatform : public Platform
{
  public:
    // Axle at (x, y, z); the plank lies level, its centre placed from the axle by side.
    RotatingPlatform(float x, float y, float z, int length, PlankKind kind, bool invertTilt, AxleSide side);

    void update(float tilt, int player, float dt) override;

  private:
    bool mInvertTilt;
    // Turning rate per degree of error: 7 / length, so longer planks turn more slowly.
    double mRotationGain;
};
