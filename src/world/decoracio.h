#pragma once

// Decorations: scenery that takes no part in the physics. Each lives in ManagedClass<Decoracio*> from
// construction to destruction; the scene that made them updates them every frame and deletes them all
// when it unloads. Decorations never destroy their engine objects: the scene clears the scene manager.

#include <vector>

#include <OgreVector.h>

#include "world/managed_class.h"

class Decoracio : public ManagedClass<Decoracio*>
{
  public:
    virtual ~Decoracio() = default;

    // Once per frame. playerPositions: the players' scene node positions; frameTime in seconds. Taken by
    // reference so that a frame with many decorations copies nothing.
    virtual void update(const std::vector<Ogre::Vector3>& playerPositions, double frameTime) = 0;

  protected:
    Decoracio() = default;
};
