#pragma once

#include "world/decoracio.h"

namespace Ogre
{
class AnimationState;
class SceneNode;
} // namespace Ogre

// Birds crossing the far background. At most one bird sets off per interval, from beyond one edge of the
// view, high and far behind the level, and flies across at its own speed, climbing or sinking a little.
// A bird that has left the view waits there for its next flight. The number of birds is fixed at
// construction: trunc(10 / interval), at least one.
class BirdEmitter : public Decoracio
{
  public:
    // interval: seconds between two departures.
    explicit BirdEmitter(double interval);
    void update(const std::vector<Ogre::Vector3>& playerPositions, double frameTime) override;

  private:
    struct Bird
    {
        Ogre::AnimationState* flap = nullptr;
        Ogre::SceneNode* node = nullptr;
        double direction = 1.0; // +1 towards +x, -1 towards -x
        double speed = 30.0;    // units per second
        double climb = 0.0;     // units per second
    };

    void startFlight(Bird& bird, int index, Ogre::Real range);

    int mFixedDirection = 0; // 0: each flight picks its own direction
    double mSpawnTimer;      // seconds until the next bird may set off
    double mInterval;
    std::vector<Bird> mBirds;
};
