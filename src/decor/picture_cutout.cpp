#include "decor/picture_cutout.h"

#include <algorithm>
#include <cmath>
#include <set>

#include <Ogre.h>

#include "core/material_texture.h"
#include "core/unique_name.h"
#include "decor/picture_outline.h"

namespace
{
constexpr std::uint8_t opaqueAlpha = 255;
// Texels per strip: narrow enough to follow an outline, wide enough to keep the triangle count small.
constexpr int columnWidth = 8;
// Corners of a blended picture's outline: eight leave a cloud's outline within a hundredth of its convex
// hull, and a few triangles cost nothing beside the pixels they spare.
constexpr int outlineCorners = 8;
// The frame of a default billboard, in units.
constexpr float frameSize = 100;

// Cutting pays only when this share of the picture can be drawn opaque: thin strips cost the rasteriser
// more per pixel than one quad, and only opaque strips hide what lies behind them.
constexpr double minOpaqueShare = 0.4;

// Side-by-side strips of the same rows and kind as one: fewer, wider triangles.
std::vector<CutoutStrip> mergedSideBySide(const std::vector<CutoutStrip>& strips)
{
    std::vector<CutoutStrip> merged;
    for (const CutoutStrip& strip : strips)
    {
        const auto left = std::find_if(merged.begin(), merged.end(),
                                       [&](const CutoutStrip& m) {
                                           return m.x1 == strip.x0 && m.y0 == strip.y0 && m.y1 == strip.y1 &&
                                                  m.opaque == strip.opaque;
                                       });
        if (left != merged.end())
            left->x1 = strip.x1;
        else
            merged.push_back(strip);
    }
    return merged;
}

struct RowRun
{
    int begin = 0, end = 0;
};

// Whether every texel of rows `y` of columns [x0, x1) is opaque; out-of-range texels repeat the edge,
// as the clamped texture does.
bool rowOpaque(const AlphaGrid& picture, int x0, int x1, int y)
{
    const int row = std::clamp(y, 0, picture.height - 1);
    for (int x = std::max(x0, 0); x < std::min(x1, picture.width); ++x)
        if (picture.at(x, row) != opaqueAlpha)
            return false;
    return true;
}

bool rowVisible(const AlphaGrid& picture, int x0, int x1, int y)
{
    for (int x = x0; x < x1; ++x)
        if (picture.at(x, y) != 0)
            return true;
    return false;
}

// The longest run of rows in [top, bottom) that are opaque together with their neighbours.
RowRun longestSolidRun(const AlphaGrid& picture, int x0, int x1, int top, int bottom)
{
    RowRun best, current;
    for (int y = top; y < bottom; ++y)
    {
        const bool solid = rowOpaque(picture, x0 - 1, x1 + 1, y - 1) &&
                           rowOpaque(picture, x0 - 1, x1 + 1, y) && rowOpaque(picture, x0 - 1, x1 + 1, y + 1);
        if (!solid)
        {
            current = {y + 1, y + 1};
            continue;
        }
        current.end = y + 1;
        if (current.end - current.begin > best.end - best.begin)
            best = current;
    }
    return best;
}

// A vertex at (x, y) in the picture's texels, placed in the frame of a default billboard.
void addTexelVertex(Ogre::ManualObject& mesh, float x, float y, const AlphaGrid& picture)
{
    const float u = x / static_cast<float>(picture.width);
    const float v = y / static_cast<float>(picture.height);
    mesh.position(frameSize * (u - 0.5f), frameSize * (0.5f - v), 0);
    mesh.textureCoord(u, v);
}

void addQuad(Ogre::ManualObject& mesh, const CutoutStrip& strip, const AlphaGrid& picture)
{
    const Ogre::uint32 first = static_cast<Ogre::uint32>(mesh.getCurrentVertexCount());
    for (const int y : {strip.y0, strip.y1})
        for (const int x : {strip.x0, strip.x1})
            addTexelVertex(mesh, static_cast<float>(x), static_cast<float>(y), picture);
    mesh.quad(first, first + 1, first + 3, first + 2);
}

// The picture's material with its pass changed by `change`, made once.
std::string derivedMaterial(const Ogre::MaterialPtr& picture, const std::string& suffix,
                            void (*change)(Ogre::Pass&))
{
    const std::string name = picture->getName() + suffix;
    if (Ogre::MaterialManager::getSingleton().resourceExists(name, picture->getGroup()))
        return name;
    Ogre::MaterialPtr derived = independentCopy(picture, name);
    Ogre::Pass& pass = *derived->getTechnique(0)->getPass(0);
    pass.setCullingMode(Ogre::CULL_NONE);
    // Strips have no vertex colour to tint them, and a picture worth cutting is a backdrop drawn larger
    // than its texture, where mipmaps never apply but cost a choice of level per pixel.
    if (pass.getNumTextureUnitStates() > 0)
    {
        Ogre::TextureUnitState& texture = *pass.getTextureUnitState(0);
        texture.setColourOperation(Ogre::LBO_REPLACE);
        texture.setTextureFiltering(Ogre::FO_LINEAR, Ogre::FO_LINEAR, Ogre::FO_NONE);
    }
    change(pass);
    return name;
}

Ogre::MaterialPtr loadedMaterial(const std::string& name)
{
    const Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(name);
    if (!material)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "No material named " + name, "pictureCutout");
    material->load();
    return material;
}

