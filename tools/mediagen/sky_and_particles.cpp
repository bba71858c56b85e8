// The sky pictures, cloud billboards, the optional hills backdrop, the three particle templates with
// their materials and sprites, and the meteors' halos. Billboards and particles are unlit and alpha-blended;
// the sky tests depth but never writes it, so the game can draw it on the far plane after opaque backdrops.

#include <cmath>
#include <sstream>

#include "model_output.h"
#include "models.h"

namespace models
{
namespace
{
constexpr float pi = 3.14159265f;

std::string unlitMaterial(const std::string& name, const std::string& texture, bool sky)
{
    std::ostringstream script;
    script << "material " << name << "\n{\n    technique\n    {\n        pass\n        {\n"
           << "            lighting off\n            depth_write off\n";
    if (!sky)
        script << "            scene_blend alpha_blend\n";
    script << "            texture_unit\n            {\n                texture " << texture
           << (sky ? " 2d 0" : "") << "\n"
           << "                tex_address_mode clamp\n            }\n        }\n    }\n}\n\n";
    return script.str();
}

// Picture width and height in pixels; the hills scale with the height so both skies match.
TextureCanvas paintSky(int width, int height)
{
    TextureCanvas canvas(width, height);
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    canvas.paintAll(
        [&](float u, float v)
        {
            Colour c = mix(rgb(0xD8F2FF), rgb(0x4E9EE8), std::pow(v, 0.8f));
            const float sunX = (u - 0.8f) * aspect;
            const float sun = std::exp(-(sunX * sunX + (v - 0.85f) * (v - 0.85f)) * 30);
            c = mix(c, rgb(0xFFF8D8), sun * 0.8f);
            // Faint high clouds streaked sideways.
            const float wisps = fractalNoise(u * 3 * aspect, v * 14, 121, 4);
            c = mix(c, rgb(0xFFFFFF), smoothStep(0.55f, 0.8f, wisps) * 0.45f * smoothStep(0.3f, 0.7f, v));
            // Two bands of far hills along the bottom.
            const float x = u * aspect;
            const float far = 0.2f + 0.05f * std::sin(x * 5 + 1) + 0.03f * std::sin(x * 13);
            const float near = 0.12f + 0.04f * std::sin(x * 7 + 3) + 0.02f * std::sin(x * 19 + 1);
            if (v < far)
                c = mix(c, rgb(0x9ACFA8), 0.85f);
            if (v < near)
                c = mix(c, rgb(0x6AB57A), 0.9f);
            return c;
        });
    return canvas;
}

// A puffy cloud of overlapping discs; squash < 1 draws it tall so that a billboard squashed to half its
// height shows it round.
TextureCanvas paintCloud(const Colour& top, const Colour& bottom, float squash, std::uint32_t seed)
{
    TextureCanvas canvas(256, 256);
    struct Puff
    {
        float x, y, r;
    };
    const Puff puffs[] = {{0.3f, 0.42f, 0.17f},  {0.5f, 0.5f, 0.22f},  {0.7f, 0.43f, 0.16f},
                          {0.42f, 0.36f, 0.15f}, {0.6f, 0.35f, 0.15f}, {0.2f, 0.35f, 0.1f},
                          {0.8f, 0.36f, 0.1f}};
    canvas.paintAll(
        [&](float u, float v)
        {
            // Below zero away from every puff, so that the ragged rim's noise leaves the rest clear.
            float inside = -1;
            for (const Puff& puff : puffs)
            {
                const float dx = u - puff.x;
                const float dy = (v - 0.5f) * squash + 0.5f - puff.y;
                inside = std::max(inside, 1 - std::sqrt(dx * dx + dy * dy) / puff.r);
            }
            const float edge = inside + 0.08f * (fractalNoise(u * 12, v * 12, seed, 2) - 0.5f);
            const float alpha = smoothStep(0.0f, 0.12f, edge);
            const float shade = (v - 0.5f) * squash + 0.5f;
            Colour c = mix(bottom, top, smoothStep(0.3f, 0.62f, shade));
            c.a = alpha;
            return c;
        });
    return canvas;
}

void addSky(ModelOutput& out)
{
    // Drawn over the whole picture, at about its own size: no smaller levels.
    out.addTexture("cel.dds", paintSky(1024, 768), Mipmaps::none);
    out.addTexture("wcel.dds", paintSky(1280, 800), Mipmaps::none);
    out.defineMaterials(unlitMaterial("cel", "cel.dds", true) + unlitMaterial("wcel", "wcel.dds", true));

    out.addTexture("cloud1.dds", paintCloud(rgb(0xFFFFFF), rgb(0xC8D8E8), 1, 131));
    out.addTexture("cloud2.dds", paintCloud(rgb(0xF4F8FF), rgb(0xAFC2D8), 1.15f, 132));
    out.addTexture("cloud3.dds", paintCloud(rgb(0x8A8F9E), rgb(0x3E4250), 0.5f, 133));
    out.defineMaterials(unlitMaterial("cloud1", "cloud1.dds", false) +
                        unlitMaterial("cloud2", "cloud2.dds", false) +
                        unlitMaterial("cloud3", "cloud3.dds", false));

    // A far backdrop of hills for levels, twice as wide as high, transparent above the hills.
    TextureCanvas hills(512, 256);
    hills.paintAll(
        [](float u, float v)
        {
            const float ridge =
                0.55f + 0.18f * std::sin(u * 2 * pi * 1.5f + 0.7f) + 0.08f * std::sin(u * 2 * pi * 4.3f);
            Colour c = mix(rgb(0x7CC08A), rgb(0x4E9A62), 1 - v / ridge);
            c.a = smoothStep(ridge + 0.01f, ridge - 0.01f, v);
            return c;
        });
    out.addTexture("deco_hills.dds", hills);
    out.defineMaterials(unlitMaterial("deco_hills", "deco_hills.dds", false));
}

// Sprites, all white-hot in the middle and fading to transparent at the rim.
TextureCanvas paintSparkle(const Colour& colour)
{
    TextureCanvas canvas(64, 64);
    canvas.paintAll(
        [&](float u, float v)
        {
            const float x = u - 0.5f;
            const float y = v - 0.5f;
            const float r = std::sqrt(x * x + y * y) * 2;
            const float angle = std::atan2(y, x);
            const float star = 0.35f + 0.65f * std::pow(std::fabs(std::cos(2 * angle)), 8.0f);
            float alpha = smoothStep(star, star * 0.4f, r);
            alpha = std::max(alpha, smoothStep(0.5f, 0.0f, r) * 0.8f);
            Colour c = mix(colour, rgb(0xFFFFFF), smoothStep(0.35f, 0.0f, r));
            c.a = alpha;
            return c;
        });
    return canvas;
}

TextureCanvas paintChip(const Colour& colour)
{
    TextureCanvas canvas(64, 64);
    canvas.paintAll(
        [&](float u, float v)
        {
            // A leaf: an almond shape with a midrib.
            const float x = (u - 0.5f) * 2;
            const float y = (v - 0.5f) * 2;
            const float width = 0.55f * std::sqrt(std::max(0.0f, 1 - y * y));
            Colour c = mix(colour, scaled(colour, 0.6f), std::fabs(x) / std::max(0.01f, width));
            if (std::fabs(x) < 0.05f)
                c = scaled(colour, 0.5f);
            c.a =
                smoothStep(width + 0.05f, width - 0.05f, std::fabs(x)) * smoothStep(1.0f, 0.9f, std::fabs(y));
            return c;
        });
    return canvas;
}

// A meteor's halo: the meteor covers its inner third; around it a ring of the meteor's colour, hot and
// nearly opaque at the meteor's edge, fading out towards the rim.
TextureCanvas paintGlow(const Colour& colour)
{
    TextureCanvas canvas(64, 64);
    canvas.paintAll(
        [&](float u, float v)
        {
            const float r = std::hypot(u - 0.5f, v - 0.5f) * 2;
            Colour c = mix(colour, rgb(0xFFFFE0), smoothStep(0.5f, 0.2f, r) * 0.7f);
            c.a = std::pow(smoothStep(1.0f, 0.4f, r), 1.5f) * 0.95f;
            return c;
        });
    return canvas;
}

TextureCanvas paintPuff()
{
    TextureCanvas canvas(64, 64);
    canvas.paintAll(
        [](float u, float v)
        {
            const float r = std::hypot(u - 0.5f, v - 0.5f) * 2;
            const float n = fractalNoise(u * 6, v * 6, 141, 3);
            Colour c = mix(rgb(0xF0F0F0), rgb(0x9A9A9A), n);
            c.a = smoothStep(1.0f, 0.2f, r + 0.25f * (n - 0.5f)) * 0.85f;
            return c;
        });
    return canvas;
}

const char* const particleTemplates = R"(particle_system platf_particle1
{
    material platf_particle1
    particle_width 0.8
    particle_height 0.8
    quota 40
    billboard_type point
    emitter Box
    {
        width 2
        height 0.5
        depth 1
        emission_rate 100
        direction 0 1 0
        angle 60
        velocity_min 6
        velocity_max 12
        time_to_live_min 0.3
        time_to_live_max 0.6
    }
    affector LinearForce
    {
        force_vector 0 -30 0
        force_application add
    }
    affector ColourFader
    {
        alpha -2
    }
}

particle_system platf_particle2
{
    material platf_particle2
    particle_width 1.2
    particle_height 1.2
    quota 40
    billboard_type point
    emitter Box
    {
        width 2
        height 0.5
        depth 1
        emission_rate 60
        direction 0 1 0
        angle 60
        velocity_min 3
        velocity_max 6
        time_to_live_min 0.5
        time_to_live_max 0.9
    }
    affector LinearForce
    {
        force_vector 0 -15 0
        force_application add
    }
    affector Rotator
    {
        rotation_speed_range_start -360
        rotation_speed_range_end 360
        rotation_range_start 0
        rotation_range_end 360
    }
    affector ColourFader
    {
        alpha -1.2
    }
}

particle_system meteor_smoke
{
    material smoke_puff
    particle_width 2.2
    particle_height 2.2
    quota 60
    billboard_type point
    emitter Point
    {
        emission_rate 45
        direction 0 1 0
        angle 180
        velocity_min 0.3
        velocity_max 1.0
        time_to_live_min 0.9
        time_to_live_max 1.3
        colour 1.0 0.72 0.3 0.9
    }
    affector Scaler
    {
        rate 2.5
    }
    affector ColourFader
    {
        red -0.2
        green -0.2
        blue -0.1
        alpha -0.7
    }
}

)";

void addParticleMaterials(ModelOutput& out)
{
    const Colour playerOne = rgb(0xFF7A1E);
    const Colour playerTwo = rgb(0x3A8CFF);
    out.addTexture("spark_p1.dds", paintSparkle(playerOne));
    out.addTexture("spark_p2.dds", paintSparkle(playerTwo));
    out.addTexture("chip_p1.dds", paintChip(playerOne));
    out.addTexture("chip_p2.dds", paintChip(playerTwo));
    out.addTexture("smoke_puff.dds", paintPuff());
    out.addTexture("meteor_glow.dds", paintGlow(rgb(0xFF9A2A)));
    out.addTexture("green_meteor_glow.dds", paintGlow(rgb(0x8CFF3A)));
    out.defineMaterials(unlitMaterial("platf_particle1", "spark_p1.dds", false) +
                        unlitMaterial("platf_particle1b", "spark_p2.dds", false) +
                        unlitMaterial("platf_particle2", "chip_p1.dds", false) +
                        unlitMaterial("platf_particle2b", "chip_p2.dds", false) +
                        unlitMaterial("smoke_puff", "smoke_puff.dds", false) +
                        unlitMaterial("meteor_glow", "meteor_glow.dds", false) +
                        unlitMaterial("green_meteor_glow", "green_meteor_glow.dds", false));
}
} // namespace

void addSkyAndClouds(ModelOutput& out)
{
    addSky(out);
}

void addParticles(ModelOutput& out)
{
    addParticleMaterials(out);
    out.addParticleScript(particleTemplates);
}

} // namespace models
