#pragma once

#include "world/decoracio.h"

namespace Ogre
{
class AnimationState;
class SceneNode;
} // namespace Ogre

// A butterfly resting in the level that flutters once whenever a player passes within 5 units of it
// (horizontally), and again only after the flutter has ended. Size, colour, speed and facing are random.
class Butterfly : public Decoracio
{
  public:
    explicit Butterfly(const Ogre::Vector3& position);
    void update(const std::vector<Ogre::Vector3>& playerPositions, double frameTime) override;

  private:
    double mAnimationSpeed;
    Ogre::AnimationState* mFlight = nullptr;
    Ogre::SceneNode* mNode = nullptr;
};
