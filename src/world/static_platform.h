#pragma once

#include "world/platform.h"

// A plank welded to a static anchor: it never moves, shows no particles and keeps its colour.
class StaticPlatform : public Platform
{
  public:
    // Centre (x, y, z), length in units, roll in degrees.
    StaticPlatform(float x, float y, float z, int length, PlankKind kind, double angleDegrees);
};