AlphaGrid readAlpha(const Ogre::MaterialPtr& material)
{
    const Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    if (pass->getNumTextureUnitStates() == 0)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND,
                    "Material " + material->getName() + " has no texture", "pictureCutout");
    Ogre::Image image;
    image.load(pass->getTextureUnitState(0)->getTextureName(),
               Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME);
    AlphaGrid grid{static_cast<int>(image.getWidth()), static_cast<int>(image.getHeight()), {}};
    grid.alpha.reserve(static_cast<std::size_t>(grid.width * grid.height));
    for (int y = 0; y < grid.height; ++y)
        for (int x = 0; x < grid.width; ++x)
        {
            const float a = image.getColourAt(static_cast<std::size_t>(x), static_cast<std::size_t>(y), 0).a;
            grid.alpha.push_back(static_cast<std::uint8_t>(std::lround(std::clamp(a, 0.0f, 1.0f) * 255)));
        }
    return grid;
}
} // namespace

std::vector<CutoutStrip> cutPicture(const AlphaGrid& picture, int stripWidth)
{
    std::vector<CutoutStrip> strips;
    for (int x0 = 0; x0 < picture.width; x0 += stripWidth)
    {
        const int x1 = std::min(picture.width, x0 + stripWidth);
        int top = 0;
        while (top < picture.height && !rowVisible(picture, x0, x1, top))
            ++top;
        int bottom = picture.height;
        while (bottom > top && !rowVisible(picture, x0, x1, bottom - 1))
            --bottom;
        if (top == bottom)
            continue;
        const RowRun solid = longestSolidRun(picture, x0, x1, top, bottom);
        if (solid.begin == solid.end)
        {
            strips.push_back({x0, x1, top, bottom, false});
            continue;
        }
        if (solid.begin > top)
            strips.push_back({x0, x1, top, solid.begin, false});
        strips.push_back({x0, x1, solid.begin, solid.end, true});
        if (solid.end < bottom)
            strips.push_back({x0, x1, solid.end, bottom, false});
    }
    return mergedSideBySide(strips);
}

bool worthCutting(const AlphaGrid& picture, const std::vector<CutoutStrip>& strips)
{
    long opaque = 0;
    for (const CutoutStrip& s : strips)
        opaque += s.opaque ? static_cast<long>(s.x1 - s.x0) * (s.y1 - s.y0) : 0;
    return static_cast<double>(opaque) >= minOpaqueShare * picture.width * picture.height;
}

