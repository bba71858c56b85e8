#include "mesh_builder.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <Ogre.h>

namespace models
{
namespace
{
constexpr float twoPi = 6.28318530718f;

// Any vector perpendicular to axis, for building a frame around it.
Ogre::Vector3 perpendicular(const Ogre::Vector3& axis)
{
    Ogre::Vector3 other = std::fabs(axis.y) < 0.9f ? Ogre::Vector3::UNIT_Y : Ogre::Vector3::UNIT_X;
    return axis.crossProduct(other).normalisedCopy();
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in)
        throw std::runtime_error("mediagen: cannot read back " + path);
    return bytes.str();
}
} // namespace

void MeshBuilder::addSurface(const SurfaceFunction& surface, int columns, int rows, UvRect uv,
                             const BoneFunction& bones)
{
    const auto first = static_cast<unsigned int>(mPositions.size());
    // Derivatives are taken a little inside the domain so that poles and seams get a defined normal.
    constexpr float step = 1e-3f;
    auto clampInside = [](float t) { return std::min(std::max(t, 2 * step), 1 - 2 * step); };
    const Ogre::Matrix3 normalTransform = mTransform.linear().Inverse().Transpose();
    for (int j = 0; j <= rows; ++j)
    {
        const float v = static_cast<float>(j) / static_cast<float>(rows);
        for (int i = 0; i <= columns; ++i)
        {
            const float u = static_cast<float>(i) / static_cast<float>(columns);
            const float du = clampInside(u);
            const float dv = clampInside(v);
            const Ogre::Vector3 pu = surface(du + step, dv) - surface(du - step, dv);
            const Ogre::Vector3 pv = surface(du, dv + step) - surface(du, dv - step);
            Ogre::Vector3 normal = normalTransform * pu.crossProduct(pv);
            if (normal.squaredLength() < 1e-24f)
                normal = Ogre::Vector3::UNIT_Y;
            mPositions.push_back(mTransform * surface(u, v));
            mNormals.push_back(normal.normalisedCopy());
            mUvs.emplace_back(uv.u0 + (uv.u1 - uv.u0) * u, uv.v1 + (uv.v0 - uv.v1) * v);
            mBones.push_back(bones(u, v));
        }
    }
    const auto stride = static_cast<unsigned int>(columns + 1);
    for (unsigned int j = 0; j < static_cast<unsigned int>(rows); ++j)
    {
        for (unsigned int i = 0; i < static_cast<unsigned int>(columns); ++i)
        {
            const unsigned int a = first + j * stride + i;
            const unsigned int b = a + 1;
            const unsigned int c = b + stride;
            const unsigned int d = a + stride;
            mIndices.insert(mIndices.end(), {a, b, c, a, c, d});
        }
    }
}

void MeshBuilder::addSurface(const SurfaceFunction& surface, int columns, int rows, UvRect uv,
                             unsigned short bone)
{
    addSurface(surface, columns, rows, uv, rigid(bone));
}

void MeshBuilder::addEllipsoid(const Ogre::Vector3& centre, const Ogre::Vector3& radii, UvRect uv,
                               unsigned short bone, int columns, int rows,
                               const Ogre::Quaternion& orientation)
{
    // u is the longitude starting at +Z (the model's front) so painted faces land in the middle of the
    // rectangle; v runs from the south pole to the north pole.
    addSurface(
        [=](float u, float v)
        {
            const float longitude = twoPi * (u - 0.5f);
            const float latitude = (v - 0.5f) * twoPi * 0.5f;
            const Ogre::Vector3 unit(std::cos(latitude) * std::sin(longitude), std::sin(latitude),
                                     std::cos(latitude) * std::cos(longitude));
            return centre + orientation * (unit * radii);
        },
        columns, rows, uv, bone);
}

