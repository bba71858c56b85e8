#include "decor/cloud_emitter.h"

#include <cmath>

#include <Ogre.h>

#include "core/access_points.h"
#include "core/camera_rig.h"
#include "core/material_texture.h"
#include "core/unique_name.h"
#include "decor/picture_cutout.h"

namespace
{
// A returning cloud must be this far from the camera's x, in world units.
constexpr Ogre::Real hiddenDistance = 100.0f;

// The row's clouds pass just before the camera, always drawn larger than their picture, where mipmaps
// never apply but still cost the software rasteriser a choice of level per pixel; and their billboards are
// white, so the picture needs no tint. A copy of the picture's material without either, made once.
std::string nearMaterial(const std::string& picture)
{
    const std::string name = picture + "/near";
    auto& materials = Ogre::MaterialManager::getSingleton();
    const Ogre::MaterialPtr original = materials.getByName(picture);
    if (!original || materials.resourceExists(name, original->getGroup()))
        return original ? name : picture;
    const Ogre::MaterialPtr near = independentCopy(original, name);
    Ogre::Pass& pass = *near->getTechnique(0)->getPass(0);
    if (pass.getNumTextureUnitStates() > 0)
    {
        Ogre::TextureUnitState& texture = *pass.getTextureUnitState(0);
        texture.setTextureFiltering(Ogre::FO_LINEAR, Ogre::FO_LINEAR, Ogre::FO_NONE);
        texture.setColourOperation(Ogre::LBO_REPLACE);
    }
    return name;
}
} // namespace

CloudEmitter::CloudEmitter(const Ogre::Vector3& origin, int length, const std::string& material, double scale,
                           double speed, double spacing)
    : mOrigin(origin), mLength(length), mSpacing(spacing), mSpeed(speed)
{
    const int count = static_cast<int>(length / speed / spacing);
    const Ogre::Real size = static_cast<Ogre::Real>(scale);
    // Only the visible part of the picture: the clear margins would cost as much to draw as the cloud.
    const Ogre::Quaternion facing = cameraFacing();
    const std::string drawn = nearMaterial(material);
    for (Ogre::SceneNode*& group : mGroups)
        group = theSceneManager->getRootSceneNode()->createChildSceneNode();
    for (int i = 0; i < count; ++i)
    {
        Ogre::BillboardSet* cloud = createPartBillboard(*theSceneManager, drawn, facing);
        Ogre::SceneNode* node = mGroups[static_cast<std::size_t>(i) % speedClasses]->createChildSceneNode();
        node->attachObject(cloud);
        node->setScale(size, size, size);
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
