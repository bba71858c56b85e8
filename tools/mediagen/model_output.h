#pragma once

#include <string>

#include "mesh_builder.h"
#include "skeleton_builder.h"
#include "texture_canvas.h"

class MediaOutput;

namespace models
{

// How an entity material reacts to the scene's ambient and lights. Colours multiply the texture.
struct Surface
{
    Colour tint = {1, 1, 1, 1};
    Colour emissive = {0, 0, 0, 1};
    float specular = 0.1f;
    float shininess = 12;
};

// Where the 3D models, their textures and materials and the particle templates go. Materials are parsed
// into the engine as soon as they are defined (meshes can only name defined materials) and are written
// together as one script at the end.
class ModelOutput
{
  public:
    // scratchDir: an existing private folder for the engine's serialisers.
    ModelOutput(MediaOutput& media, std::string scratchDir);

    // Parses script text (one or more materials) and keeps it for the archive's "models.material".
    void defineMaterials(const std::string& script);
    // A lit, textured entity material.
    void defineLitMaterial(const std::string& name, const std::string& texture, const Surface& surface = {});
    void addParticleScript(const std::string& script);

    void addTexture(const std::string& fileName, const TextureCanvas& canvas,
                    Mipmaps mipmaps = Mipmaps::full);
    void addSkeleton(const std::string& name, const SkeletonBuilder& skeleton);
    void addMesh(const std::string& name, const MeshBuilder& mesh, const std::string& material,
                 const std::string& skeleton = "");

    // Writes the collected scripts into the archive. Call once, last.
    void finish();

  private:
    MediaOutput& mMedia;
    std::string mScratchDir;
    std::string mMaterialScript;
    std::string mParticleScript;
};

} // namespace models
