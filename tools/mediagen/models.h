#pragma once

#include <OgreQuaternion.h>
#include <OgreVector.h>

class MediaOutput;

// The game's 3D media: meshes with their skeletons and animations, their textures and materials, the sky,
// clouds and the particle templates. Everything is in one namespace so that its helpers never clash with
// the other parts of the generator.
namespace models
{

class ModelOutput;

// Adds every 3D asset to the archive. Needs the headless engine.
void generateModels(MediaOutput& media);

void addBears(ModelOutput& out);
void addCats(ModelOutput& out);
void addBoss(ModelOutput& out);
void addPlatformPieces(ModelOutput& out);
void addProps(ModelOutput& out);
void addCritters(ModelOutput& out);
void addScenery(ModelOutput& out);
void addSkyAndClouds(ModelOutput& out);
void addParticles(ModelOutput& out);

// The intro's planet: a sphere of this radius whose top is the scene node's origin. The characters stand
// on it at baked spots, z toward screen-right, and run toward +z while its top rolls toward -z.
constexpr float introPlanetRadius = 150.0f;
// A spot on the planet's top at depth z: the point on the sphere and the turn that stands a model upright
// there, turned by yawDegrees about its own up axis (toward the camera at -x when negative).
struct IntroSpot
{
    Ogre::Vector3 position;
    Ogre::Quaternion rotation;
};
IntroSpot introSpot(float z, float yawDegrees);

} // namespace models
