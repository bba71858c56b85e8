#pragma once

// Platforms: the planks the players stand on. Each lives in ManagedClass<Platform*> from construction to
// destruction; the main scene updates them every frame and deletes them all when it unloads.

#include "world/managed_class.h"

class Platform : public ManagedClass<Platform*>
{
  public:
    virtual ~Platform() = default;

    // Once per frame, before the physics step. tilt: the tilt in degrees (within +-35) of the player
    // standing on the platform, 0 when nobody does; player: 1, 2 or 0; dt: frame time in seconds.
    virtual void update(float tilt, int player, float dt)
    {
        (void)tilt;
        (void)player;
        (void)dt;
    }

  protected:
    Platform() = default;
};
