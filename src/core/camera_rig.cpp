#include "core/camera_rig.h"

#include <Ogre.h>

#include "core/access_points.h"

Ogre::SceneNode& cameraNode()
{
    Ogre::SceneNode* node = theCamera->getParentSceneNode();
    if (!node)
    {
        node = theSceneManager->getRootSceneNode()->createChildSceneNode();
        node->setFixedYawAxis(true);
        node->attachObject(theCamera);
    }
    return *node;
}

Ogre::Quaternion cameraFacing()
{
    // The camera hangs straight under its node, which hangs under the root: the node's own orientation is
    // the camera's, whereas the derived one waits for the graph's update.
    return cameraNode().getOrientation();
}