CutoutStrip visibleTexels(const AlphaGrid& picture)
{
    CutoutStrip box{picture.width, 0, picture.height, 0, false};
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.at(x, y) != 0)
                box = {std::min(box.x0, x), std::max(box.x1, x + 1), std::min(box.y0, y),
                       std::max(box.y1, y + 1), false};
    return box.x0 < box.x1 ? box : CutoutStrip{};
}

PictureCutout pictureCutout(const std::string& materialName)
{
    const PictureCutout names{materialName + "/opaque", materialName + "/blended"};
    auto& meshes = Ogre::MeshManager::getSingleton();
    const std::string& group = Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME;
    const auto made = [&](const std::string& mesh) { return meshes.resourceExists(mesh, group) ? mesh : ""; };
    const PictureCutout existing{made(names.opaqueMesh), made(names.blendedMesh)};
    // Media never change while the game runs; meshes go with the engine, so only refusals are remembered.
    static std::set<std::string> notWorthCutting;
    if (!existing.opaqueMesh.empty() || !existing.blendedMesh.empty() || notWorthCutting.count(materialName))
        return existing;

    const Ogre::MaterialPtr material = loadedMaterial(materialName);
    const AlphaGrid picture = readAlpha(material);
    const std::vector<CutoutStrip> strips = cutPicture(picture, columnWidth);
    if (!worthCutting(picture, strips))
    {
        notWorthCutting.insert(materialName);
        return existing;
    }

    const std::string opaque = derivedMaterial(material, "/opaque",
                                               [](Ogre::Pass& pass)
                                               {
                                                   pass.setSceneBlending(Ogre::SBT_REPLACE);
                                                   pass.setDepthWriteEnabled(true);
                                               });
    const std::string blended = derivedMaterial(
        material, "/blended", [](Ogre::Pass& pass) { pass.setDepthFunction(Ogre::CMPF_LESS); });
    PictureCutout result;
    for (const bool solid : {true, false})
    {
        if (std::none_of(strips.begin(), strips.end(),
                         [solid](const CutoutStrip& strip) { return strip.opaque == solid; }))
            continue;
        const std::string& meshName = solid ? names.opaqueMesh : names.blendedMesh;
        Ogre::ManualObject builder(meshName);
        builder.begin(solid ? opaque : blended, Ogre::RenderOperation::OT_TRIANGLE_LIST,
                      material->getGroup());
        for (const CutoutStrip& strip : strips)
            if (strip.opaque == solid)
                addQuad(builder, strip, picture);
        builder.end();
        builder.convertToMesh(meshName, group);
        (solid ? result.opaqueMesh : result.blendedMesh) = meshName;
    }
    return result;
}

std::string pictureOutline(const std::string& materialName)
{
    const std::string meshName = materialName + "/outline";
    auto& meshes = Ogre::MeshManager::getSingleton();
    const std::string& group = Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME;
    if (meshes.resourceExists(meshName, group))
        return meshName;
    const Ogre::MaterialPtr material = loadedMaterial(materialName);
    const AlphaGrid picture = readAlpha(material);
    std::vector<OutlineCorner> outline = visibleOutline(picture, outlineCorners);
    // A picture with nothing visible still gets its mesh: one triangle that covers no pixel.
    if (outline.empty())
        outline = {{0, 0}, {0, 0}, {0, 0}};
    const std::string drawn = derivedMaterial(material, "/outline", [](Ogre::Pass&) {});
    Ogre::ManualObject builder(meshName);
    builder.begin(drawn, Ogre::RenderOperation::OT_TRIANGLE_LIST, material->getGroup());
    for (const OutlineCorner& corner : outline)
        addTexelVertex(builder, corner.x, corner.y, picture);
    for (Ogre::uint32 i = 2; i < outline.size(); ++i)
        builder.triangle(0, i - 1, i);
    builder.end();
    builder.convertToMesh(meshName, group);
    return meshName;
}