void MeshBuilder::addLathe(const Ogre::Vector3& base, const Ogre::Vector3& tip,
                           const std::function<float(float)>& profile, UvRect uv, const BoneFunction& bones,
                           int columns, int rows)
{
    const Ogre::Vector3 axis = (tip - base).normalisedCopy();
    const Ogre::Vector3 side = perpendicular(axis);
    const Ogre::Vector3 other = axis.crossProduct(side);
    addSurface(
        [=](float u, float v)
        {
            const float angle = twoPi * u;
            const Ogre::Vector3 radial = side * std::cos(angle) + other * std::sin(angle);
            return base + (tip - base) * v + radial * profile(v);
        },
        columns, rows, uv, bones);
}

void MeshBuilder::addLathe(const Ogre::Vector3& base, const Ogre::Vector3& tip,
                           const std::function<float(float)>& profile, UvRect uv, unsigned short bone,
                           int columns, int rows)
{
    addLathe(base, tip, profile, uv, rigid(bone), columns, rows);
}

void MeshBuilder::addCapsule(const Ogre::Vector3& a, const Ogre::Vector3& b, float radius, UvRect uv,
                             unsigned short bone, int columns, int rows)
{
    const float length = (b - a).length();
    const Ogre::Vector3 axis = (b - a).normalisedCopy();
    const float total = length + 2 * radius;
    // The profile is parametrised by arc position along the full capsule, caps included.
    addLathe(
        a - axis * radius, b + axis * radius,
        [=](float t)
        {
            const float s = t * total;
            if (s < radius)
                return std::sqrt(std::max(0.0f, radius * radius - (radius - s) * (radius - s)));
            if (s > radius + length)
            {
                const float e = s - radius - length;
                return std::sqrt(std::max(0.0f, radius * radius - e * e));
            }
            return radius;
        },
        uv, bone, columns, rows);
}

void MeshBuilder::addTorus(const Ogre::Vector3& centre, const Ogre::Vector3& axis, float majorRadius,
                           float minorRadius, UvRect uv, unsigned short bone, int columns, int rows)
{
    const Ogre::Vector3 up = axis.normalisedCopy();
    const Ogre::Vector3 side = perpendicular(up);
    const Ogre::Vector3 other = up.crossProduct(side);
    addSurface(
        [=](float u, float v)
        {
            const float around = twoPi * u;
            const float tube = twoPi * v;
            const Ogre::Vector3 radial = side * std::cos(around) + other * std::sin(around);
            return centre + radial * (majorRadius + minorRadius * std::cos(tube)) +
                   up * (minorRadius * std::sin(tube));
        },
        columns, rows, uv, bone);
}

void MeshBuilder::addBox(const Ogre::Vector3& lo, const Ogre::Vector3& hi, const std::array<UvRect, 6>& faces,
                         unsigned short bone)
{
    // Each face: origin corner, u edge, v edge, chosen so that u x v points outward.
    const Ogre::Vector3 size = hi - lo;
    const Ogre::Vector3 ex(size.x, 0, 0), ey(0, size.y, 0), ez(0, 0, size.z);
    const std::array<std::array<Ogre::Vector3, 3>, 6> quads = {{
        {Ogre::Vector3(lo.x, lo.y, lo.z), ez, ey},  // -X
        {Ogre::Vector3(hi.x, lo.y, hi.z), -ez, ey}, // +X
        {Ogre::Vector3(lo.x, lo.y, lo.z), ex, ez},  // -Y
        {Ogre::Vector3(lo.x, hi.y, hi.z), ex, -ez}, // +Y
        {Ogre::Vector3(hi.x, lo.y, lo.z), -ex, ey}, // -Z
        {Ogre::Vector3(lo.x, lo.y, hi.z), ex, ey},  // +Z
    }};
    for (size_t f = 0; f < quads.size(); ++f)
    {
        const auto quad = quads[f];
        addSurface([quad](float u, float v) { return quad[0] + quad[1] * u + quad[2] * v; }, 1, 1, faces[f],
                   bone);
    }
}

Ogre::AxisAlignedBox MeshBuilder::bounds() const
{
    Ogre::AxisAlignedBox box;
    for (const auto& p : mPositions)
        box.merge(p);
    return box;
}

