#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include <OgreAxisAlignedBox.h>
#include <OgreMatrix4.h>
#include <OgreVector.h>

namespace models
{

// A rectangle of a texture atlas in texture coordinates (0..1, v down). A part's own (u, v) parameters
// are mapped into it, so every part of a model can share one texture.
struct UvRect
{
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
};

// Up to two bones per vertex; weights sum to 1. Skeleton-less meshes leave everything at bone 0.
struct BoneWeights
{
    unsigned short bone[2] = {0, 0};
    float weight[2] = {1, 0};
};

// A surface in parametric form: position of (u, v), both in 0..1. The outward normal is du x dv, so a
// surface must be parametrised with u running counter-clockwise around the outward direction of v.
using SurfaceFunction = std::function<Ogre::Vector3(float u, float v)>;
using BoneFunction = std::function<BoneWeights(float u, float v)>;

// Collects the triangles of one model in mesh units and writes them as a single-submesh Ogre mesh. Every
// model has exactly one material so that whole-entity material swaps keep working.
class MeshBuilder
{
  public:
    // Every part added from now on is transformed by this matrix (model placement; identity at first).
    void setTransform(const Ogre::Matrix4& transform) { mTransform = transform; }

    // A grid of (columns + 1) x (rows + 1) vertices sampled from the surface; u runs along columns. Normals
    // come from the surface's partial derivatives, so seams and poles shade smoothly.
    void addSurface(const SurfaceFunction& surface, int columns, int rows, UvRect uv,
                    const BoneFunction& bones);
    void addSurface(const SurfaceFunction& surface, int columns, int rows, UvRect uv, unsigned short bone);

    // Convenience shapes, all built on addSurface. Radii and positions in mesh units.
    void addEllipsoid(const Ogre::Vector3& centre, const Ogre::Vector3& radii, UvRect uv, unsigned short bone,
                      int columns = 24, int rows = 16,
                      const Ogre::Quaternion& orientation = Ogre::Quaternion());
    // A solid of revolution about the segment from base to tip; profile(t) is the radius at t in 0..1.
    // Closed ends need a zero radius at t = 0 and t = 1.
    void addLathe(const Ogre::Vector3& base, const Ogre::Vector3& tip,
                  const std::function<float(float)>& profile, UvRect uv, const BoneFunction& bones,
                  int columns = 20, int rows = 12);
    void addLathe(const Ogre::Vector3& base, const Ogre::Vector3& tip,
                  const std::function<float(float)>& profile, UvRect uv, unsigned short bone,
                  int columns = 20, int rows = 12);
    // A capsule: cylinder of the given radius with hemispherical ends.
    void addCapsule(const Ogre::Vector3& a, const Ogre::Vector3& b, float radius, UvRect uv,
                    unsigned short bone, int columns = 16, int rows = 12);
    // A torus around axis through centre; major radius R, minor radius r.
    void addTorus(const Ogre::Vector3& centre, const Ogre::Vector3& axis, float majorRadius,
                  float minorRadius, UvRect uv, unsigned short bone, int columns = 24, int rows = 10);
    // An axis-aligned box; each face maps to its own rectangle (order -X, +X, -Y, +Y, -Z, +Z).
    void addBox(const Ogre::Vector3& minimum, const Ogre::Vector3& maximum,
                const std::array<UvRect, 6>& faces, unsigned short bone);

    size_t vertexCount() const { return mPositions.size(); }
    // Tight bounds of the bind pose, no padding.
    Ogre::AxisAlignedBox bounds() const;

    // Builds the Ogre mesh (with the skeleton's bone assignments when skeletonName is not empty) and
    // serialises it to a .mesh file's bytes. The material must already be defined. scratchFile is a
    // writable path the serializer may use.
    std::string serialise(const std::string& meshName, const std::string& material,
                          const std::string& skeletonName, const std::string& scratchFile) const;

  private:
    Ogre::Matrix4 mTransform = Ogre::Matrix4::IDENTITY;
    std::vector<Ogre::Vector3> mPositions;
    std::vector<Ogre::Vector3> mNormals;
    std::vector<Ogre::Vector2> mUvs;
    std::vector<BoneWeights> mBones;
    std::vector<unsigned int> mIndices;
};

// A constant bone for every vertex of a part.
inline BoneFunction rigid(unsigned short bone)
{
    return [bone](float, float)
    {
        BoneWeights weights;
        weights.bone[0] = bone;
        return weights;
    };
}

} // namespace models
