#pragma once

// The game's generated media for headless tests, and small stand-ins built in code for meshes and materials
// a test wants to shape itself. Call after the HeadlessEngine exists; everything made here goes with that
// engine.

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
// A box mesh spanning bounds (mesh units) with the given material, skinned to a one-bone skeleton that
// carries every animation named.
void makeAnimatedMesh(const std::string& meshName, const Ogre::AxisAlignedBox& bounds,
                      const std::string& material, const std::vector<Animation>& animations);
// Registers the game's media.icl (the test build makes it before any test) and initialises the resource
// groups; throws when the archive is missing.
void provideWorldMedia(platform::HeadlessEngine& engine);

} // namespace standin
