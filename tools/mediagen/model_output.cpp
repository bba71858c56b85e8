#include "model_output.h"

#include <cstdio>
#include <sstream>

#include <Ogre.h>
#include <OgreScriptCompiler.h>

#include "media_output.h"

namespace models
{
namespace
{
std::string colourText(const Colour& c)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f %.3f %.3f", static_cast<double>(c.r), static_cast<double>(c.g),
                  static_cast<double>(c.b));
    return text;
}
} // namespace

ModelOutput::ModelOutput(MediaOutput& media, std::string scratchDir)
    : mMedia(media), mScratchDir(std::move(scratchDir))
{
}

void ModelOutput::defineMaterials(const std::string& script)
{
    Ogre::DataStreamPtr stream(new Ogre::MemoryDataStream("models.material", const_cast<char*>(script.data()),
                                                          script.size(), false, true));
    Ogre::ScriptCompilerManager::getSingleton().parseScript(
        stream, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
    mMaterialScript += script;
}

void ModelOutput::defineLitMaterial(const std::string& name, const std::string& texture,
                                    const Surface& surface)
{
    std::ostringstream script;
    script << "material " << name << "\n{\n    technique\n    {\n        pass\n        {\n"
           << "            ambient " << colourText(surface.tint) << "\n"
           << "            diffuse " << colourText(surface.tint) << "\n"
           << "            specular "
           << colourText(Colour{surface.specular, surface.specular, surface.specular}) << " "
           << surface.shininess << "\n"
           << "            emissive " << colourText(surface.emissive) << "\n"
           << "            texture_unit\n            {\n                texture " << texture << "\n"
           << "                filtering trilinear\n                tex_address_mode clamp\n"
           << "            }\n        }\n    }\n}\n\n";
    defineMaterials(script.str());
}

void ModelOutput::addParticleScript(const std::string& script)
{
    Ogre::DataStreamPtr stream(new Ogre::MemoryDataStream(
        "effects.particle", const_cast<char*>(script.data()), script.size(), false, true));
    Ogre::ScriptCompilerManager::getSingleton().parseScript(
        stream, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
    mParticleScript += script;
}

void ModelOutput::addTexture(const std::string& fileName, const TextureCanvas& canvas, Mipmaps mipmaps)
{
    mMedia.addArchiveFile(fileName, canvas.encodeDds(mipmaps));
}

void ModelOutput::addSkeleton(const std::string& name, const SkeletonBuilder& skeleton)
{
    mMedia.addArchiveFile(name, skeleton.serialise(name, mScratchDir + "/" + name));
}

void ModelOutput::addMesh(const std::string& name, const MeshBuilder& mesh, const std::string& material,
                          const std::string& skeleton)
{
    mMedia.addArchiveFile(name, mesh.serialise(name, material, skeleton, mScratchDir + "/" + name));
}

void ModelOutput::finish()
{
    mMedia.addArchiveFile("models.material", mMaterialScript);
    mMedia.addArchiveFile("effects.particle", mParticleScript);
}

} // namespace models
