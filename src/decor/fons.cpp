#include "decor/fons.h"

#include <Ogre.h>
#include <OgreRectangle2D.h>

#include "core/access_points.h"

namespace
{
constexpr double wideSkyAspect = 40.0 / 29.0;
}

Fons::Fons() : mSky(std::make_unique<Ogre::Rectangle2D>(true))
{
    mSky->setCorners(-1, 1, 1, -1);
    const char* picture = theCamera->getAspectRatio() > wideSkyAspect ? "wcel" : "cel";
    const Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(picture);
    if (!material)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, std::string("No sky material ") + picture, "Fons");
    mSky->setMaterial(material);
    mSky->setRenderQueueGroup(Ogre::RENDER_QUEUE_BACKGROUND);
    Ogre::AxisAlignedBox everywhere;
    everywhere.setInfinite();
    mSky->setBoundingBox(everywhere);
    theSceneManager->getRootSceneNode()->createChildSceneNode("Background")->attachObject(mSky.get());
}

Fons::~Fons() = default;

void Fons::update(const std::vector<Ogre::Vector3>&, double) {}
