#include "decor/static_decor.h"

#include <Ogre.h>

#include "core/access_points.h"
#include "core/camera_rig.h"
#include "core/material_texture.h"
#include "core/unique_name.h"
#include "decor/fons.h"
#include "decor/picture_cutout.h"

StaticDecor::StaticDecor(const Ogre::Vector3& position, float scale, const std::string& mesh)
{
    Ogre::Entity* entity = theSceneManager->createEntity(
        uniqueName(), mesh, Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME);
    Ogre::SceneNode* node = theSceneManager->getRootSceneNode()->createChildSceneNode();
    node->attachObject(entity);
    node->setScale(scale, scale, scale);
    node->setPosition(position);
}

void StaticDecor::update(const std::vector<Ogre::Vector3>&, double) {}

Static2dDecor::Static2dDecor(const Ogre::Vector3& position, float size, const std::string& material)
{
    const TextureSize picture = materialTextureSize(material);
    const float aspect = static_cast<float>(picture.width) / static_cast<float>(picture.height);
    Ogre::SceneNode* node = theSceneManager->getRootSceneNode()->createChildSceneNode();
    const PictureCutout strips = pictureCutout(material);
    if (!strips.opaqueMesh.empty())
    {
        Ogre::Entity* opaque = theSceneManager->createEntity(uniqueName(), strips.opaqueMesh);
        opaque->setRenderQueueGroup(Fons::backdropQueue);
        node->attachObject(opaque);
    }
    if (!strips.blendedMesh.empty())
        node->attachObject(theSceneManager->createEntity(uniqueName(), strips.blendedMesh));
    if (strips.opaqueMesh.empty() && strips.blendedMesh.empty())
        node->attachObject(theSceneManager->createEntity(uniqueName(), pictureOutline(material)));
    node->setScale(size, size / aspect, size);
    node->setPosition(position);
    // The picture's meshes face the camera only when turned.
    node->setOrientation(cameraFacing());
}

void Static2dDecor::update(const std::vector<Ogre::Vector3>&, double) {}
