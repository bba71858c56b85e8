#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dds_writer.h"
#include "mesh_builder.h"

namespace models
{

// Straight (not premultiplied) RGBA, each channel 0..1.
struct Colour
{
    float r = 0, g = 0, b = 0, a = 1;
};

Colour rgb(unsigned int hex, float alpha = 1);
Colour mix(const Colour& a, const Colour& b, float t);
Colour scaled(const Colour& c, float factor);

// Deterministic value noise in 0..1 from our own hash; periodX > 0 makes it repeat every periodX units in x
// (for textures that wrap around a model).
float valueNoise(float x, float y, std::uint32_t seed, int periodX = 0);
// Sum of octaves of value noise, 0..1.
float fractalNoise(float x, float y, std::uint32_t seed, int octaves, int periodX = 0);

// An RGBA picture painted pixel by pixel and written as an uncompressed DDS file, which the engine reads
// by itself (no image codec plugin; the archive's deflate compresses it), with its smaller levels unless
// it is always drawn at its own size.
class TextureCanvas
{
  public:
    using Painter = std::function<Colour(float u, float v)>;

    TextureCanvas(int width, int height);
    int width() const { return mWidth; }
    int height() const { return mHeight; }

    // Paints the pixel rectangle [x0, x1) x [y0, y1) with paint(u, v), u left to right and v bottom to top,
    // both 0..1 over the rectangle less a margin of four pixels that repeats the edge colours (so filtering
    // never bleeds a neighbour in). Returns the texture coordinates the model must use for it.
    // Round parts wrap at u = 0 and 1 (on most of them that seam faces the camera), so their painters
    // must repeat in u: periodic noise (periodX) and whole turns of sines.
    UvRect paintRegion(int x0, int y0, int x1, int y1, const Painter& paint);
    // The whole picture, no margin (skies, clouds, sprites).
    void paintAll(const Painter& paint);

    Colour pixel(int x, int y) const;
    // A copy with every pixel moved toward colour by amount (0..1), alpha kept.
    TextureCanvas tinted(const Colour& colour, float amount) const;
    std::string encodeDds(Mipmaps mipmaps = Mipmaps::full) const;

  private:
    void set(int x, int y, const Colour& c);
    int mWidth;
    int mHeight;
    std::vector<std::uint8_t> mPixels;
};

} // namespace models