std::string MeshBuilder::serialise(const std::string& meshName, const std::string& material,
                                   const std::string& skeletonName, const std::string& scratchFile) const
{
    if (!Ogre::MaterialManager::getSingleton().resourceExists(material))
        throw std::logic_error("mediagen: " + meshName + " uses undefined material " + material);
    auto& buffers = Ogre::HardwareBufferManager::getSingleton();
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(
        meshName, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
    Ogre::SubMesh* sub = mesh->createSubMesh();
    sub->useSharedVertices = false;
    sub->vertexData = new Ogre::VertexData();
    sub->vertexData->vertexCount = mPositions.size();

    // Positions and normals in one buffer, texture coordinates in another: software skinning rewrites the
    // first and must not lose the second.
    Ogre::VertexDeclaration* declaration = sub->vertexData->vertexDeclaration;
    declaration->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    declaration->addElement(0, 12, Ogre::VET_FLOAT3, Ogre::VES_NORMAL);
    declaration->addElement(1, 0, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0);
    std::vector<float> geometry;
    std::vector<float> coordinates;
    geometry.reserve(mPositions.size() * 6);
    coordinates.reserve(mPositions.size() * 2);
    for (size_t i = 0; i < mPositions.size(); ++i)
    {
        geometry.insert(geometry.end(), {mPositions[i].x, mPositions[i].y, mPositions[i].z, mNormals[i].x,
                                         mNormals[i].y, mNormals[i].z});
        coordinates.insert(coordinates.end(), {mUvs[i].x, mUvs[i].y});
    }
    auto geometryBuffer = buffers.createVertexBuffer(24, mPositions.size(), Ogre::HardwareBuffer::HBU_STATIC);
    geometryBuffer->writeData(0, geometry.size() * sizeof(float), geometry.data(), true);
    auto uvBuffer = buffers.createVertexBuffer(8, mPositions.size(), Ogre::HardwareBuffer::HBU_STATIC);
    uvBuffer->writeData(0, coordinates.size() * sizeof(float), coordinates.data(), true);
    sub->vertexData->vertexBufferBinding->setBinding(0, geometryBuffer);
    sub->vertexData->vertexBufferBinding->setBinding(1, uvBuffer);

    const bool wide = mPositions.size() > 65535;
    auto indexBuffer = buffers.createIndexBuffer(wide ? Ogre::HardwareIndexBuffer::IT_32BIT
                                                      : Ogre::HardwareIndexBuffer::IT_16BIT,
                                                 mIndices.size(), Ogre::HardwareBuffer::HBU_STATIC);
    if (wide)
    {
        indexBuffer->writeData(0, mIndices.size() * 4, mIndices.data(), true);
    }
    else
    {
        std::vector<Ogre::uint16> narrow(mIndices.begin(), mIndices.end());
        indexBuffer->writeData(0, narrow.size() * 2, narrow.data(), true);
    }
    sub->indexData->indexBuffer = indexBuffer;
    sub->indexData->indexCount = mIndices.size();
    sub->indexData->indexStart = 0;
    sub->setMaterialName(material);

    if (!skeletonName.empty())
    {
        mesh->setSkeletonName(skeletonName);
        for (size_t i = 0; i < mBones.size(); ++i)
        {
            for (int k = 0; k < 2; ++k)
            {
                if (mBones[i].weight[k] <= 0)
                    continue;
                Ogre::VertexBoneAssignment assignment;
                assignment.vertexIndex = static_cast<unsigned int>(i);
                assignment.boneIndex = mBones[i].bone[k];
                assignment.weight = mBones[i].weight[k];
                sub->addBoneAssignment(assignment);
            }
        }
    }
    const Ogre::AxisAlignedBox box = bounds();
    mesh->_setBounds(box, false);
    float radius = 0;
    for (const auto& p : mPositions)
        radius = std::max(radius, p.length());
    mesh->_setBoundingSphereRadius(radius);

    Ogre::MeshSerializer().exportMesh(mesh.get(), scratchFile);
    // A manual mesh that was never loaded does not free its submeshes when it is destroyed.
    mesh->destroySubMesh(0);
    Ogre::MeshManager::getSingleton().remove(mesh);
    return readFile(scratchFile);
}

} // namespace models
