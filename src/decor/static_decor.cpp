#include "decor/static_decor.h"

#include <Ogre.h>

#include "core/access_points.h"
#include "core/material_texture.h"
#include "core/unique_name.h"

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
    Ogre::BillboardSet* billboards = theSceneManager->createBillboardSet(uniqueName(), 1);
    billboards->setMaterialName(material);
    billboards->createBillboard(Ogre::Vector3::ZERO, Ogre::ColourValue::White);
    const TextureSize picture = materialTextureSize(material);
    const float aspect = static_cast<float>(picture.width) / static_cast<float>(picture.height);
    Ogre::SceneNode* node = theSceneManager->getRootSceneNode()->createChildSceneNode();
    node->attachObject(billboards);
    node->setScale(size, size / aspect, size);
    node->setPosition(position);
}

void Static2dDecor::update(const std::vector<Ogre::Vector3>&, double) {}
