#pragma once

// Stand-ins for the game's generated media, built in code, so that world tests run headless before (or
// without) media.icl. Each stand-in carries the asset's real name, bounds, and animation names and
// lengths as the media contract fixes them, with a one-bone skeleton and a plain material.
// Call after the HeadlessEngine exists; everything made here goes with that engine.

#include <string>
#include <vector>

#include <OgreAxisAlignedBox.h>

namespace platform
{
class HeadlessEngine;
}

namespace standin
{

struct Animation
{
    std::string name;
    float lengthSeconds;
};

// Each maker does nothing when a resource of that name already exists (real media or an earlier call).
void makeMaterial(const std::string& name);
// A box mesh spanning bounds (mesh units), with the given material.
void makeStaticMesh(const std::string& meshName, const Ogre::AxisAlignedBox& bounds,
                    const std::string& material);
// As makeStaticMesh, skinned to a one-bone skeleton that carries every animation named.
void makeAnimatedMesh(const std::string& meshName, const Ogre::AxisAlignedBox& bounds,
                      const std::string& material, const std::vector<Animation>& animations);
// A particle template with one point emitter that emits nothing until told to.
void makeParticleTemplate(const std::string& name, const std::string& material);

// Registers the game's media.icl when the build has made it, initialises the resource groups, then fills
// in a stand-in for every mesh, material and particle template of the game world (player, checkpoint,
// platforms, meteors) that the archive does not hold. Returns true if media.icl was registered.
bool provideWorldMedia(platform::HeadlessEngine& engine);

} // namespace standin
