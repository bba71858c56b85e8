#include "scenes/scene_lights.h"

#include <Ogre.h>

#include "core/access_points.h"
#include "core/unique_name.h"

namespace
{
const Ogre::ColourValue skyAmbient(0.6f, 0.7f, 0.85f);
const Ogre::ColourValue grey(0.5f, 0.5f, 0.5f);

Ogre::Light* greyLight(Ogre::Light::LightTypes type)
{
    Ogre::Light* light = theSceneManager->createLight(uniqueName());
    light->setType(type);
    light->setDiffuseColour(grey);
    light->setSpecularColour(grey);
    light->setAttenuation(8000, 1, 0.0005f, 0);
    return light;
}
} // namespace

void addDaylight()
{
    theSceneManager->setAmbientLight(skyAmbient);
    Ogre::SceneNode* root = theSceneManager->getRootSceneNode();
    Ogre::SceneNode* sunNode = root->createChildSceneNode();
    sunNode->setDirection(Ogre::Vector3(4, -5, 8), Ogre::Node::TS_WORLD);
    sunNode->attachObject(greyLight(Ogre::Light::LT_DIRECTIONAL));
    root->createChildSceneNode(Ogre::Vector3(2000, 600, 200))->attachObject(greyLight(Ogre::Light::LT_POINT));
}

void addTitleLight()
{
    theSceneManager->setAmbientLight(skyAmbient);
    Ogre::Light* light = theSceneManager->createLight(uniqueName());
    light->setDiffuseColour(Ogre::ColourValue(0.9f, 0.95f, 0.95f));
    theSceneManager->getRootSceneNode()
        ->createChildSceneNode(Ogre::Vector3(-1000, 1200, 0))
        ->attachObject(light);
}
