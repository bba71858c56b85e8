// The cat: the goal cat, the results and end-scene cat, and the intro's cat. Mesh units: origin between
// the paws, 2.85 tall and 4 long, facing +Z. Model +X is its left flank: the "_e" animations show that
// flank to the camera and turn the head toward it, the "_d" ones the other.

#include <cmath>

#include "model_output.h"
#include "models.h"

namespace models
{
namespace
{
enum CatBone : unsigned short
{
    Root,
    Body,
    Head,
    LegFL,
    LegFR,
    LegBL,
    LegBR,
    Tail1,
    Tail2,
    Tail3
};

const Ogre::Vector3 X = Ogre::Vector3::UNIT_X;
const Ogre::Vector3 Y = Ogre::Vector3::UNIT_Y;
const Ogre::Vector3 Z = Ogre::Vector3::UNIT_Z;
const Ogre::Vector3 headCentre(0, 2.05f, 1.05f);

struct CatAtlas
{
    UvRect body, head, limb, paw, ear, eye, nose, tail, whisker;
};

Ogre::Vector3 direction(float u, float v)
{
    const float longitude = 6.2831853f * (u - 0.5f);
    const float latitude = 3.14159265f * (v - 0.5f);
    return {std::cos(latitude) * std::sin(longitude), std::sin(latitude),
            std::cos(latitude) * std::cos(longitude)};
}

CatAtlas paintCat(TextureCanvas& canvas)
{
    const Colour ginger = rgb(0xE8963A);
    const Colour stripe = rgb(0xB8621E);
    const Colour cream = rgb(0xFBE7C6);
    CatAtlas atlas;
    atlas.body = canvas.paintRegion(0, 0, 128, 128,
                                    [&](float u, float v)
                                    {
                                        const Ogre::Vector3 d = direction(u, v);
                                        // Stripes run around the body (the body's long axis is z), thinning
                                        // toward the belly.
                                        const float band =
                                            std::sin(d.z * 14 + 2 * fractalNoise(u * 8, v * 8, 21, 2, 8));
                                        Colour c =
                                            band > 0.55f - 0.6f * std::max(0.0f, -d.y) ? ginger : stripe;
                                        if (d.y > -0.05f)
                                            c = band > 0.5f ? stripe : ginger;
                                        return mix(c, cream, smoothStep(-0.35f, -0.6f, d.y));
                                    });
    atlas.head = canvas.paintRegion(128, 0, 256, 128,
                                    [&](float u, float v)
                                    {
                                        const Ogre::Vector3 d = direction(u, v);
                                        Colour c = ginger;
                                        if (d.y > 0.45f && std::fabs(d.x) < 0.3f && std::sin(d.x * 40) > 0.2f)
                                            c = stripe;
                                        const float muzzle =
                                            (d.x * d.x) / 0.2f + ((d.y + 0.35f) * (d.y + 0.35f)) / 0.12f;
                                        if (d.z > 0 && muzzle < 1)
                                            c = mix(c, cream, smoothStep(1.0f, 0.8f, muzzle));
                                        return c;
                                    });
    atlas.limb = canvas.paintRegion(
        0, 128, 64, 192, [&](float, float v) { return std::sin(v * 18) > 0.6f ? stripe : ginger; });
    atlas.paw = canvas.paintRegion(64, 128, 128, 192, [&](float, float) { return cream; });
    atlas.ear = canvas.paintRegion(128, 128, 192, 192,
                                   [&](float u, float v)
                                   {
                                       const bool inside = std::fabs(u - 0.75f) < 0.2f && v < 0.8f;
                                       return inside ? rgb(0xF5A9A0) : ginger;
                                   });
    atlas.eye = canvas.paintRegion(192, 128, 256, 192,
                                   [&](float u, float v)
                                   {
                                       const Ogre::Vector3 d = direction(u, v);
                                       Colour c = rgb(0x8CC63F);
                                       if (d.z > 0 && std::fabs(d.x) < 0.14f * (1 - std::fabs(d.y)))
                                           c = rgb(0x101010);
                                       const Ogre::Vector3 shine =
                                           Ogre::Vector3(0.35f, 0.5f, 0.8f).normalisedCopy();
                                       if (d.dotProduct(shine) > 0.95f)
                                           c = rgb(0xFFFFFF);
                                       return c;
                                   });
    atlas.nose = canvas.paintRegion(0, 192, 64, 256, [&](float, float) { return rgb(0xE87A8A); });
    atlas.tail = canvas.paintRegion(
        64, 192, 128, 256,
        [&](float, float v) { return v > 0.9f ? stripe : (std::sin(v * 30) > 0.3f ? stripe : ginger); });
    atlas.whisker = canvas.paintRegion(128, 192, 192, 256, [&](float, float) { return rgb(0xFFFFFF); });
    return atlas;
}

void buildSkeleton(SkeletonBuilder& skeleton)
{
    skeleton.addBone("root", -1, Ogre::Vector3::ZERO);
    skeleton.addBone("body", Root, Ogre::Vector3(0, 1.2f, 0));
    skeleton.addBone("head", Body, Ogre::Vector3(0, 1.7f, 0.85f));
    skeleton.addBone("leg_fl", Body, Ogre::Vector3(0.3f, 1.0f, 0.65f));
    skeleton.addBone("leg_fr", Body, Ogre::Vector3(-0.3f, 1.0f, 0.65f));
    skeleton.addBone("leg_bl", Body, Ogre::Vector3(0.3f, 1.0f, -0.7f));
    skeleton.addBone("leg_br", Body, Ogre::Vector3(-0.3f, 1.0f, -0.7f));
    skeleton.addBone("tail1", Body, Ogre::Vector3(0, 1.35f, -1.05f));
    skeleton.addBone("tail2", Tail1, Ogre::Vector3(0, 1.55f, -1.6f));
    skeleton.addBone("tail3", Tail2, Ogre::Vector3(0, 2.1f, -1.9f));
}

// The tail as a tube along a curve from the rump, back and up, skinned over the three tail bones.
void addTail(MeshBuilder& mesh, const UvRect& uv)
{
    const Ogre::Vector3 p0(0, 1.35f, -1.0f), p1(0, 1.35f, -1.95f), p2(0, 2.75f, -2.0f);
    auto curve = [=](float t) { return p0 * ((1 - t) * (1 - t)) + p1 * (2 * t * (1 - t)) + p2 * (t * t); };
    mesh.addSurface(
        [=](float u, float v)
        {
            const Ogre::Vector3 centre = curve(v);
            const Ogre::Vector3 tangent =
                (curve(std::min(1.0f, v + 0.01f)) - curve(std::max(0.0f, v - 0.01f))).normalisedCopy();
            const Ogre::Vector3 side = X;
            const Ogre::Vector3 other = tangent.crossProduct(side);
            float radius = 0.12f - 0.04f * v;
            if (v > 0.92f)
                radius *= std::sqrt(std::max(0.0f, 1 - (v - 0.92f) / 0.08f));
            const float angle = 6.2831853f * u;
            return centre + (side * std::cos(angle) + other * std::sin(angle)) * radius;
        },
        10, 16, uv,
        [](float, float v)
        {
            BoneWeights weights;
            const float position = v * 2;
            const int first = std::min(1, static_cast<int>(position));
            const float blend = smoothStep(0, 1, position - static_cast<float>(first));
            weights.bone[0] = static_cast<unsigned short>(Tail1 + first);
            weights.bone[1] = static_cast<unsigned short>(Tail1 + first + 1);
            weights.weight[0] = 1 - blend;
            weights.weight[1] = blend;
            return weights;
        });
}

void buildGeometry(MeshBuilder& mesh, const CatAtlas& atlas)
{
    mesh.addEllipsoid(Ogre::Vector3(0, 1.25f, -0.15f), Ogre::Vector3(0.52f, 0.48f, 1.0f), atlas.body, Body,
                      20, 14);
    mesh.addEllipsoid(Ogre::Vector3(0, 1.42f, 0.5f), Ogre::Vector3(0.5f, 0.52f, 0.55f), atlas.body, Body, 16,
                      12);
    mesh.addEllipsoid(headCentre, Ogre::Vector3(0.6f, 0.54f, 0.52f), atlas.head, Head, 20, 14);
    mesh.addEllipsoid(Ogre::Vector3(0, 1.9f, 1.48f), Ogre::Vector3(0.27f, 0.17f, 0.16f), atlas.paw, Head, 12,
                      8);
    mesh.addEllipsoid(Ogre::Vector3(0, 2.0f, 1.62f), Ogre::Vector3(0.07f, 0.05f, 0.04f), atlas.nose, Head, 8,
                      6);
    for (float side : {1.0f, -1.0f})
    {
        mesh.addLathe(
            Ogre::Vector3(0.3f * side, 2.38f, 1.0f), Ogre::Vector3(0.46f * side, 2.85f, 0.92f),
            [](float t) { return 0.2f * (1 - t); }, atlas.ear, Head, 10, 4);
        const Ogre::Vector3 eyeDirection = Ogre::Vector3(0.4f * side, 0.22f, 0.89f).normalisedCopy();
        mesh.addEllipsoid(
            headCentre + Ogre::Vector3(eyeDirection.x * 0.55f, eyeDirection.y * 0.5f, eyeDirection.z * 0.48f),
            Ogre::Vector3(0.12f, 0.15f, 0.07f), atlas.eye, Head, 10, 8, Z.getRotationTo(eyeDirection));
        for (float droop : {0.04f, -0.08f})
        {
            mesh.addCapsule(Ogre::Vector3(0.22f * side, 1.9f, 1.5f),
                            Ogre::Vector3(0.85f * side, 1.9f + droop, 1.45f), 0.018f, atlas.whisker, Head, 4,
                            4);
        }
        const CatBone front = side > 0 ? LegFL : LegFR;
        const CatBone back = side > 0 ? LegBL : LegBR;
        for (auto [bone, z] : {std::pair<CatBone, float>{front, 0.65f}, {back, -0.7f}})
        {
            mesh.addCapsule(Ogre::Vector3(0.28f * side, 1.0f, z),
                            Ogre::Vector3(0.28f * side, 0.18f, z + 0.03f), 0.14f, atlas.limb, bone, 10, 8);
            mesh.addEllipsoid(Ogre::Vector3(0.28f * side, 0.08f, z + 0.08f),
                              Ogre::Vector3(0.16f, 0.08f, 0.2f), atlas.paw, bone, 10, 6);
        }
    }
    addTail(mesh, atlas.tail);
}

// look: +1 turns the head toward model +X (the "_e" flank), -1 toward -X.
void breathePose(float t, float look, Pose& pose)
{
    const float p = t / 2.0f;
    pose.scale(Body, Ogre::Vector3(1 + 0.02f * wave(p), 1 + 0.03f * wave(p), 1));
    pose.rotate(Head, Y, 50 * look + 5 * wave(p));
    pose.rotate(Head, X, -4 + 3 * wave(p + 0.3f));
    pose.rotate(Tail1, Y, 15 * wave(p));
    pose.rotate(Tail2, Y, 20 * wave(p - 0.1f));
    pose.rotate(Tail3, Z, 25 * wave(p - 0.2f));
}

void runPose(float t, float length, float look, Pose& pose)
{
    const float p = t / length;
    const float swing = wave(p);
    pose.translate(Body, Ogre::Vector3(0, 0.08f * (0.5f - 0.5f * std::cos(12.566371f * p)), 0));
    pose.rotate(Body, X, 3 * wave(2 * p));
    pose.rotate(Head, Y, 40 * look);
    pose.rotate(Head, X, -4 * wave(2 * p));
    pose.rotate(LegFL, X, -38 * swing);
    pose.rotate(LegBR, X, -38 * swing);
    pose.rotate(LegFR, X, 38 * swing);
    pose.rotate(LegBL, X, 38 * swing);
    pose.rotate(Tail1, X, -20);
    pose.rotate(Tail2, X, 10 * wave(p));
    pose.rotate(Tail3, X, 15 * wave(p - 0.2f));
}

void jumpPose(float t, Pose& pose)
{
    const float p = t / 0.8f;
    const float height = std::max(0.0f, std::sin(6.2831853f * p));
    const float crouch = std::max(0.0f, -std::sin(6.2831853f * p));
    pose.translate(Body, Ogre::Vector3(0, 1.3f * height - 0.25f * crouch, 0));
    pose.translate(Head, Ogre::Vector3(0, 0.1f * crouch, 0));
    pose.rotate(Head, X, -15 * height);
    pose.rotate(LegFL, X, -40 * height);
    pose.rotate(LegFR, X, -40 * height);
    pose.rotate(LegBL, X, 40 * height);
    pose.rotate(LegBR, X, 40 * height);
    pose.rotate(Tail1, X, -30 * height);
    pose.rotate(Tail3, X, 30 * wave(p));
}

void pettedPose(float t, Pose& pose)
{
    const float p = t / 2.0f;
    pose.rotate(Body, X, -4);
    pose.scale(Body, Ogre::Vector3(1, 1 + 0.03f * wave(4 * p), 1));
    pose.rotate(Head, X, -18);
    pose.rotate(Head, Z, 16 * wave(p));
    pose.rotate(Head, Y, 10 * wave(p + 0.25f));
    pose.rotate(Tail1, X, -35);
    pose.rotate(Tail2, Y, 25 * wave(p));
    pose.rotate(Tail3, Z, 35 * wave(p - 0.15f));
}
} // namespace

void addCats(ModelOutput& out)
{
    TextureCanvas canvas(256, 256);
    const CatAtlas atlas = paintCat(canvas);
    out.addTexture("cat_tex.dds", canvas);
    Surface fur;
    fur.specular = 0.05f;
    out.defineLitMaterial("cat_tex", "cat_tex.dds", fur);

    SkeletonBuilder skeleton;
    buildSkeleton(skeleton);
    constexpr float keys = 30;
    skeleton.addAnimation("respirar_e", 2.0f, keys, [](float t, Pose& pose) { breathePose(t, 1, pose); });
    skeleton.addAnimation("respirar_d", 2.0f, keys, [](float t, Pose& pose) { breathePose(t, -1, pose); });
    skeleton.addAnimation("correr_e", 0.5f, keys, [](float t, Pose& pose) { runPose(t, 0.5f, 1, pose); });
    skeleton.addAnimation("correr_d", 0.5f, keys, [](float t, Pose& pose) { runPose(t, 0.5f, -1, pose); });
    skeleton.addAnimation("saltar", 0.8f, keys, jumpPose);
    skeleton.addAnimation("rebre_caricia", 2.0f, keys, pettedPose);
    out.addSkeleton("cat.skeleton", skeleton);
    MeshBuilder mesh;
    buildGeometry(mesh, atlas);
    out.addMesh("cat.mesh", mesh, "cat_tex", "cat.skeleton");

    // The intro's cat leads the bears at 16 times the size, turned a little toward the camera.
    SkeletonBuilder intro;
    buildSkeleton(intro);
    const IntroSpot spot = introSpot(70, -35);
    intro.setPlacement(spot.position, spot.rotation, 16);
    intro.addAnimation("correr", 0.5f, keys, [](float t, Pose& pose) { runPose(t, 0.5f, -0.6f, pose); });
    out.addSkeleton("start_cat.skeleton", intro);
    MeshBuilder introMesh;
    introMesh.setTransform(intro.placementMatrix());
    buildGeometry(introMesh, atlas);
    out.addMesh("start_cat.mesh", introMesh, "cat_tex", "start_cat.skeleton");
}

} // namespace models
