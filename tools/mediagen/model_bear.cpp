// The bear: the players' character, the results and end-scene bears and the two intro bears. All share one
// geometry and one atlas layout, so "Pimbear_tex" and "PimbearPanda_tex" swap on any of them.
//
// Mesh units: soles at y 7.1 and ear tops at y 107 (the game scales by 0.07, so the soles sit 0.5 world
// units above the node, where the physics puts the ground), facing +Z, model +X is the bear's own left.

#include <cmath>

#include "model_output.h"
#include "models.h"

namespace models
{
namespace
{
enum BearBone : unsigned short
{
    Root,
    Body,
    Head,
    ArmL,
    ArmR,
    LegL,
    LegR
};

const Ogre::Vector3 X = Ogre::Vector3::UNIT_X;
const Ogre::Vector3 Y = Ogre::Vector3::UNIT_Y;
const Ogre::Vector3 Z = Ogre::Vector3::UNIT_Z;

const Ogre::Vector3 headCentre(0, 81, 0);
constexpr float headRadius = 24;
constexpr float soleHeight = 7.1f;

// Direction from the head's centre of each eye (side +1: the bear's left, model +X).
Ogre::Vector3 eyeDirection(float side)
{
    return Ogre::Vector3(0.36f * side, 0.2f, 0.91f).normalisedCopy();
}

struct BearAtlas
{
    UvRect head, body, snout, limb, foot, ear, eye, nose, tail;
};

// Direction on the unit sphere of a lat-long texture position (u 0.5 is the front, +Z).
Ogre::Vector3 sphereDirection(float u, float v)
{
    const float longitude = 6.2831853f * (u - 0.5f);
    const float latitude = 3.14159265f * (v - 0.5f);
    return {std::cos(latitude) * std::sin(longitude), std::sin(latitude),
            std::cos(latitude) * std::cos(longitude)};
}

// 1 inside an ellipse of radii (a, b) around the direction centre seen on the sphere, soft at the rim.
float spot(const Ogre::Vector3& direction, const Ogre::Vector3& centre, float a, float b,
           float tiltDegrees = 0)
{
    const Ogre::Vector3 side = Y.crossProduct(centre).normalisedCopy();
    const Ogre::Vector3 up = centre.crossProduct(side).normalisedCopy();
    const float tilt = tiltDegrees * 0.0174533f;
    float x = direction.dotProduct(side);
    float y = direction.dotProduct(up);
    if (direction.dotProduct(centre) < 0)
        return 0;
    const float rx = x * std::cos(tilt) + y * std::sin(tilt);
    const float ry = -x * std::sin(tilt) + y * std::cos(tilt);
    const float d = std::sqrt((rx * rx) / (a * a) + (ry * ry) / (b * b));
    return 1 - smoothStep(0.85f, 1.0f, d);
}

Colour furNoise(const Colour& base, float u, float v, std::uint32_t seed)
{
    const float n = fractalNoise(u * 24, v * 12, seed, 3, 24);
    return scaled(base, 0.9f + 0.2f * n);
}

BearAtlas paintBear(TextureCanvas& canvas, bool panda)
{
    const Colour fur = panda ? rgb(0xF4F1EA) : rgb(0xA8683A);
    const Colour dark = panda ? rgb(0x24242A) : rgb(0x7A4524);
    const Colour cream = panda ? rgb(0xFFFFFF) : rgb(0xF2D6A8);
    const Colour blush = rgb(0xF28C8C);
    BearAtlas atlas;
    atlas.head = canvas.paintRegion(
        0, 0, 256, 256,
        [&](float u, float v)
        {
            const Ogre::Vector3 d = sphereDirection(u, v);
            Colour c = furNoise(fur, u, v, 11);
            c = mix(c, blush,
                    0.55f * spot(d, Ogre::Vector3(0.55f, -0.12f, 0.83f).normalisedCopy(), 0.16f, 0.11f));
            c = mix(c, blush,
                    0.55f * spot(d, Ogre::Vector3(-0.55f, -0.12f, 0.83f).normalisedCopy(), 0.16f, 0.11f));
            if (panda)
            {
                c = mix(c, dark, spot(d, eyeDirection(1), 0.2f, 0.15f, -30));
                c = mix(c, dark, spot(d, eyeDirection(-1), 0.2f, 0.15f, 30));
            }
            else
            {
                // A lighter face mask around the snout.
                c = mix(c, cream, 0.5f * spot(d, Ogre::Vector3(0, -0.15f, 1).normalisedCopy(), 0.42f, 0.3f));
            }
            return c;
        });
    atlas.body = canvas.paintRegion(
        256, 0, 512, 256,
        [&](float u, float v)
        {
            const Ogre::Vector3 d = sphereDirection(u, v);
            Colour c = furNoise(fur, u, v, 12);
            if (panda)
                return mix(c, dark, smoothStep(0.66f, 0.72f, v));
            return mix(c, cream, spot(d, Ogre::Vector3(0, -0.1f, 1).normalisedCopy(), 0.5f, 0.62f));
        });
    atlas.snout =
        canvas.paintRegion(0, 256, 128, 384,
                           [&](float u, float v)
                           {
                               const Ogre::Vector3 d = sphereDirection(u, v);
                               Colour c = furNoise(cream, u, v, 13);
                               // The mouth: a short line below the nose that curls up at both ends.
                               const float x = d.x;
                               const float mouthY = -0.42f + 1.4f * x * x;
                               if (d.z > 0.3f && std::fabs(x) < 0.38f && std::fabs(d.y - mouthY) < 0.05f)
                                   c = rgb(0x4A2A1C);
                               if (d.z > 0.3f && std::fabs(x) < 0.03f && d.y > -0.44f && d.y < 0.1f)
                                   c = rgb(0x4A2A1C);
                               return c;
                           });
    atlas.limb = canvas.paintRegion(128, 256, 256, 384,
                                    [&](float u, float v) { return furNoise(panda ? dark : fur, u, v, 14); });
    atlas.foot = canvas.paintRegion(
        256, 256, 384, 384,
        [&](float u, float v)
        {
            const Colour base = furNoise(panda ? dark : fur, u, v, 15);
            return v < 0.3f ? mix(base, panda ? rgb(0x55555E) : cream, smoothStep(0.3f, 0.22f, v)) : base;
        });
    atlas.ear =
        canvas.paintRegion(384, 256, 512, 384,
                           [&](float u, float v)
                           {
                               const Ogre::Vector3 d = sphereDirection(u, v);
                               Colour c = furNoise(panda ? dark : fur, u, v, 16);
                               return mix(c, panda ? rgb(0x3A3A44) : rgb(0xE8B890), spot(d, Z, 0.55f, 0.55f));
                           });
    atlas.eye = canvas.paintRegion(
        0, 384, 64, 448,
        [&](float u, float v)
        {
            const Ogre::Vector3 d = sphereDirection(u, v);
            const Colour pupil = rgb(0x15110F);
            return mix(pupil, rgb(0xFFFFFF),
                       spot(d, Ogre::Vector3(0.25f, 0.45f, 0.86f).normalisedCopy(), 0.28f, 0.28f));
        });
    atlas.nose = canvas.paintRegion(
        64, 384, 128, 448,
        [&](float u, float v)
        {
            const Ogre::Vector3 d = sphereDirection(u, v);
            return mix(rgb(0x2A1A14), rgb(0x8A6A60),
                       spot(d, Ogre::Vector3(0.2f, 0.6f, 0.77f).normalisedCopy(), 0.2f, 0.15f));
        });
    atlas.tail = canvas.paintRegion(
        128, 384, 192, 448, [&](float u, float v) { return furNoise(panda ? fur : cream, u, v, 17); });
    return atlas;
}

void buildSkeleton(SkeletonBuilder& skeleton)
{
    skeleton.addBone("root", -1, Ogre::Vector3::ZERO);
    skeleton.addBone("body", Root, Ogre::Vector3(0, 30, 0));
    skeleton.addBone("head", Body, Ogre::Vector3(0, 62, 0));
    skeleton.addBone("arm_l", Body, Ogre::Vector3(18, 57, 1));
    skeleton.addBone("arm_r", Body, Ogre::Vector3(-18, 57, 1));
    skeleton.addBone("leg_l", Body, Ogre::Vector3(10, 27, 0));
    skeleton.addBone("leg_r", Body, Ogre::Vector3(-10, 27, 0));
}

void buildGeometry(MeshBuilder& mesh, const BearAtlas& atlas)
{
    mesh.addEllipsoid(Ogre::Vector3(0, 42, 0), Ogre::Vector3(21.5f, 23, 16.5f), atlas.body, Body, 28, 18);
    mesh.addEllipsoid(Ogre::Vector3(0, 33, -14), Ogre::Vector3(4.5f, 4.5f, 4.5f), atlas.tail, Body, 12, 8);
    mesh.addEllipsoid(headCentre, Ogre::Vector3(headRadius, headRadius * 0.96f, headRadius * 0.88f),
                      atlas.head, Head, 32, 20);
    for (float side : {1.0f, -1.0f})
    {
        mesh.addEllipsoid(Ogre::Vector3(15.5f * side, 98.5f, -3), Ogre::Vector3(8.5f, 8.5f, 4.5f), atlas.ear,
                          Head, 16, 10, Ogre::Quaternion(Ogre::Degree(-18 * side), Z));
        const Ogre::Vector3 eye = eyeDirection(side);
        mesh.addEllipsoid(headCentre + eye * (headRadius * 0.9f), Ogre::Vector3(3.2f, 4.3f, 2.6f), atlas.eye,
                          Head, 12, 8, Z.getRotationTo(eye));
        const BearBone arm = side > 0 ? ArmL : ArmR;
        mesh.addCapsule(Ogre::Vector3(18 * side, 56, 1), Ogre::Vector3(19.5f * side, 38, 4), 5.6f, atlas.limb,
                        arm);
        const BearBone leg = side > 0 ? LegL : LegR;
        mesh.addCapsule(Ogre::Vector3(10 * side, 26, 0), Ogre::Vector3(10 * side, 15.5f, 1), 7.5f, atlas.limb,
                        leg);
        mesh.addEllipsoid(Ogre::Vector3(10 * side, soleHeight + 5, 4), Ogre::Vector3(7.5f, 5, 10.5f),
                          atlas.foot, leg, 16, 10);
    }
    mesh.addEllipsoid(Ogre::Vector3(0, 73.5f, 16.5f), Ogre::Vector3(10.5f, 8, 7), atlas.snout, Head, 18, 12);
    mesh.addEllipsoid(Ogre::Vector3(0, 78, 22.5f), Ogre::Vector3(4.2f, 3.2f, 2.8f), atlas.nose, Head, 12, 8);
}

// Mirrors a gesture: side +1 uses the bear's left (model +X), -1 its right.
BearBone arm(float side)
{
    return side > 0 ? ArmL : ArmR;
}

void idlePose(float t, Pose& pose)
{
    const float p = t / 2.0f;
    pose.scale(Body, Ogre::Vector3(1 + 0.015f * wave(p), 1 + 0.02f * wave(p), 1 + 0.025f * wave(p)));
    pose.rotate(Head, X, 3 * wave(p + 0.25f));
    pose.rotate(Head, Z, 3 * wave(p * 1 + 0.5f));
    pose.rotate(ArmL, Z, 6 + 3 * wave(p));
    pose.rotate(ArmR, Z, -6 - 3 * wave(p));
}

void runPose(float t, float length, Pose& pose)
{
    const float p = t / length;
    const float swing = wave(p);
    pose.rotate(Body, X, 12);
    pose.rotate(Body, Y, 8 * swing);
    pose.translate(Body, Ogre::Vector3(0, 2.5f * (0.5f - 0.5f * std::cos(12.566371f * p)), 0));
    pose.rotate(Head, X, -8);
    pose.rotate(Head, Y, -6 * swing);
    pose.rotate(LegL, X, -45 * swing);
    pose.rotate(LegR, X, 45 * swing);
    pose.rotate(ArmL, X, 40 * swing);
    pose.rotate(ArmR, X, -40 * swing);
    pose.rotate(ArmL, Z, 12);
    pose.rotate(ArmR, Z, -12);
}

void jumpPose(float t, Pose& pose)
{
    const float p = t / 0.6f;
    pose.rotate(Body, X, -6);
    pose.rotate(Head, X, -10);
    pose.rotate(LegL, X, -40 + 6 * wave(p));
    pose.rotate(LegR, X, 25 - 6 * wave(p));
    pose.rotate(ArmL, Z, 112 + 8 * wave(p));
    pose.rotate(ArmR, Z, -112 - 8 * wave(p));
}

void fallPose(float t, float length, Pose& pose)
{
    const float p = t / length;
    pose.rotate(Body, Z, 5 * wave(p));
    pose.rotate(Head, X, 12);
    pose.rotate(ArmL, Z, 120 + 22 * wave(p));
    pose.rotate(ArmR, Z, -120 + 22 * wave(p + 0.5f));
    pose.rotate(ArmL, X, 20 * wave(p));
    pose.rotate(ArmR, X, -20 * wave(p));
    pose.rotate(LegL, X, 30 * wave(p));
    pose.rotate(LegR, X, -30 * wave(p));
    pose.rotate(LegL, Z, 10);
    pose.rotate(LegR, Z, -10);
}

void struckPose(float t, Pose& pose)
{
    const float p = t / 1.0f;
    pose.rotate(Body, X, -28 + 4 * wave(2 * p));
    pose.rotate(Body, Z, 6 * wave(p));
    pose.rotate(Head, X, -22);
    pose.rotate(Head, Y, 25 * wave(2 * p));
    pose.rotate(ArmL, Z, 80 + 15 * wave(2 * p));
    pose.rotate(ArmR, Z, -80 + 15 * wave(2 * p));
    pose.rotate(LegL, Z, 25 + 10 * wave(2 * p + 0.25f));
    pose.rotate(LegR, Z, -25 + 10 * wave(2 * p + 0.25f));
    pose.rotate(LegL, X, -20);
    pose.rotate(LegR, X, -20);
}

void winPose(float t, Pose& pose)
{
    const float p = t / 1.2f;
    const float hop = std::fabs(std::sin(6.2831853f * p));
    pose.translate(Body, Ogre::Vector3(0, 7 * hop, 0));
    pose.rotate(Head, X, -12);
    pose.rotate(Head, Z, 8 * wave(p));
    pose.rotate(ArmL, Z, 118 + 15 * wave(2 * p));
    pose.rotate(ArmR, Z, -118 + 15 * wave(2 * p));
    pose.rotate(LegL, X, -25 * hop);
    pose.rotate(LegR, X, -25 * hop);
    pose.scale(Body, Ogre::Vector3(1, 1 + 0.05f * hop, 1));
}

void losePose(float t, Pose& pose)
{
    const float p = t / 2.0f;
    pose.translate(Body, Ogre::Vector3(0, -1.5f, 0));
    pose.rotate(Body, X, 10);
    pose.rotate(Body, Z, 3 * wave(p));
    pose.rotate(Head, X, 28);
    pose.rotate(Head, Y, 14 * wave(p));
    pose.rotate(ArmL, Z, -6);
    pose.rotate(ArmR, Z, 6);
    pose.rotate(ArmL, X, -12 + 3 * wave(p));
    pose.rotate(ArmR, X, -12 + 3 * wave(p));
    pose.rotate(LegR, X, -22 * std::max(0.0f, wave(p)));
}

void wavePose(float t, float side, Pose& pose)
{
    const float p = t / 1.2f;
    pose.rotate(Body, Z, 4 * side);
    pose.rotate(Head, Z, -8 * side);
    pose.rotate(arm(side), Z, side * (125 + 25 * wave(2 * p)));
    pose.rotate(arm(side), X, -10);
    pose.rotate(arm(-side), Z, -8 * side);
}

void petPose(float t, float side, Pose& pose)
{
    const float p = t / 1.5f;
    pose.rotate(Body, Z, -18 * side);
    pose.rotate(Head, Z, -12 * side);
    pose.rotate(Head, X, 12 + 4 * wave(p));
    pose.rotate(arm(side), Z, side * (62 + 8 * wave(2 * p)));
    pose.rotate(arm(side), X, 28 * wave(p));
    pose.rotate(arm(-side), Z, -10 * side);
    pose.rotate(side > 0 ? LegR : LegL, Z, -8 * side);
}

void addGameAnimations(SkeletonBuilder& skeleton)
{
    constexpr float keys = 30;
    skeleton.addAnimation("respirar", 2.0f, keys, idlePose);
    skeleton.addAnimation("correr", 0.6f, keys, [](float t, Pose& pose) { runPose(t, 0.6f, pose); });
    skeleton.addAnimation("saltar", 0.6f, keys, jumpPose);
    skeleton.addAnimation("caure", 0.8f, keys, [](float t, Pose& pose) { fallPose(t, 0.8f, pose); });
    skeleton.addAnimation("rebre_front", 1.0f, keys, struckPose);
    skeleton.addAnimation("win", 1.2f, keys, winPose);
    skeleton.addAnimation("lose", 2.0f, keys, losePose);
    skeleton.addAnimation("saludar_d", 1.2f, keys, [](float t, Pose& pose) { wavePose(t, 1, pose); });
    skeleton.addAnimation("saludar_e", 1.2f, keys, [](float t, Pose& pose) { wavePose(t, -1, pose); });
    skeleton.addAnimation("acariciar_d", 1.5f, keys, [](float t, Pose& pose) { petPose(t, 1, pose); });
    skeleton.addAnimation("acariciar_e", 1.5f, keys, [](float t, Pose& pose) { petPose(t, -1, pose); });
}

// The intro bears' tumble, 8 s: trip, fly backward off the left of the screen with a back flip, wait out
// of sight (the costume swap happens there, after 6 s), drop back onto the spot and land in the running
// pose that the following cut to "correr" starts from. spotZ is the bear's depth on the planet.
void introFallPose(float t, float spotZ, Pose& pose)
{
    constexpr float runLength = 0.6f;
    Pose run(pose);
    runPose(0, runLength, run);
    Pose flail(pose);
    fallPose(t, 0.8f, flail);
    const float hiddenZ = -430 - spotZ;
    if (t < 0.35f)
    {
        pose = Pose::blend(run, flail, t / 0.35f);
        pose.rotate(Root, X, 25 * t / 0.35f);
    }
    else if (t < 3.2f)
    {
        const float s = (t - 0.35f) / (3.2f - 0.35f);
        pose = flail;
        pose.translate(
            Root, Ogre::Vector3(0, 450 * std::sin(1.5708f * s) + 60 * std::sin(3.14159f * s), hiddenZ * s));
        pose.rotate(Root, X, 25 - 745 * smoothStep(0, 1, s));
    }
    else if (t < 6.5f)
    {
        pose = flail;
        pose.translate(Root, Ogre::Vector3(0, 450, hiddenZ));
    }
    else if (t < 6.55f)
    {
        pose = flail;
        pose.translate(Root, Ogre::Vector3(0, 450, hiddenZ * (6.55f - t) / 0.05f));
    }
    else if (t < 7.55f)
    {
        const float s = (t - 6.55f) / 1.0f;
        pose = flail;
        pose.translate(Root, Ogre::Vector3(0, 450 * (1 - s * s), 0));
    }
    else
    {
        const float s = (t - 7.55f) / 0.45f;
        pose = Pose::blend(flail, run, smoothStep(0, 0.6f, s));
        const float squash = std::sin(3.14159f * s) * 0.18f;
        pose.scale(Body, Ogre::Vector3(1 + squash * 0.5f, 1 - squash, 1 + squash * 0.5f));
    }
}

void addIntroBear(ModelOutput& out, const std::string& name, const std::string& material,
                  const BearAtlas& atlas, float spotZ)
{
    SkeletonBuilder skeleton;
    buildSkeleton(skeleton);
    const IntroSpot spot = introSpot(spotZ, -35);
    skeleton.setPlacement(spot.position + spot.rotation * Ogre::Vector3(0, -soleHeight, 0), spot.rotation, 1);
    skeleton.addAnimation("correr", 0.6f, 30, [](float t, Pose& pose) { runPose(t, 0.6f, pose); });
    skeleton.addAnimation("caure", 8.0f, 30, [spotZ](float t, Pose& pose) { introFallPose(t, spotZ, pose); });
    out.addSkeleton(name + ".skeleton", skeleton);
    MeshBuilder mesh;
    mesh.setTransform(skeleton.placementMatrix());
    buildGeometry(mesh, atlas);
    out.addMesh(name + ".mesh", mesh, material, name + ".skeleton");
}
} // namespace

IntroSpot introSpot(float z, float yawDegrees)
{
    const float tilt = std::asin(z / introPlanetRadius);
    IntroSpot spot;
    spot.position = Ogre::Vector3(0, -introPlanetRadius + introPlanetRadius * std::cos(tilt), z);
    spot.rotation = Ogre::Quaternion(Ogre::Radian(tilt), X) * Ogre::Quaternion(Ogre::Degree(yawDegrees), Y);
    return spot;
}

void addBears(ModelOutput& out)
{
    TextureCanvas brown(512, 512);
    TextureCanvas panda(512, 512);
    const BearAtlas atlas = paintBear(brown, false);
    paintBear(panda, true);
    out.addTexture("Pimbear_tex.dds", brown);
    out.addTexture("PimbearPanda_tex.dds", panda);
    Surface fur;
    fur.specular = 0.05f;
    out.defineLitMaterial("Pimbear_tex", "Pimbear_tex.dds", fur);
    out.defineLitMaterial("PimbearPanda_tex", "PimbearPanda_tex.dds", fur);

    SkeletonBuilder skeleton;
    buildSkeleton(skeleton);
    addGameAnimations(skeleton);
    out.addSkeleton("Pimbear.skeleton", skeleton);
    MeshBuilder mesh;
    buildGeometry(mesh, atlas);
    out.addMesh("Pimbear.mesh", mesh, "Pimbear_tex", "Pimbear.skeleton");

    addIntroBear(out, "start_pimbear1", "Pimbear_tex", atlas, 0);
    addIntroBear(out, "start_pimbear2", "PimbearPanda_tex", atlas, -70);
}

} // namespace models
