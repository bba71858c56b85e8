#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "world/decoracio.h"

namespace Ogre
{
class SceneNode;
}

// A row of clouds drifting towards -x over `length` units starting at `origin`, at four slightly different
// speeds. A cloud that has drifted past the far end jumps back to the origin once the camera is more than
// 100 units away from it, so nobody sees it jump. A cloud is drawn only inside the outline of its picture's
// visible part (pictureOutline), facing the camera as it is when the row is made.
class CloudEmitter : public Decoracio
{
  public:
    // length in world units; scale of each cloud (1 = a picture 100 units wide); speed in units per second;
    // spacing in units between clouds at that speed (the row holds trunc(length / speed / spacing) clouds).
    CloudEmitter(const Ogre::Vector3& origin, int length, const std::string& material, double scale,
                 double speed, double spacing);
    void update(const std::vector<Ogre::Vector3>& playerPositions, double frameTime) override;

  private:
    Ogre::Vector3 homeOf(std::size_t index) const;

    Ogre::Vector3 mOrigin;
    int mDirection = -1;
    int mLength;
    double mSpacing;
    double mSpeed;
    // Clouds of one speed hang under one group node, which carries them all: moving four groups a frame
    // costs far less than moving every cloud. Cloud i belongs to group i % speedClasses and drifts at
    // (i % speedClasses + speed) units per second.
    static constexpr std::size_t speedClasses = 4;
    Ogre::SceneNode* mGroups[speedClasses] = {};
    std::vector<Ogre::SceneNode*> mClouds;
};
