#pragma once

#include <string>

#include <OgrePrerequisites.h>

// Pixel size of the picture in texture unit 0 of pass 0 of technique 0 of a material: what overlays and
// billboards sized "from their picture" use. The material is loaded first, because an unloaded texture
// reports a default size. Without a render system (tools, headless tests) the size comes from the image
// file itself. Throws Ogre's item-not-found exception for an unknown material or one without a texture.
struct TextureSize
{
    unsigned width = 0;
    unsigned height = 0;
};
TextureSize materialTextureSize(const std::string& materialName);

// A copy of `source` named `name`, whose texture units sample through samplers of their own. Ogre's clone
// shares a sampler that the source's script configured (filtering, addressing) between both materials, so
// filtering set on a plain clone would silently change the source and everything drawn with it. Returns the
// existing material when one of that name is already there.
Ogre::MaterialPtr independentCopy(const Ogre::MaterialPtr& source, const std::string& name);
