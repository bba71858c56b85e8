#include "scenes/sky_scene.h"

#include <Ogre.h>

#include "core/access_points.h"

void SkyScene::load()
{
    theViewport->setBackgroundColour(Ogre::ColourValue(0.45f, 0.7f, 0.95f));
    theCamera->setNearClipDistance(1);
    theCamera->setFarClipDistance(10000);
}

void SkyScene::unload()
{
    theSceneManager->clearScene();
}
