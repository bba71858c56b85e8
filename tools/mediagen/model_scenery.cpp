// Static scenery and the intro's planet.
//   tree.mesh           23 tall with the trunk's foot at y -2 (the results stage puts it 2 above the ground).
//   bush.mesh, rock.mesh extras for level decoration, standing on y 0.
//   start_planeta.mesh  the intro planet (see introPlanetRadius), rolling about +X with "roda".

#include <cmath>

#include "model_output.h"
#include "models.h"

namespace models
{
namespace
{
const Ogre::Vector3 X = Ogre::Vector3::UNIT_X;
const Ogre::Vector3 Y = Ogre::Vector3::UNIT_Y;
constexpr float pi = 3.14159265f;

// How finely a rounded part is cut into triangles: columns around, rows from pole to pole.
struct Grid
{
    int columns, rows;
};
// The level scenery's leaf blobs, up to a quarter of the view high next to the boss arena: finer grids
// cost the rasteriser a triangle each without a rounder outline, as the bumps already break it.
constexpr Grid sceneryFoliage{14, 10};
// Bushes stand a few dozen pixels high.
constexpr Grid bushFoliage{10, 7};
// The intro planet's bushes roll past the camera close up.
constexpr Grid planetFoliage{20, 14};

// A blob of leaves: a sphere with soft bumps (a function of direction only, so it has no seam).
void addFoliage(MeshBuilder& mesh, const Ogre::Vector3& centre, float radius, const UvRect& uv,
                unsigned short bone, float phase, Grid grid = sceneryFoliage)
{
    mesh.addSurface(
        [=](float u, float v)
        {
            const float longitude = 2 * pi * (u - 0.5f);
            const float latitude = pi * (v - 0.5f);
            const Ogre::Vector3 d(std::cos(latitude) * std::sin(longitude), std::sin(latitude),
                                  std::cos(latitude) * std::cos(longitude));
            const float bumps =
                std::sin(5 * d.x + phase) * std::sin(5 * d.y + 2 * phase) * std::sin(5 * d.z + 1);
            return centre + d * (radius * (0.92f + 0.08f * bumps));
        },
        grid.columns, grid.rows, uv, bone);
}

struct SceneryAtlas
{
    UvRect bark, leaves, fruit, stone, grass, flower, petals;
};

SceneryAtlas paintScenery(TextureCanvas& canvas)
{
    SceneryAtlas atlas;
    atlas.bark = canvas.paintRegion(0, 0, 64, 128,
                                    [](float u, float v)
                                    {
                                        const float n = fractalNoise(u * 8, v * 2, 101, 3, 8);
                                        return mix(rgb(0x8A5A34), rgb(0x5A3820), smoothStep(0.4f, 0.7f, n));
                                    });
    atlas.leaves = canvas.paintRegion(64, 0, 256, 128,
                                      [](float u, float v)
                                      {
                                          const float n = fractalNoise(u * 24, v * 12, 102, 3, 24);
                                          Colour c = mix(rgb(0x3E9A3A), rgb(0x8AD452),
                                                         smoothStep(0.35f, 0.75f, n) * 0.8f + 0.3f * v);
                                          return c;
                                      });
    atlas.fruit = canvas.paintRegion(0, 128, 64, 192,
                                     [](float, float v) { return mix(rgb(0xC81E28), rgb(0xFF6A5A), v); });
    atlas.stone = canvas.paintRegion(
        64, 128, 192, 192,
        [](float u, float v)
        { return scaled(rgb(0x9A9CA4), 0.8f + 0.35f * fractalNoise(u * 16, v * 8, 103, 3, 16)); });
    atlas.grass = canvas.paintRegion(
        192, 128, 256, 192,
        [](float u, float v)
        { return mix(rgb(0x4AA83A), rgb(0x9ADC5A), v * 0.7f + 0.2f * valueNoise(u * 20, v * 4, 104)); });
    atlas.flower = canvas.paintRegion(0, 192, 64, 256, [](float, float) { return rgb(0xFFE040); });
    atlas.petals = canvas.paintRegion(64, 192, 128, 256, [](float, float) { return rgb(0xFF8AC8); });
    return atlas;
}

void addTree(ModelOutput& out, const SceneryAtlas& atlas)
{
    MeshBuilder mesh;
    mesh.addLathe(
        Ogre::Vector3(0, -2.2f, 0), Ogre::Vector3(0, 13, 0),
        [](float t)
        { return 0.7f + 0.6f * (1 - t) * (1 - t) + (t < 0.06f ? 0.5f * (0.06f - t) / 0.06f : 0.0f); },
        atlas.bark, 0, 10, 6);
    mesh.addLathe(
        Ogre::Vector3(0, 8, 0), Ogre::Vector3(3.2f, 12.5f, 0.4f),
        [](float t) { return 0.45f * (1 - 0.6f * t); }, atlas.bark, 0, 6, 3);
    addFoliage(mesh, Ogre::Vector3(0, 15.5f, 0), 6.5f, atlas.leaves, 0, 0.3f);
    addFoliage(mesh, Ogre::Vector3(-3.8f, 13.2f, 0.8f), 4.6f, atlas.leaves, 0, 1.7f);
    addFoliage(mesh, Ogre::Vector3(3.9f, 13.6f, -0.6f), 4.6f, atlas.leaves, 0, 2.9f);
    addFoliage(mesh, Ogre::Vector3(0.4f, 18.6f, -0.4f), 4.5f, atlas.leaves, 0, 4.2f);
    const Ogre::Vector3 apples[] = {{-2.5f, 12.5f, -5.2f},
                                    {2.8f, 15.8f, -5.6f},
                                    {-4.6f, 16.2f, -3.4f},
                                    {5.6f, 12.2f, -3.0f},
                                    {0.2f, 20.5f, -3.8f}};
    for (const auto& apple : apples)
        mesh.addEllipsoid(apple, Ogre::Vector3(0.6f), atlas.fruit, 0, 6, 4);
    out.addMesh("tree.mesh", mesh, "tree_tex");
}

void addBushAndRock(ModelOutput& out, const SceneryAtlas& atlas)
{
    MeshBuilder bush;
    addFoliage(bush, Ogre::Vector3(0, 2.1f, 0), 2.2f, atlas.leaves, 0, 0.8f, bushFoliage);
    addFoliage(bush, Ogre::Vector3(1.9f, 1.6f, 0.3f), 1.6f, atlas.leaves, 0, 2.2f, bushFoliage);
    addFoliage(bush, Ogre::Vector3(-1.9f, 1.5f, -0.2f), 1.5f, atlas.leaves, 0, 3.6f, bushFoliage);
    for (float x : {-1.2f, 0.6f, 1.8f})
        bush.addEllipsoid(Ogre::Vector3(x, 2.2f + 0.3f * x, -2.1f), Ogre::Vector3(0.3f), atlas.petals, 0, 6,
                          4);
    out.addMesh("bush.mesh", bush, "tree_tex");

    MeshBuilder rock;
    rock.addSurface(
        [](float u, float v)
        {
            const float longitude = 2 * pi * (u - 0.5f);
            const float latitude = pi * (v - 0.5f);
            const Ogre::Vector3 d(std::cos(latitude) * std::sin(longitude), std::sin(latitude),
                                  std::cos(latitude) * std::cos(longitude));
            const float facets = 0.85f + 0.15f * std::sin(4 * d.x + 1) * std::sin(3 * d.z + 2);
            Ogre::Vector3 p = d * Ogre::Vector3(2.4f, 1.6f, 1.8f) * facets;
            p.y = std::max(p.y, -0.2f) + 0.2f;
            return p;
        },
        12, 8, atlas.stone, 0);
    out.addMesh("rock.mesh", rock, "tree_tex");
}

void addPlanet(ModelOutput& out)
{
    TextureCanvas canvas(512, 320);
    const UvRect land =
        canvas.paintRegion(0, 0, 512, 256,
                           [](float u, float v)
                           {
                               const float n = fractalNoise(u * 16, v * 8, 111, 4, 16);
                               Colour c = mix(rgb(0x5CB845), rgb(0x3F9A38), smoothStep(0.45f, 0.6f, n));
                               // Meadows of flowers and a winding path make the roll easy to see.
                               if (valueNoise(u * 160, v * 80, 112) > 0.88f)
                                   c = valueNoise(u * 40, v * 20, 113) > 0.5f ? rgb(0xFFF27A) : rgb(0xFF9AD0);
                               const float path = std::fabs(v - 0.5f - 0.12f * std::sin(u * 2 * pi * 3));
                               if (path < 0.03f)
                                   c = rgb(0xE8C88A);
                               return c;
                           });
    const UvRect leaves = canvas.paintRegion(
        0, 256, 64, 320,
        [](float u, float v) {
            return mix(rgb(0x2F8A34), rgb(0x7ACC4A), 0.6f * v + 0.4f * fractalNoise(u * 8, v * 8, 114, 2, 8));
        });
    const UvRect cap = canvas.paintRegion(
        64, 256, 128, 320,
        [](float u, float v)
        {
            const bool dot = std::fmod(u * 6, 1.0f) < 0.35f && std::fmod(v * 4, 1.0f) < 0.4f && v > 0.55f;
            return dot ? rgb(0xFFFFFF) : (v > 0.5f ? rgb(0xE8322E) : rgb(0xF4E8D0));
        });
    out.addTexture("planeta_tex.dds", canvas);
    out.defineLitMaterial("planeta_tex", "planeta_tex.dds");

    const Ogre::Vector3 centre(0, -introPlanetRadius, 0);
    SkeletonBuilder skeleton;
    skeleton.addBone("root", -1, Ogre::Vector3::ZERO);
    skeleton.addBone("planeta", 0, centre);
    // One turn in 20 s about +X, which carries the top toward -z; a key every 9 degrees.
    skeleton.addAnimation("roda", 20.0f, 2, [](float t, Pose& pose) { pose.rotate(1, X, -360 * t / 20.0f); });
    out.addSkeleton("start_planeta.skeleton", skeleton);

    MeshBuilder mesh;
    // The poles sit on the rolling axis, so the texture's undistorted middle band is what rolls by.
    mesh.addEllipsoid(centre, Ogre::Vector3(introPlanetRadius), land, 1, 48, 32,
                      Ogre::Quaternion(Ogre::Degree(-90), Ogre::Vector3::UNIT_Z));
    // Bushes and toadstools on the side facing the camera (-x), low enough to roll past under the runners'
    // feet and to keep the planet's top the highest point.
    for (int k = 0; k < 14; ++k)
    {
        const float angle = 2 * pi * static_cast<float>(k) / 14 + 0.2f * static_cast<float>(k % 3);
        const float x = -55.0f - 18.0f * static_cast<float>(k % 3);
        const float ring = std::sqrt(introPlanetRadius * introPlanetRadius - x * x);
        const Ogre::Vector3 up =
            Ogre::Vector3(x, ring * std::cos(angle), ring * std::sin(angle)).normalisedCopy();
        const Ogre::Vector3 foot = centre + up * introPlanetRadius;
        if (k % 2 == 0)
        {
            addFoliage(mesh, foot + up * 3.0f, 7.0f - static_cast<float>(k % 3), leaves, 1,
                       static_cast<float>(k), planetFoliage);
        }
        else
        {
            mesh.addLathe(
                foot - up * 1.0f, foot + up * 5.0f, [](float) { return 1.6f; }, cap, 1, 10, 2);
            mesh.addLathe(
                foot + up * 4.0f, foot + up * 9.0f,
                [](float t) { return 5.0f * std::sqrt(std::max(0.0f, 1 - t * t)); }, cap, 1, 14, 6);
        }
    }
    out.addMesh("start_planeta.mesh", mesh, "planeta_tex", "start_planeta.skeleton");
}
} // namespace

void addScenery(ModelOutput& out)
{
    TextureCanvas canvas(256, 256);
    const SceneryAtlas atlas = paintScenery(canvas);
    out.addTexture("tree_tex.dds", canvas);
    out.defineLitMaterial("tree_tex", "tree_tex.dds");
    addTree(out, atlas);
    addBushAndRock(out, atlas);
    addPlanet(out);
}

} // namespace models
