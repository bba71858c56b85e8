#pragma once

#include <string>

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
