#include "core/material_texture.h"

#include <Ogre.h>

namespace
{
const Ogre::TextureUnitState& firstTextureUnit(const std::string& materialName)
{
    const Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(materialName);
    if (!material)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "No material named " + materialName,
                    "materialTextureSize");
    material->load();
    const Ogre::Technique* technique = material->getNumTechniques() > 0 ? material->getTechnique(0) : nullptr;
    const Ogre::Pass* pass = technique && technique->getNumPasses() > 0 ? technique->getPass(0) : nullptr;
    if (!pass || pass->getNumTextureUnitStates() == 0)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "Material " + materialName + " has no texture",
                    "materialTextureSize");
    return *pass->getTextureUnitState(0);
}

TextureSize imageFileSize(const std::string& textureName)
{
    Ogre::Image image;
    image.load(textureName, Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME);
    return {static_cast<unsigned>(image.getWidth()), static_cast<unsigned>(image.getHeight())};
}
} // namespace

TextureSize materialTextureSize(const std::string& materialName)
{
    const Ogre::TextureUnitState& unit = firstTextureUnit(materialName);
    if (!Ogre::Root::getSingleton().getRenderSystem())
        return imageFileSize(unit.getTextureName());
    const std::pair<size_t, size_t> size = unit.getTextureDimensions();
    return {static_cast<unsigned>(size.first), static_cast<unsigned>(size.second)};
}

Ogre::MaterialPtr independentCopy(const Ogre::MaterialPtr& source, const std::string& name)
{
    auto& materials = Ogre::MaterialManager::getSingleton();
    if (Ogre::MaterialPtr existing = materials.getByName(name, source->getGroup()))
        return existing;
    Ogre::MaterialPtr copy = source->clone(name);
    for (Ogre::Technique* technique : copy->getTechniques())
        for (Ogre::Pass* pass : technique->getPasses())
            for (Ogre::TextureUnitState* unit : pass->getTextureUnitStates())
            {
                const Ogre::SamplerPtr own = Ogre::TextureManager::getSingleton().createSampler();
                *own = *unit->getSampler();
                unit->setSampler(own);
            }
    return copy;
}
