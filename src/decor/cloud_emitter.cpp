#include "decor/cloud_emitter.h"

#include <cmath>

#include <Ogre.h>

#include "core/access_points.h"
#include "core/camera_rig.h"
#include "core/unique_name.h"
#include "decor/picture_cutout.h"

namespace
{
// A returning cloud must be this far from the camera's x, in world units.
constexpr Ogre::Real hiddenDistance = 100.0f;
} // namespace

CloudEmitter::CloudEmitter(const Ogre::Vector3& origin, int length, const std::string& material, double scale,
                           double speed, double spacing)
    : mOrigin(origin), mLength(length), mSpacing(spacing), mSpeed(speed)
{
    const int count = static_cast<int>(length / speed / spacing);
    const Ogre::Real size = static_cast<Ogre::Real>(scale);
    // Only the visible part of the picture: the clear margins would cost as much to draw as the cloud.
    const Ogre::Quaternion facing = cameraFacing();
    const std::string outline = pictureOutline(material);
    for (Ogre::SceneNode*& group : mGroups)
        group = theSceneManager->getRootSceneNode()->createChildSceneNode();
    for (int i = 0; i < count; ++i)
    {
        Ogre::SceneNode* node = mGroups[static_cast<std::size_t>(i) % speedClasses]->createChildSceneNode();
        node->attachObject(theSceneManager->createEntity(uniqueName(), outline));
        node->setScale(size, size, size);
        node->setOrientation(facing);
        Ogre::Vector3 position = homeOf(static_cast<std::size_t>(i));
        position.x = origin.x + static_cast<Ogre::Real>(-i * length / count);
        node->setPosition(position);
        mClouds.push_back(node);
    }
}

// Where cloud `index` re-enters the row: at the origin, staggered in height and depth.
Ogre::Vector3 CloudEmitter::homeOf(std::size_t index) const
{
    return {mOrigin.x, mOrigin.y - static_cast<Ogre::Real>(index % 5),
            mOrigin.z + static_cast<Ogre::Real>(index % 20)};
}

void CloudEmitter::update(const std::vector<Ogre::Vector3>&, double frameTime)
{
    for (std::size_t g = 0; g < speedClasses; ++g)
        mGroups[g]->translate(
            static_cast<Ogre::Real>((static_cast<double>(g) + mSpeed) * mDirection * frameTime), 0, 0,
            Ogre::Node::TS_PARENT);
    const Ogre::Real cameraX = theCamera->getRealPosition().x;
    const Ogre::Real farLeft = mOrigin.x - static_cast<Ogre::Real>(mLength);
    const Ogre::Real farRight = mOrigin.x + static_cast<Ogre::Real>(mLength);
    for (std::size_t i = 0; i < mClouds.size(); ++i)
    {
        const Ogre::Real groupX = mGroups[i % speedClasses]->getPosition().x;
        const Ogre::Real x = groupX + mClouds[i]->getPosition().x;
        const bool pastTheEnd = (mDirection == -1 && x < farLeft) || (mDirection == 1 && x > farRight);
        if (pastTheEnd && std::fabs(x - cameraX) > hiddenDistance)
        {
            Ogre::Vector3 home = homeOf(i);
            home.x -= groupX;
            mClouds[i]->setPosition(home);
        }
    }
}
