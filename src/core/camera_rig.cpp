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
