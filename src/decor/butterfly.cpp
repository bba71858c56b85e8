#include "decor/butterfly.h"

#include <cmath>
#include <cstdlib>

#include <Ogre.h>

#include "core/access_points.h"
#include "core/unique_name.h"

namespace
{
constexpr float wakeDistance = 5.0f;
}

// The random draws come in a fixed order (speed, colour, size, facing): levels look the same every run.
Butterfly::Butterfly(const Ogre::Vector3& position) : mAnimationSpeed((std::rand() % 50) / 50.0 + 0.7)
{
    Ogre::Entity* entity = theSceneManager->createEntity(
        uniqueName(), "butterfly.mesh", Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME);
    if (std::rand() % 3 != 0)
        entity->setMaterialName("butterfly2");
    mNode = theSceneManager->getRootSceneNode()->createChildSceneNode();
    mNode->setPosition(position);
    const Ogre::Real scale = static_cast<Ogre::Real>(((std::rand() % 50) / 100.0 + 0.5) / 10.0);
    mNode->setScale(scale, scale, scale);
    const Ogre::Real facing = std::rand() % 2 ? 1 : -1;
    Ogre::Quaternion orientation(facing, 0, 1, 0);
    orientation.normalise();
    mNode->setOrientation(orientation);
    mNode->attachObject(entity);

    mFlight = entity->getAnimationState("moure");
    mFlight->setLoop(false);
    mFlight->setEnabled(true);
    mFlight->setTimePosition(mFlight->getLength());
}

void Butterfly::update(const std::vector<Ogre::Vector3>& playerPositions, double frameTime)
{
    mFlight->addTime(static_cast<Ogre::Real>(mAnimationSpeed * frameTime));
    const Ogre::Real x = mNode->getPosition().x;
    for (const Ogre::Vector3& player : playerPositions)
    {
        if (std::fabs(player.x - x) < wakeDistance && mFlight->hasEnded())
        {
            mFlight->setTimePosition(0);
            break;
        }
    }
}
