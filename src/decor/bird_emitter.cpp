#include "decor/bird_emitter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <Ogre.h>

#include "core/access_points.h"
#include "core/unique_name.h"

BirdEmitter::BirdEmitter(double interval) : mSpawnTimer(interval), mInterval(interval)
{
    const int count = std::max(1, static_cast<int>(10.0 / interval));
    mBirds.resize(static_cast<std::size_t>(count));
    Ogre::Quaternion sideways(1, 0, 1, 0);
    sideways.normalise();
    for (Bird& bird : mBirds)
    {
        Ogre::Entity* entity = theSceneManager->createEntity(
            uniqueName(), "bird.mesh", Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME);
        bird.node = theSceneManager->getRootSceneNode()->createChildSceneNode();
        bird.node->setScale(0.5f, 0.5f, 0.5f);
        bird.node->setOrientation(sideways);
        bird.node->attachObject(entity);
        bird.node->setVisible(false, true);
        bird.flap = entity->getAnimationState("moure");
        bird.flap->setLoop(true);
        bird.flap->setEnabled(true);
    }
}

void BirdEmitter::startFlight(Bird& bird, int index, Ogre::Real range)
{
    mSpawnTimer = mInterval;
    const int direction = mFixedDirection != 0 ? mFixedDirection : (std::rand() % 2 == 1 ? -1 : 1);
    bird.node->setVisible(true, true);
    bird.flap->setTimePosition(static_cast<Ogre::Real>(1 / (index + 1)));
    const Ogre::Vector3 camera = theCamera->getRealPosition();
    const Ogre::Real x = camera.x - static_cast<Ogre::Real>(direction) * (range + std::rand() % 30);
    const Ogre::Real y = camera.y + 20 + std::rand() % 10;
    const Ogre::Real z = camera.z + 300 + std::rand() % 100;
    bird.node->setPosition(x, y, z);
    Ogre::Quaternion heading(static_cast<Ogre::Real>(-direction), 0, 1, 0);
    heading.normalise();
    bird.node->setOrientation(heading);
    bird.node->yaw(Ogre::Degree(static_cast<Ogre::Real>(std::rand() % 70 - 30)), Ogre::Node::TS_LOCAL);
    bird.direction = direction;
    bird.speed = 10 + 5 * (std::rand() % 6);
    bird.climb = std::rand() % 6 - 4;
}

void BirdEmitter::update(const std::vector<Ogre::Vector3>&, double frameTime)
{
    // A timer that lands exactly on zero must still run out on a later frame, or no bird would ever fly
    // again; only a timer below zero lets a bird set off.
    if (mSpawnTimer >= 0)
        mSpawnTimer -= frameTime;
    const Ogre::Real range = theCamera->getOrthoWindowWidth() * 0.5f;
    const Ogre::Real cameraX = theCamera->getRealPosition().x;
    for (std::size_t k = 0; k < mBirds.size(); ++k)
    {
        Bird& bird = mBirds[k];
        bird.flap->addTime(static_cast<Ogre::Real>(frameTime));
        if (std::fabs(bird.node->getPosition().x - cameraX) > range && mSpawnTimer < 0)
            startFlight(bird, static_cast<int>(k), range);
        else
            bird.node->translate(static_cast<Ogre::Real>(bird.speed * bird.direction * frameTime),
                                 static_cast<Ogre::Real>(bird.climb * frameTime), 0, Ogre::Node::TS_PARENT);
    }
}
