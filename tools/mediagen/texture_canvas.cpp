#include "texture_canvas.h"

#include <algorithm>
#include <cmath>

namespace models
{
namespace
{
std::uint32_t hash(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    std::uint32_t h = seed * 0x9E3779B1u ^ static_cast<std::uint32_t>(x) * 0x85EBCA77u ^
                      static_cast<std::uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float lattice(std::int32_t x, std::int32_t y, std::uint32_t seed, int periodX)
{
    if (periodX > 0)
        x = ((x % periodX) + periodX) % periodX;
    return static_cast<float>(hash(x, y, seed) & 0xFFFFFFu) / static_cast<float>(0xFFFFFF);
}

std::uint8_t toByte(float value)
{
    return static_cast<std::uint8_t>(std::lround(std::min(1.0f, std::max(0.0f, value)) * 255.0f));
}
} // namespace

Colour rgb(unsigned int hex, float alpha)
{
    return {static_cast<float>((hex >> 16) & 0xFF) / 255.0f, static_cast<float>((hex >> 8) & 0xFF) / 255.0f,
            static_cast<float>(hex & 0xFF) / 255.0f, alpha};
}

Colour mix(const Colour& a, const Colour& b, float t)
{
    t = std::min(1.0f, std::max(0.0f, t));
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Colour scaled(const Colour& c, float factor)
{
    return {c.r * factor, c.g * factor, c.b * factor, c.a};
}

float valueNoise(float x, float y, std::uint32_t seed, int periodX)
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const auto ix = static_cast<std::int32_t>(fx);
    const auto iy = static_cast<std::int32_t>(fy);
    float tx = x - fx;
    float ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const float a = lattice(ix, iy, seed, periodX);
    const float b = lattice(ix + 1, iy, seed, periodX);
    const float c = lattice(ix, iy + 1, seed, periodX);
    const float d = lattice(ix + 1, iy + 1, seed, periodX);
    return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

float fractalNoise(float x, float y, std::uint32_t seed, int octaves, int periodX)
{
    float sum = 0;
    float amplitude = 0.5f;
    float total = 0;
    for (int o = 0; o < octaves; ++o)
    {
        sum += amplitude * valueNoise(x, y, seed + static_cast<std::uint32_t>(o) * 101u, periodX);
        total += amplitude;
        x *= 2;
        y *= 2;
        periodX *= 2;
        amplitude *= 0.5f;
    }
    return sum / total;
}

TextureCanvas::TextureCanvas(int width, int height)
    : mWidth(width), mHeight(height), mPixels(static_cast<size_t>(width * height) * 4, 0)
{
}

void TextureCanvas::set(int x, int y, const Colour& c)
{
    const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(mWidth) + static_cast<size_t>(x)) * 4;
    mPixels[at] = toByte(c.r);
    mPixels[at + 1] = toByte(c.g);
    mPixels[at + 2] = toByte(c.b);
    mPixels[at + 3] = toByte(c.a);
}

Colour TextureCanvas::pixel(int x, int y) const
{
    const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(mWidth) + static_cast<size_t>(x)) * 4;
    return {mPixels[at] / 255.0f, mPixels[at + 1] / 255.0f, mPixels[at + 2] / 255.0f,
            mPixels[at + 3] / 255.0f};
}

UvRect TextureCanvas::paintRegion(int x0, int y0, int x1, int y1, const Painter& paint)
{
    constexpr float margin = 4.0f;
    const float left = static_cast<float>(x0) + margin;
    const float right = static_cast<float>(x1) - margin;
    const float top = static_cast<float>(y0) + margin;
    const float bottom = static_cast<float>(y1) - margin;
    for (int y = y0; y < y1; ++y)
    {
        const float v =
            std::min(1.0f, std::max(0.0f, (bottom - (static_cast<float>(y) + 0.5f)) / (bottom - top)));
        for (int x = x0; x < x1; ++x)
        {
            const float u =
                std::min(1.0f, std::max(0.0f, (static_cast<float>(x) + 0.5f - left) / (right - left)));
            set(x, y, paint(u, v));
        }
    }
    const auto w = static_cast<float>(mWidth);
    const auto h = static_cast<float>(mHeight);
    return {left / w, top / h, right / w, bottom / h};
}

void TextureCanvas::paintAll(const Painter& paint)
{
    for (int y = 0; y < mHeight; ++y)
    {
        const float v = 1.0f - (static_cast<float>(y) + 0.5f) / static_cast<float>(mHeight);
        for (int x = 0; x < mWidth; ++x)
            set(x, y, paint((static_cast<float>(x) + 0.5f) / static_cast<float>(mWidth), v));
    }
}

TextureCanvas TextureCanvas::tinted(const Colour& colour, float amount) const
{
    TextureCanvas copy(mWidth, mHeight);
    for (int y = 0; y < mHeight; ++y)
    {
        for (int x = 0; x < mWidth; ++x)
        {
            Colour c = mix(pixel(x, y), colour, amount);
            c.a = pixel(x, y).a;
            copy.set(x, y, c);
        }
    }
    return copy;
}

std::string TextureCanvas::encodeDds(Mipmaps mipmaps) const
{
    return encodeDdsRgba(mPixels.data(), mWidth, mHeight, mipmaps);
}

} // namespace models
