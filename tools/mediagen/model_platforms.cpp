// The planks and their hardware. Sizes are fixed by the physics: the platform code scales a plank's node
// so that its picture is as long and as thick as its physics box.
//   box.mesh     10 x 13.333 x 20, centred (scaled by (L/10, 0.15, 0.5): 2 units thick in the world).
//   terra.mesh   20 long, top face at +1 and underside at -1, 10 deep.
//   tronc_N.mesh a log N long of radius 1 along x.
//   rail.mesh    1 long along x (scaled to 10 per rail segment), eix/eix_mov/extrem the hubs and end caps.

#include <cmath>

#include "model_output.h"
#include "models.h"

namespace models
{
namespace
{
const Ogre::Vector3 X = Ogre::Vector3::UNIT_X;
const Ogre::Vector3 Z = Ogre::Vector3::UNIT_Z;
constexpr float pi = 3.14159265f;

Colour wood(float u, float v, std::uint32_t seed)
{
    const float grain = fractalNoise(u * 3, v * 40, seed, 3);
    const float lines = 0.5f + 0.5f * std::sin(v * 90 + grain * 12);
    return mix(rgb(0xC98E4E), rgb(0x9A6230), lines * 0.6f + grain * 0.3f);
}

void addBox(ModelOutput& out)
{
    TextureCanvas canvas(256, 256);
    // The front (the face the camera sees) is a plank with a dark rim and a bolt near each end.
    const UvRect front = canvas.paintRegion(
        0, 0, 256, 128,
        [](float u, float v)
        {
            Colour c = wood(u, v, 51);
            const float edge = std::min(std::min(u, 1 - u) * 10, std::min(v, 1 - v));
            c = mix(scaled(rgb(0x6A3E1C), 1), c, smoothStep(0.02f, 0.12f, edge));
            for (float boltU : {0.06f, 0.94f})
            {
                const float d = std::hypot((u - boltU) * 10, (v - 0.5f) * 1.0f);
                if (d < 0.16f)
                    c = mix(rgb(0x5A5E66), rgb(0xC8CCD4), smoothStep(0.16f, 0.02f, d) * 0.8f);
            }
            return c;
        });
    const UvRect top =
        canvas.paintRegion(0, 128, 256, 192, [](float u, float v) { return wood(u, v * 0.3f, 52); });
    const UvRect end =
        canvas.paintRegion(0, 192, 64, 256,
                           [](float u, float v)
                           {
                               const float r = std::hypot(u - 0.5f, v - 0.5f);
                               return mix(rgb(0xDDB07A), rgb(0xA87040), 0.5f + 0.5f * std::sin(r * 60));
                           });
    out.addTexture("box_tex.dds", canvas);
    out.defineLitMaterial("box_tex", "box_tex.dds");
    MeshBuilder mesh;
    const float halfHeight = 13.333333f / 2;
    mesh.addBox(Ogre::Vector3(-5, -halfHeight, -10), Ogre::Vector3(5, halfHeight, 10),
                {end, end, top, top, front, front}, 0);
    out.addMesh("box.mesh", mesh, "box_tex");
}

void addGround(ModelOutput& out)
{
    TextureCanvas canvas(256, 256);
    const Colour grass = rgb(0x6CC24A);
    const Colour soil = rgb(0x8A5A34);
    const UvRect front = canvas.paintRegion(0, 0, 256, 128,
                                            [&](float u, float v)
                                            {
                                                // Grass hangs over the top of the soil in a jagged fringe;
                                                // pebbles in the soil.
                                                const float fringe = 0.72f -
                                                                     0.12f * std::fabs(std::sin(u * 60)) -
                                                                     0.05f * valueNoise(u * 40, 0, 61);
                                                const float n = fractalNoise(u * 30, v * 8, 62, 3);
                                                Colour c = scaled(soil, 0.85f + 0.3f * n);
                                                if (valueNoise(u * 80, v * 16, 63) > 0.82f)
                                                    c = rgb(0xB09070);
                                                if (v > fringe)
                                                    c = scaled(grass, 0.9f + 0.2f * v);
                                                if (v < 0.05f)
                                                    c = scaled(c, 0.7f);
                                                return c;
                                            });
    const UvRect top =
        canvas.paintRegion(0, 128, 256, 256,
                           [&](float u, float v)
                           {
                               Colour c = scaled(grass, 0.85f + 0.3f * fractalNoise(u * 40, v * 10, 64, 3));
                               if (valueNoise(u * 60, v * 14, 65) > 0.86f)
                                   c = rgb(0xFFF07A);
                               return c;
                           });
    out.addTexture("terra_tex.dds", canvas);
    out.defineLitMaterial("terra_tex", "terra_tex.dds");
    MeshBuilder mesh;
    mesh.addBox(Ogre::Vector3(-10, -1, -5), Ogre::Vector3(10, 1, 5), {front, front, front, top, front, front},
                0);
    out.addMesh("terra.mesh", mesh, "terra_tex");
}

// Bark around a log, with a marker band and a tint per use. band: 0 none, else the band's colour.
TextureCanvas paintLog(const Colour& tint, float tintAmount, const Colour* band, UvRect& bark, UvRect& rings)
{
    TextureCanvas canvas(128, 192);
    bark = canvas.paintRegion(0, 0, 128, 128,
                              [&](float u, float v)
                              {
                                  const float ridges = fractalNoise(u * 10, v * 3, 71, 3, 10);
                                  Colour c =
                                      mix(rgb(0x7A4E2A), rgb(0x4E3018), smoothStep(0.35f, 0.7f, ridges));
                                  c = mix(c, tint, tintAmount);
                                  if (band && std::fabs(v - 0.5f) < 0.08f)
                                      c = mix(*band, c, smoothStep(0.06f, 0.08f, std::fabs(v - 0.5f)) * 0.6f);
                                  return c;
                              });
    // The end discs are parametrised by angle (u) and radius (r).
    rings = canvas.paintRegion(0, 128, 64, 192,
                               [&](float u, float r)
                               {
                                   Colour c = mix(
                                       rgb(0xF0D2A0), rgb(0xC89460),
                                       0.5f + 0.5f * std::sin(r * 28 + valueNoise(u * 12, r * 3, 72, 12)));
                                   if (r > 0.86f)
                                       c = mix(rgb(0x5A3A20), tint, tintAmount);
                                   return c;
                               });
    return canvas;
}

void addLogs(ModelOutput& out)
{
    UvRect bark, rings;
    const Colour pale = rgb(0xF4EBD0);
    const Colour none = rgb(0x000000);
    out.addTexture("tronc.dds", paintLog(none, 0, nullptr, bark, rings));
    out.addTexture("tronc0.dds", paintLog(none, 0, &pale, bark, rings));
    const Colour red = rgb(0xFF6A20);
    const Colour blue = rgb(0x3A7CFF);
    out.addTexture("tronc1.dds", paintLog(red, 0.45f, &red, bark, rings));
    out.addTexture("tronc2.dds", paintLog(blue, 0.45f, &blue, bark, rings));
    for (const char* name : {"tronc", "tronc0", "tronc1", "tronc2"})
        out.defineLitMaterial(name, std::string(name) + ".dds");

    for (int length : {20, 30, 40, 50})
    {
        MeshBuilder mesh;
        const float half = static_cast<float>(length) / 2;
        // The bark repeats every 5 units, so long logs keep the grain's scale.
        const int segments = length / 5;
        for (int s = 0; s < segments; ++s)
        {
            const float x0 = -half + 5.0f * static_cast<float>(s);
            mesh.addLathe(
                Ogre::Vector3(x0, 0, 0), Ogre::Vector3(x0 + 5, 0, 0), [](float) { return 1.0f; }, bark, 0, 20,
                2);
        }
        for (float side : {1.0f, -1.0f})
        {
            const Ogre::Vector3 centre(half * side, 0, 0);
            mesh.addSurface(
                [=](float u, float v)
                {
                    const float a = 2 * pi * u * side;
                    return centre + Ogre::Vector3(0, std::sin(a), std::cos(a)) * v;
                },
                20, 2, rings, 0);
        }
        out.addMesh("tronc_" + std::to_string(length) + ".mesh", mesh, "tronc");
    }
}

// Hubs and rails share one metal atlas.
void addHardware(ModelOutput& out)
{
    TextureCanvas canvas(128, 128);
    const UvRect steel = canvas.paintRegion(
        0, 0, 64, 64,
        [](float u, float v)
        { return mix(rgb(0x8C939E), rgb(0xD6DCE4), 0.5f + 0.5f * std::sin(6.2831853f * 2 * u + 9 * v)); });
    // Discs are parametrised by angle (u) and radius (v).
    const UvRect face = canvas.paintRegion(64, 0, 128, 64,
                                           [](float, float r)
                                           {
                                               Colour c = r < 0.55f ? rgb(0xE04A3A) : rgb(0xB8BEC8);
                                               if (std::fabs(r - 0.75f) < 0.05f)
                                                   c = rgb(0x6A707A);
                                               return c;
                                           });
    const UvRect yellow = canvas.paintRegion(
        0, 64, 64, 128, [](float, float v) { return mix(rgb(0xF2B81C), rgb(0xFFE066), v); });
    const UvRect rail = canvas.paintRegion(
        64, 64, 128, 128,
        [](float u, float) { return mix(rgb(0x5A616C), rgb(0xA8B0BC), 0.5f + 0.5f * std::cos(u * 2 * pi)); });
    out.addTexture("metal_parts.dds", canvas);
    Surface metal;
    metal.specular = 0.5f;
    metal.shininess = 30;
    for (const char* name : {"eix_tex", "eix_mov_tex", "rail_tex", "extrem_tex"})
        out.defineLitMaterial(name, "metal_parts.dds", metal);

    auto hub = [&](MeshBuilder& mesh)
    {
        // A drum facing the camera (-Z), with a painted cap and a bolt head.
        mesh.addLathe(
            Ogre::Vector3(0, 0, 0.6f), Ogre::Vector3(0, 0, -0.4f), [](float) { return 1.2f; }, steel, 0, 24,
            2);
        mesh.addSurface(
            [](float u, float v)
            {
                const float a = 2 * pi * u;
                return Ogre::Vector3(std::cos(a), std::sin(a), 0) * (1.2f * v) + Ogre::Vector3(0, 0, -0.4f);
            },
            24, 3, face, 0);
        mesh.addLathe(
            Ogre::Vector3(0, 0, -0.4f), Ogre::Vector3(0, 0, -0.9f),
            [](float t) { return 0.45f * std::sqrt(std::max(0.0f, 1 - t * t)); }, steel, 0, 6, 4);
    };
    MeshBuilder axle;
    hub(axle);
    out.addMesh("eix.mesh", axle, "eix_tex");

    MeshBuilder sliding;
    hub(sliding);
    for (float side : {1.0f, -1.0f})
    {
        sliding.addLathe(
            Ogre::Vector3(1.1f * side, 0, -0.5f), Ogre::Vector3(1.9f * side, 0, -0.5f),
            [](float t) { return t < 0.05f ? 0.22f * t / 0.05f : 0.22f; }, yellow, 0, 10, 3);
        sliding.addLathe(
            Ogre::Vector3(1.9f * side, 0, -0.5f), Ogre::Vector3(2.8f * side, 0, -0.5f),
            [](float t) { return 0.6f * (1 - t); }, yellow, 0, 12, 3);
    }
    out.addMesh("eix_mov.mesh", sliding, "eix_mov_tex");

    MeshBuilder railMesh;
    railMesh.addLathe(
        Ogre::Vector3(-0.5f, 0, 0), Ogre::Vector3(0.5f, 0, 0), [](float) { return 0.3f; }, rail, 0, 16, 1);
    out.addMesh("rail.mesh", railMesh, "rail_tex");

    MeshBuilder cap;
    cap.addEllipsoid(Ogre::Vector3::ZERO, Ogre::Vector3(0.8f), steel, 0, 20, 12);
    cap.addTorus(Ogre::Vector3(0, 0, -0.15f), Z, 0.72f, 0.12f, yellow, 0, 20, 6);
    out.addMesh("extrem.mesh", cap, "extrem_tex");
}
} // namespace

void addPlatformPieces(ModelOutput& out)
{
    addBox(out);
    addGround(out);
    addLogs(out);
    addHardware(out);
}

} // namespace models
