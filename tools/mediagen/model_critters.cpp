// Butterflies and birds.
//   butterfly.mesh  wingspan 20 with the wings spread (the bind pose), origin under the body so it can sit
//                   on the ground; "moure" flutters up and lands again, ending with the wings folded.
//   bird.mesh       wingspan 6, facing -Z (the direction it flies in the game); "moure" flaps.

#include <cmath>

#include "model_output.h"
#include "models.h"

namespace models
{
namespace
{
const Ogre::Vector3 X = Ogre::Vector3::UNIT_X;
const Ogre::Vector3 Y = Ogre::Vector3::UNIT_Y;
const Ogre::Vector3 Z = Ogre::Vector3::UNIT_Z;
constexpr float pi = 3.14159265f;

enum WingedBone : unsigned short
{
    Root,
    Body,
    WingL,
    WingR
};

struct ButterflyColours
{
    Colour inner, outer, spots;
};

TextureCanvas paintButterfly(const ButterflyColours& colours, UvRect& wing, UvRect& body)
{
    TextureCanvas canvas(128, 128);
    wing = canvas.paintRegion(0, 0, 128, 96,
                              [&](float u, float v)
                              {
                                  // Lat-long over a flat wing: v near 0.5 is the wing's rim, u runs around
                                  // it.
                                  const float rim = std::fabs(v - 0.5f) * 2;
                                  Colour c = mix(colours.outer, colours.inner, smoothStep(0.25f, 0.7f, rim));
                                  const float vein = std::fabs(std::sin(u * 2 * pi * 6));
                                  if (vein < 0.08f && rim > 0.3f)
                                      c = rgb(0x1A1410);
                                  if (rim < 0.22f && std::fmod(u * 18, 1.0f) < 0.35f)
                                      c = colours.spots;
                                  return c;
                              });
    body = canvas.paintRegion(0, 96, 128, 128,
                              [](float, float v) { return mix(rgb(0x20180F), rgb(0x4A3A2A), v); });
    return canvas;
}

void addButterfly(ModelOutput& out)
{
    UvRect wing, body;
    out.addTexture("butterfly1.dds",
                   paintButterfly({rgb(0xFF9A1E), rgb(0x2A1A10), rgb(0xFFFFFF)}, wing, body));
    out.addTexture("butterfly2.dds",
                   paintButterfly({rgb(0x4AA8FF), rgb(0x5A2A9A), rgb(0xFFF27A)}, wing, body));
    out.defineLitMaterial("butterfly1", "butterfly1.dds");
    out.defineLitMaterial("butterfly2", "butterfly2.dds");

    constexpr float bodyHeight = 0.6f;
    SkeletonBuilder skeleton;
    skeleton.addBone("root", -1, Ogre::Vector3::ZERO);
    skeleton.addBone("body", Root, Ogre::Vector3(0, bodyHeight, 0));
    skeleton.addBone("wing_l", Body, Ogre::Vector3(0.3f, bodyHeight, 0));
    skeleton.addBone("wing_r", Body, Ogre::Vector3(-0.3f, bodyHeight, 0));
    // 1.5 s: five beats while it rises about 9 units and circles, then it settles back with its wings
    // folded up, the pose it rests in until a player comes near again.
    skeleton.addAnimation("moure", 1.5f, 40,
                          [](float t, Pose& pose)
                          {
                              const float s = t / 1.5f;
                              const float flight = std::sin(pi * s);
                              const float spread = std::fabs(std::sin(5 * pi * s));
                              const float folded = 85;
                              const float open =
                                  folded - 100 * spread * smoothStep(0, 0.08f, s) * smoothStep(1.0f, 0.9f, s);
                              pose.translate(Body, Ogre::Vector3(4 * std::sin(2 * pi * s), 9 * flight,
                                                                 3 * (1 - std::cos(2 * pi * s))));
                              pose.rotate(Body, Y, 40 * std::sin(2 * pi * s));
                              pose.rotate(WingL, Z, open);
                              pose.rotate(WingR, Z, -open);
                          });
    out.addSkeleton("butterfly.skeleton", skeleton);

    MeshBuilder mesh;
    mesh.addCapsule(Ogre::Vector3(0, bodyHeight, -2.2f), Ogre::Vector3(0, bodyHeight, 2.2f), 0.55f, body,
                    Body, 8, 10);
    for (float side : {1.0f, -1.0f})
    {
        mesh.addCapsule(Ogre::Vector3(0.2f * side, bodyHeight + 0.3f, 2.4f),
                        Ogre::Vector3(1.2f * side, bodyHeight + 1.2f, 4.6f), 0.08f, body, Body, 4, 4);
        const WingedBone bone = side > 0 ? WingL : WingR;
        mesh.addEllipsoid(Ogre::Vector3(5.2f * side, bodyHeight, 1.6f), Ogre::Vector3(4.8f, 0.12f, 3.6f),
                          wing, bone, 18, 10, Ogre::Quaternion(Ogre::Degree(-25 * side), Y));
        mesh.addEllipsoid(Ogre::Vector3(3.6f * side, bodyHeight, -2.4f), Ogre::Vector3(3.4f, 0.12f, 2.6f),
                          wing, bone, 16, 10, Ogre::Quaternion(Ogre::Degree(30 * side), Y));
    }
    out.addMesh("butterfly.mesh", mesh, "butterfly1", "butterfly.skeleton");
}

void addBird(ModelOutput& out)
{
    TextureCanvas canvas(128, 128);
    const UvRect feathers = canvas.paintRegion(
        0, 0, 64, 64,
        [](float u, float v)
        { return mix(rgb(0x2F6FC8), rgb(0x5AA0F0), v * 0.6f + 0.2f * std::sin(6.2831853f * 5 * u)); });
    const UvRect belly = canvas.paintRegion(
        64, 0, 128, 64,
        [](float, float v) { return mix(rgb(0xF8F4EC), rgb(0x2F6FC8), smoothStep(0.45f, 0.65f, v)); });
    const UvRect beak = canvas.paintRegion(0, 64, 64, 128, [](float, float) { return rgb(0xFFA020); });
    const UvRect eye = canvas.paintRegion(64, 64, 128, 128, [](float, float) { return rgb(0x101010); });
    out.addTexture("bird_tex.dds", canvas);
    out.defineLitMaterial("bird_tex", "bird_tex.dds");

    SkeletonBuilder skeleton;
    skeleton.addBone("root", -1, Ogre::Vector3::ZERO);
    skeleton.addBone("body", Root, Ogre::Vector3::ZERO);
    skeleton.addBone("wing_l", Body, Ogre::Vector3(0.5f, 0.2f, 0));
    skeleton.addBone("wing_r", Body, Ogre::Vector3(-0.5f, 0.2f, 0));
    skeleton.addAnimation("moure", 0.6f, 30,
                          [](float t, Pose& pose)
                          {
                              const float p = t / 0.6f;
                              pose.rotate(WingL, Z, 40 * wave(p));
                              pose.rotate(WingR, Z, -40 * wave(p));
                              pose.translate(Body, Ogre::Vector3(0, -0.15f * wave(p), 0));
                          });
    out.addSkeleton("bird.skeleton", skeleton);

    MeshBuilder mesh;
    const Ogre::Quaternion backward(Ogre::Degree(180), Y);
    // A round little body with a big head, so it reads as a bird from the side at three units wide.
    mesh.addEllipsoid(Ogre::Vector3(0, 0, 0.2f), Ogre::Vector3(0.62f, 0.6f, 0.95f), belly, Body, 16, 10,
                      backward);
    mesh.addEllipsoid(Ogre::Vector3(0, 0.55f, -0.85f), Ogre::Vector3(0.55f), feathers, Body, 12, 8);
    mesh.addLathe(
        Ogre::Vector3(0, 0.5f, -1.3f), Ogre::Vector3(0, 0.42f, -1.9f), [](float t) { return 0.2f * (1 - t); },
        beak, Body, 8, 2);
    for (float side : {1.0f, -1.0f})
    {
        mesh.addEllipsoid(Ogre::Vector3(0.33f * side, 0.72f, -1.18f), Ogre::Vector3(0.1f), eye, Body, 6, 4);
        mesh.addEllipsoid(Ogre::Vector3(1.75f * side, 0.25f, 0.2f), Ogre::Vector3(1.3f, 0.1f, 0.65f),
                          feathers, side > 0 ? WingL : WingR, 14, 8,
                          Ogre::Quaternion(Ogre::Degree(12 * side), Y));
    }
    // The tail fans out backward and up.
    mesh.addEllipsoid(Ogre::Vector3(0, 0.3f, 1.3f), Ogre::Vector3(0.5f, 0.08f, 0.6f), feathers, Body, 10, 6,
                      Ogre::Quaternion(Ogre::Degree(-20), X));
    out.addMesh("bird.mesh", mesh, "bird_tex", "bird.skeleton");
}
} // namespace

void addCritters(ModelOutput& out)
{
    addButterfly(out);
    addBird(out);
}

} // namespace models
