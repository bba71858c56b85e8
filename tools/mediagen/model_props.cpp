// Meteors, the checkpoint post and its two balloons.
//   meteor.mesh      a lumpy rock of radius 10 (scaled by 0.1 to the physics circle of radius 1).
//   checkpoint.mesh  a post 8 tall, origin at its foot.
//   globus1/2.mesh   a balloon on a string tied to the post top, modelled in the post's frame: slot 1
//                    floats on the +x side (screen-left), slot 2 on the -x side, tops about 12.9 up.

#include <cmath>

#include "model_output.h"
#include "models.h"

namespace models
{
namespace
{
const Ogre::Vector3 Y = Ogre::Vector3::UNIT_Y;
const Ogre::Vector3 Z = Ogre::Vector3::UNIT_Z;
constexpr float pi = 3.14159265f;
constexpr float postHeight = 8;

Ogre::Vector3 direction(float u, float v)
{
    const float longitude = 2 * pi * (u - 0.5f);
    const float latitude = pi * (v - 0.5f);
    return {std::cos(latitude) * std::sin(longitude), std::sin(latitude),
            std::cos(latitude) * std::cos(longitude)};
}

// Smooth lumps on a sphere, seamless because it is a function of the direction only; 0..1.
float lumps(const Ogre::Vector3& d)
{
    const float f = std::sin(3.1f * d.x + 1.3f) * std::sin(2.7f * d.y + 0.4f) * std::sin(3.3f * d.z + 2.1f) +
                    0.5f * std::sin(6.3f * d.x + 4.1f * d.z) * std::sin(5.7f * d.y + 0.9f);
    return std::min(1.0f, std::max(0.0f, 0.5f + 0.45f * f));
}

TextureCanvas paintMeteor(const Colour& crust, const Colour& glow, const Colour& core)
{
    TextureCanvas canvas(256, 128);
    canvas.paintRegion(0, 0, 256, 128,
                       [&](float u, float v)
                       {
                           const float cracks = std::fabs(fractalNoise(u * 12, v * 6, 81, 4, 12) - 0.5f);
                           Colour c = scaled(crust, 0.8f + 0.4f * fractalNoise(u * 20, v * 10, 82, 2, 20));
                           if (cracks < 0.06f)
                               c = mix(core, glow, cracks / 0.06f);
                           return c;
                       });
    return canvas;
}

void addMeteor(ModelOutput& out)
{
    out.addTexture("meteor_tex.dds", paintMeteor(rgb(0x4A2E22), rgb(0xFF6A10), rgb(0xFFE070)));
    // The physical meteors, the only ones that bounce, are a vivid green that no level scenery shares.
    out.addTexture("green_meteor_tex.dds", paintMeteor(rgb(0x2E9A2A), rgb(0x9CFF3A), rgb(0xF0FFC0)));
    Surface molten;
    molten.emissive = rgb(0x3A1400);
    out.defineLitMaterial("meteor_tex", "meteor_tex.dds", molten);
    Surface glowing;
    glowing.emissive = rgb(0x2A7A10);
    out.defineLitMaterial("green_meteor_tex", "green_meteor_tex.dds", glowing);

    MeshBuilder mesh;
    mesh.addSurface(
        [](float u, float v)
        {
            const Ogre::Vector3 d = direction(u, v);
            return d * (10 * std::min(1.0f, 0.8f + 0.35f * lumps(d)));
        },
        28, 18, UvRect{}, 0);
    out.addMesh("meteor.mesh", mesh, "meteor_tex");
}

void addCheckpoint(ModelOutput& out)
{
    TextureCanvas canvas(128, 128);
    const UvRect stripes = canvas.paintRegion(
        0, 0, 64, 128,
        [](float u, float v) { return std::fmod(v * 8 + u, 1.0f) < 0.5f ? rgb(0xF4F4F4) : rgb(0xE03A3A); });
    const UvRect gold = canvas.paintRegion(
        64, 0, 128, 64,
        [](float u, float v)
        { return mix(rgb(0xFFE89A), rgb(0xD09A20), 0.5f + 0.5f * std::sin(6.2831853f * u + 9 * v)); });
    const UvRect stone = canvas.paintRegion(
        64, 64, 128, 128,
        [](float u, float v)
        { return scaled(rgb(0x9AA0A8), 0.85f + 0.3f * fractalNoise(u * 10, v * 4, 91, 3, 10)); });
    out.addTexture("checkpoint_tex.dds", canvas);
    Surface painted;
    painted.specular = 0.3f;
    out.defineLitMaterial("checkpoint_tex", "checkpoint_tex.dds", painted);

    MeshBuilder mesh;
    mesh.addLathe(
        Ogre::Vector3(0, 0, 0), Ogre::Vector3(0, 0.5f, 0),
        [](float t) { return t > 0.9f ? 0.8f * std::sqrt((1 - t) / 0.1f) : 0.8f - 0.1f * t; }, stone, 0, 16,
        4);
    mesh.addLathe(
        Ogre::Vector3(0, 0.4f, 0), Ogre::Vector3(0, postHeight - 0.3f, 0), [](float) { return 0.2f; },
        stripes, 0, 12, 8);
    mesh.addEllipsoid(Ogre::Vector3(0, postHeight - 0.25f, 0), Ogre::Vector3(0.38f), gold, 0, 14, 10);
    out.addMesh("checkpoint.mesh", mesh, "checkpoint_tex");
}

enum BalloonBone : unsigned short
{
    Root,
    StringBone,
    BalloonBone
};

// side +1: slot 1 on +x; -1: slot 2 on -x.
void addBalloon(ModelOutput& out, const std::string& name, float side, const UvRect& rubber,
                const UvRect& string)
{
    const Ogre::Vector3 tie(0.25f * side, postHeight, 0);
    const Ogre::Vector3 knot(1.7f * side, 10.2f, -0.3f);
    SkeletonBuilder skeleton;
    skeleton.addBone("root", -1, Ogre::Vector3::ZERO);
    skeleton.addBone("string", Root, tie);
    skeleton.addBone("balloon", StringBone, knot);
    // Pops out of the post top: grows from nothing with an elastic overshoot and comes to rest upright.
    skeleton.addAnimation("sortir", 1.0f, 30,
                          [side](float t, Pose& pose)
                          {
                              const float s = std::min(1.0f, t / 0.9f);
                              const float grow = std::max(0.01f, 1 - std::exp(-6 * s) * std::cos(9 * s));
                              pose.scale(StringBone, Ogre::Vector3(s >= 1 ? 1.0f : grow));
                              pose.rotate(StringBone, Z, -side * 25 * (1 - s) * std::cos(7 * s));
                          });
    skeleton.addAnimation("repos", 2.0f, 20,
                          [side](float t, Pose& pose)
                          {
                              const float p = t / 2.0f;
                              pose.rotate(StringBone, Z, side * 4 * wave(p));
                              pose.rotate(BalloonBone, Z, -side * 6 * wave(2 * p));
                              pose.translate(BalloonBone, Ogre::Vector3(0, 0.15f * wave(2 * p), 0));
                          });
    out.addSkeleton(name + ".skeleton", skeleton);

    MeshBuilder mesh;
    // A balloon is rounder on top and pinched toward the knot.
    mesh.addLathe(
        knot + Ogre::Vector3(0, 0.15f, 0), knot + Ogre::Vector3(0, 2.75f, 0),
        [](float t)
        { return 1.28f * std::sqrt(std::max(0.0f, std::sin(pi * std::pow(t, 0.8f)))) * (0.55f + 0.45f * t); },
        rubber, BalloonBone, 20, 14);
    mesh.addLathe(
        knot - Ogre::Vector3(0, 0.12f, 0), knot + Ogre::Vector3(0, 0.3f, 0),
        [](float t) { return 0.22f * std::sqrt(std::max(0.0f, std::sin(pi * t))); }, rubber, BalloonBone, 8,
        4);
    mesh.addSurface(
        [=](float u, float v)
        {
            const Ogre::Vector3 centre =
                tie + (knot - tie) * v + Ogre::Vector3(0.3f * side * std::sin(pi * v), 0, 0);
            const float a = 2 * pi * u;
            return centre + Ogre::Vector3(std::sin(a), 0, std::cos(a)) * 0.05f;
        },
        5, 8, string,
        [](float, float v)
        {
            BoneWeights weights;
            weights.bone[0] = StringBone;
            weights.bone[1] = BalloonBone;
            weights.weight[0] = 1 - v;
            weights.weight[1] = v;
            return weights;
        });
    out.addMesh(name + ".mesh", mesh, name, name + ".skeleton");
}

void addBalloons(ModelOutput& out)
{
    UvRect rubber, string;
    for (int player : {1, 2})
    {
        const Colour colour = player == 1 ? rgb(0xFF5A1E) : rgb(0x2E74FF);
        TextureCanvas canvas(64, 64);
        rubber = canvas.paintRegion(
            0, 0, 64, 48,
            [&](float, float v) { return mix(scaled(colour, 0.75f), mix(colour, rgb(0xFFFFFF), 0.25f), v); });
        string = canvas.paintRegion(0, 48, 64, 64, [](float, float) { return rgb(0xF8F8F8); });
        const std::string name = "globus" + std::to_string(player);
        out.addTexture(name + ".dds", canvas);
        Surface glossy;
        glossy.specular = 0.8f;
        glossy.shininess = 60;
        out.defineLitMaterial(name, name + ".dds", glossy);
    }
    addBalloon(out, "globus1", 1, rubber, string);
    addBalloon(out, "globus2", -1, rubber, string);
}
} // namespace

void addProps(ModelOutput& out)
{
    addMeteor(out);
    addCheckpoint(out);
    addBalloons(out);
}

} // namespace models
