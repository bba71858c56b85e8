// The octopus boss: body, bow tie, hat and monocle are separate meshes on the same bones (authored in the
// body's frame, facing -Z toward the camera) so that their animations stay in step; the tentacles are
// their own mesh, authored along +Y. Mesh units; the game scales the boss node by 1.2.

#include <cmath>

#include "model_output.h"
#include "models.h"

namespace models
{
namespace
{
enum BossBone : unsigned short
{
    Root,
    Body,
    Head,
    HatBone,
    MonocleBone,
    BowTieBone
};

const Ogre::Vector3 X = Ogre::Vector3::UNIT_X;
const Ogre::Vector3 Y = Ogre::Vector3::UNIT_Y;
const Ogre::Vector3 Z = Ogre::Vector3::UNIT_Z;
// The hit sphere the meteors test, in mesh units: the mantle must cover its upper half.
const Ogre::Vector3 mantleCentre(0, 4.17f, 0);
constexpr float mantleRadius = 15;
const Ogre::Vector3 monocleCentre(5, 8.5f, -14.6f);
const Ogre::Quaternion facingCamera(Ogre::Degree(180), Y);

Ogre::Vector3 direction(float u, float v)
{
    const float longitude = 6.2831853f * (u - 0.5f);
    const float latitude = 3.14159265f * (v - 0.5f);
    return {std::cos(latitude) * std::sin(longitude), std::sin(latitude),
            std::cos(latitude) * std::cos(longitude)};
}

void buildSkeleton(SkeletonBuilder& skeleton)
{
    skeleton.addBone("root", -1, Ogre::Vector3::ZERO);
    skeleton.addBone("body", Root, Ogre::Vector3(0, -6, 0));
    skeleton.addBone("head", Body, mantleCentre);
    skeleton.addBone("hat", Head, Ogre::Vector3(0, 18, 0));
    skeleton.addBone("monocle", Head, monocleCentre);
    skeleton.addBone("bowtie", Body, Ogre::Vector3(0, -6, -13.5f));
}

void breathePose(float t, Pose& pose)
{
    const float p = t / 3.0f;
    pose.scale(Body, Ogre::Vector3(1 - 0.02f * wave(p), 1 + 0.04f * wave(p), 1 - 0.02f * wave(p)));
    pose.translate(Body, Ogre::Vector3(0, 0.8f * wave(p), 0));
    pose.rotate(Head, Z, 3 * wave(p));
    pose.rotate(BowTieBone, Z, 6 * wave(2 * p));
}

// A flinch that starts and ends at rest.
void flinchPose(float t, Pose& pose)
{
    const float envelope = std::sin(3.14159f * std::min(1.0f, t / 1.0f));
    const float shake = std::sin(t * 40) * (1 - std::min(1.0f, t));
    pose.rotate(Head, X, 18 * envelope);
    pose.rotate(Head, Z, 10 * shake);
    pose.scale(Body, Ogre::Vector3(1 + 0.15f * envelope, 1 - 0.18f * envelope, 1 + 0.15f * envelope));
    pose.rotate(BowTieBone, Z, 25 * shake);
}

void dizzyPose(float t, Pose& pose)
{
    const float p = t / 2.0f;
    pose.rotate(Head, Z, 15 * wave(p));
    pose.rotate(Head, Y, 20 * wave(p + 0.25f));
    pose.scale(Body,
               Ogre::Vector3(1 + 0.06f * wave(2 * p), 1 - 0.08f * wave(2 * p), 1 + 0.06f * wave(2 * p)));
    pose.rotate(BowTieBone, Z, 30 * wave(2 * p));
}

// The first flinch knocks the hat off (it spins up and away and shrinks to nothing), the second the monocle
// (it drops away): each mesh carries only its own piece, so one clip serves both.
void loseAccessoryPose(float t, Pose& pose)
{
    flinchPose(std::min(t, 1.0f), pose);
    const float s = std::min(1.0f, t / 1.4f);
    const float vanish = std::max(0.01f, 1 - smoothStep(0.6f, 1.0f, s));
    pose.translate(HatBone, Ogre::Vector3(-18 * s, 22 * s - 10 * s * s, 0));
    pose.rotate(HatBone, Z, 400 * s);
    pose.scale(HatBone, Ogre::Vector3(vanish));
    pose.translate(MonocleBone, Ogre::Vector3(8 * s, -18 * s * s, -4 * s));
    pose.rotate(MonocleBone, Y, 500 * s);
    pose.scale(MonocleBone, Ogre::Vector3(vanish));
}

void paintBody(TextureCanvas& canvas, UvRect& mantle, UvRect& skirt, UvRect& eye, UvRect& cheek)
{
    const Colour skin = rgb(0xB0407A);
    const Colour light = rgb(0xE07AA8);
    const Colour spot = rgb(0x7E2458);
    mantle =
        canvas.paintRegion(0, 0, 256, 192,
                           [&](float u, float v)
                           {
                               const Ogre::Vector3 d = direction(u, v);
                               Colour c = mix(skin, light, smoothStep(0.2f, -0.5f, d.y) * 0.6f);
                               const float n = fractalNoise(u * 16, v * 10, 31, 3, 16);
                               if (n > 0.62f && d.y > -0.2f)
                                   c = mix(c, spot, smoothStep(0.62f, 0.68f, n));
                               // A wide smile below the eyes, on the front.
                               const float smileY = -0.32f + 0.9f * d.x * d.x;
                               if (d.z > 0.5f && std::fabs(d.x) < 0.32f && std::fabs(d.y - smileY) < 0.035f)
                                   c = rgb(0x3A0A22);
                               return c;
                           });
    skirt = canvas.paintRegion(0, 192, 128, 256,
                               [&](float u, float v)
                               {
                                   const float sucker =
                                       std::sin(u * 6.2831853f * 16) * std::sin(v * 3.14159f * 3);
                                   return sucker > 0.6f ? rgb(0xF2B6CF) : mix(skin, light, v);
                               });
    eye =
        canvas.paintRegion(128, 192, 192, 256,
                           [&](float u, float v)
                           {
                               const Ogre::Vector3 d = direction(u, v);
                               Colour c = rgb(0xFFFDF5);
                               if (d.z > 0.82f)
                                   c = rgb(0x2B1B40);
                               if (d.z > 0.93f)
                                   c = rgb(0x080808);
                               if (d.dotProduct(Ogre::Vector3(0.3f, 0.45f, 0.84f).normalisedCopy()) > 0.985f)
                                   c = rgb(0xFFFFFF);
                               return c;
                           });
    cheek = canvas.paintRegion(192, 192, 256, 256, [&](float, float) { return rgb(0xF59AB8); });
}

void addTentacle(ModelOutput& out)
{
    TextureCanvas canvas(128, 256);
    const UvRect skin = canvas.paintRegion(
        0, 0, 128, 256,
        [](float u, float v)
        {
            Colour c = mix(rgb(0xB0407A), rgb(0xC85890), v);
            // Suckers along the inner side of the curl (-X, u around 0.75).
            if (std::fabs(u - 0.75f) < 0.16f)
            {
                const float row = std::fmod(v * 14, 1.0f);
                const float ring = std::hypot((u - 0.75f) * 5, (row - 0.5f) * 1.6f);
                c = ring < 0.55f ? (ring < 0.3f ? rgb(0xE890B8) : rgb(0xFFD0E2)) : rgb(0xE07AA8);
            }
            return c;
        });
    out.addTexture("tex_tentacle.dds", canvas);
    out.defineLitMaterial("tex_tentacle", "tex_tentacle.dds");
    Surface far;
    far.tint = rgb(0x7C86D8);
    out.defineLitMaterial("tex_tentacle_far", "tex_tentacle.dds", far);

    constexpr int segments = 5;
    constexpr float length = 40;
    SkeletonBuilder skeleton;
    skeleton.addBone("root", -1, Ogre::Vector3::ZERO);
    for (int k = 0; k < segments; ++k)
        skeleton.addBone("seg" + std::to_string(k), k,
                         Ogre::Vector3(0, length * static_cast<float>(k) / segments, 0));
    skeleton.addAnimation("mou1", 3.0f, 20,
                          [](float t, Pose& pose)
                          {
                              const float p = t / 3.0f;
                              for (int k = 0; k < segments; ++k)
                              {
                                  const auto bone = static_cast<unsigned short>(k + 1);
                                  pose.rotate(bone, Z, 9 + 13 * wave(p - 0.12f * static_cast<float>(k)));
                                  pose.rotate(bone, X, 4 * wave(p + 0.3f - 0.1f * static_cast<float>(k)));
                              }
                          });
    out.addSkeleton("tentacle.skeleton", skeleton);

    MeshBuilder mesh;
    mesh.addSurface(
        [](float u, float v)
        {
            float radius = 3.0f - 2.4f * v;
            if (v > 0.95f)
                radius *= std::sqrt(std::max(0.0f, 1 - (v - 0.95f) / 0.05f));
            if (v < 0.02f)
                radius *= std::sqrt(v / 0.02f);
            const float a = 6.2831853f * u;
            return Ogre::Vector3(std::sin(a) * radius, v * length, std::cos(a) * radius);
        },
        10, 20, skin,
        [](float, float v)
        {
            BoneWeights weights;
            const float position = std::min(v * segments, segments - 0.001f);
            const int first = static_cast<int>(position);
            const float blend = position - static_cast<float>(first);
            weights.bone[0] = static_cast<unsigned short>(first + 1);
            weights.weight[0] = 1;
            if (first + 1 < segments)
            {
                weights.bone[1] = static_cast<unsigned short>(first + 2);
                weights.weight[0] = 1 - 0.5f * blend;
                weights.weight[1] = 0.5f * blend;
            }
            return weights;
        });
    out.addMesh("tentacle.mesh", mesh, "tex_tentacle", "tentacle.skeleton");
}
} // namespace

void addBoss(ModelOutput& out)
{
    TextureCanvas body(256, 256);
    UvRect mantle, skirt, eye, cheek;
    paintBody(body, mantle, skirt, eye, cheek);
    out.addTexture("tex_octoboss.dds", body);
    out.defineLitMaterial("tex_octoboss", "tex_octoboss.dds");
    Surface hurt;
    hurt.tint = rgb(0xFF5A5A);
    hurt.emissive = rgb(0x701010);
    out.defineLitMaterial("tex_octoboss_ouch", "tex_octoboss.dds", hurt);
    // The other blink phase flashes pale: lighting cannot brighten past the texture, so it has its own.
    out.addTexture("tex_octoboss_pale.dds", body.tinted(rgb(0xFFFFFF), 0.7f));
    Surface flash;
    flash.emissive = rgb(0x505050);
    out.defineLitMaterial("tex_octoboss_ouch2", "tex_octoboss_pale.dds", flash);

    TextureCanvas props(128, 128);
    const UvRect black = props.paintRegion(
        0, 0, 64, 64,
        [](float u, float v)
        { return scaled(rgb(0x26222E), 0.9f + 0.2f * fractalNoise(u * 6, v * 6, 41, 2, 6)); });
    const UvRect band = props.paintRegion(
        64, 0, 128, 64,
        [](float, float v) { return std::fabs(v - 0.5f) > 0.38f ? rgb(0xF2C94C) : rgb(0xD8283A); });
    const UvRect gold = props.paintRegion(
        0, 64, 64, 128,
        [](float u, float v)
        { return mix(rgb(0xF8E08A), rgb(0xB8862A), 0.5f + 0.5f * std::sin(6.2831853f * (2 * u + v))); });
    const UvRect dots =
        props.paintRegion(64, 64, 128, 128,
                          [](float u, float v)
                          {
                              const float du = std::fmod(u * 8, 1.0f) - 0.5f;
                              const float dv = std::fmod(v * 4, 1.0f) - 0.5f;
                              return du * du + dv * dv < 0.06f ? rgb(0xFFFFFF) : rgb(0x2E6FD8);
                          });
    out.addTexture("boss_props.dds", props);
    Surface shiny;
    shiny.specular = 0.6f;
    shiny.shininess = 40;
    out.defineLitMaterial("tex_hat", "boss_props.dds");
    out.defineLitMaterial("tex_monoculo", "boss_props.dds", shiny);
    out.defineLitMaterial("tex_pajarita", "boss_props.dds");

    SkeletonBuilder skeleton;
    buildSkeleton(skeleton);
    skeleton.addAnimation("respirar", 3.0f, 20, breathePose);
    skeleton.addAnimation("rebre", 1.0f, 30, flinchPose);
    skeleton.addAnimation("morir", 2.0f, 20, dizzyPose);
    out.addSkeleton("octoboss.skeleton", skeleton);
    SkeletonBuilder accessories;
    buildSkeleton(accessories);
    accessories.addAnimation("respirar", 3.0f, 20, breathePose);
    accessories.addAnimation("rebre", 1.0f, 30, flinchPose);
    accessories.addAnimation("perdre_elem", 1.5f, 30, loseAccessoryPose);
    out.addSkeleton("octoboss_extra.skeleton", accessories);

    MeshBuilder mesh;
    mesh.addEllipsoid(mantleCentre, Ogre::Vector3(mantleRadius), mantle, Head, 24, 16, facingCamera);
    // The skirt of stubby arms under the mantle, scalloped into eight lobes.
    mesh.addSurface(
        [](float u, float v)
        {
            const float a = 6.2831853f * u;
            const float lobes = 1 + 0.12f * std::cos(8 * a);
            const float radius = (v < 0.2f ? 15.5f * std::sqrt(v / 0.2f) : 15.5f - 3 * (v - 0.2f)) * lobes;
            return Ogre::Vector3(std::sin(a) * radius, -9 + 11 * v, std::cos(a) * radius);
        },
        40, 6, skirt, Body);
    for (float side : {1.0f, -1.0f})
    {
        const Ogre::Vector3 at(5 * side, 8.5f, -13.2f);
        mesh.addEllipsoid(at, Ogre::Vector3(3.6f, 4.4f, 2.4f), eye, Head, 12, 8, facingCamera);
        mesh.addEllipsoid(Ogre::Vector3(9 * side, 2.5f, -11.8f), Ogre::Vector3(2.6f, 1.6f, 0.8f), cheek, Head,
                          10, 6, Ogre::Quaternion(Ogre::Degree(35 * side), Y));
    }
    out.addMesh("octoboss.mesh", mesh, "tex_octoboss", "octoboss.skeleton");

    MeshBuilder bowTie;
    const Ogre::Vector3 knot(0, -6, -13.5f);
    // Flattened front to back, like a real bow.
    Ogre::Matrix4 flatten;
    flatten.makeTransform(knot, Ogre::Vector3(1, 1, 0.45f), Ogre::Quaternion::IDENTITY);
    Ogre::Matrix4 toKnot = Ogre::Matrix4::IDENTITY;
    toKnot.makeTrans(-knot);
    bowTie.setTransform(flatten * toKnot);
    bowTie.addEllipsoid(knot, Ogre::Vector3(1.6f, 1.6f, 1.2f), dots, BowTieBone, 10, 8);
    for (float side : {1.0f, -1.0f})
    {
        bowTie.addLathe(
            knot, knot + Ogre::Vector3(7 * side, 0, 0),
            [](float t) { return (1.0f + 3.4f * t) * std::sqrt(std::max(0.0f, 1 - smoothStep(0.8f, 1, t))); },
            dots, BowTieBone, 12, 6);
    }
    out.addMesh("pajarita.mesh", bowTie, "tex_pajarita", "octoboss.skeleton");

    MeshBuilder hat;
    Ogre::Matrix4 tilt;
    tilt.makeTransform(Ogre::Vector3(0, 17.2f, 0), Ogre::Vector3::UNIT_SCALE,
                       Ogre::Quaternion(Ogre::Degree(-10), Z));
    hat.setTransform(tilt);
    hat.addLathe(
        Ogre::Vector3(0, -0.5f, 0), Ogre::Vector3(0, 0.8f, 0),
        [](float t) { return 10.5f * std::sqrt(std::max(0.0f, std::sin(3.14159f * t))); }, black, HatBone, 20,
        6);
    hat.addLathe(
        Ogre::Vector3(0, 0, 0), Ogre::Vector3(0, 12.8f, 0),
        [](float t) { return t > 0.97f ? 7.2f * std::sqrt((1 - t) / 0.03f) : 6.8f + 0.4f * t; }, black,
        HatBone, 16, 8);
    hat.addLathe(
        Ogre::Vector3(0, 0.6f, 0), Ogre::Vector3(0, 3.6f, 0),
        [](float t)
        {
            return 7.05f * std::sqrt(std::max(0.0f, std::sin(3.14159f * t) * 0.2f + 0.8f)) *
                   (t < 0.02f || t > 0.98f ? 0.97f : 1.0f);
        },
        band, HatBone, 16, 4);
    out.addMesh("hat.mesh", hat, "tex_hat", "octoboss_extra.skeleton");

    MeshBuilder monocle;
    monocle.addTorus(monocleCentre, Z, 4.0f, 0.55f, gold, MonocleBone, 20, 6);
    monocle.addSurface(
        [](float u, float v)
        {
            const Ogre::Vector3 start = monocleCentre + Ogre::Vector3(1.5f, -3.8f, 0);
            const Ogre::Vector3 centre = start + Ogre::Vector3(5 * v, -9 * v + 4 * v * v, 1.5f * v);
            const float a = 6.2831853f * u;
            return centre + Ogre::Vector3(-std::sin(a), 0, std::cos(a)) * 0.25f;
        },
        6, 10, gold, MonocleBone);
    out.addMesh("monoculo.mesh", monocle, "tex_monoculo", "octoboss_extra.skeleton");

    addTentacle(out);
}

} // namespace models
