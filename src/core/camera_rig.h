#pragma once

namespace Ogre
{
class SceneNode;
class Quaternion;
} // namespace Ogre

// The one camera ("Cam0") is moved through a scene node of its own: the engine's direct camera placement
// calls are deprecated. Clearing the scene destroys every node, so a scene always takes the node from here
// when it sets the camera up or moves it; a new node is made and the camera attached to it when needed.
// Read the camera's world position with theCamera->getRealPosition().
Ogre::SceneNode& cameraNode();

// The camera's orientation in the world, up to date even before the scene graph's next update: what a
// picture turns to so that it faces the camera as a billboard does.
Ogre::Quaternion cameraFacing();
