#pragma once

// Enemies: launchers of meteors (and the boss). Each lives in ManagedClass<Enemic*> from construction to
// destruction; the main scene updates them every frame and deletes them all when it unloads, and every
// player asks each of them whether it strikes the player.

#include <OgreAxisAlignedBox.h>
#include <OgreSphere.h>

#include "world/managed_class.h"

class Enemic : public ManagedClass<Enemic*>
{
  public:
    virtual ~Enemic() = default;

    // Once per frame, before the physics step; dt is the frame time in seconds.
    virtual void update(float dt) = 0;
    // True if one of the enemy's meteors lies in sphere (world units).
    virtual bool hitsSphere(Ogre::Sphere sphere) = 0;
    // True if one of the enemy's meteors lies in box (a player's world bounding box).
    virtual bool hitsBox(Ogre::AxisAlignedBox box) = 0;

  protected:
    Enemic() = default;
};
