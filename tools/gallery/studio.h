#pragma once

#include <OgreAxisAlignedBox.h>
#include <OgreImage.h>
#include <OgreQuaternion.h>

namespace Ogre
{
class Camera;
class RenderWindow;
class Root;
class SceneManager;
class SceneNode;
} // namespace Ogre

// Renders single pictures of the archive's models with the real GL render system: one orthographic
// camera, the game's ambient light and its two lights, a sky-coloured background. Owns nothing it did not
// create; clear() removes every model placed since the last call.
class Studio
{
  public:
    // window: a square render window whose size is the size of every picture.
    Studio(Ogre::Root& root, Ogre::RenderWindow& window);

    Ogre::SceneManager& scene() { return *mScene; }
    // A new node under the root for a model (at the origin, turned by orientation).
    Ogre::SceneNode* place(const Ogre::Quaternion& orientation = Ogre::Quaternion::IDENTITY);

    // Looks along direction at the box, framed with a little room, and returns the rendered picture.
    Ogre::Image shoot(const Ogre::AxisAlignedBox& box, const Ogre::Vector3& direction);
    // Looks along direction at centre with a view of the given height in world units.
    Ogre::Image shoot(const Ogre::Vector3& centre, const Ogre::Vector3& direction, float viewHeight);

    void clear();

  private:
    Ogre::Root& mRoot;
    Ogre::RenderWindow& mWindow;
    Ogre::SceneManager* mScene;
    Ogre::Camera* mCamera;
    Ogre::SceneNode* mCameraNode;
    int mPlaced = 0;
};
