#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dds_writer.h"

// A small 2D drawing kit for the media generator's pictures and the level tool's drawings. Shapes become
// coverage masks (anti-aliased from their signed distance), masks combine like sets, and a mask is painted
// onto a raster with a flat colour or a vertical gradient. Pixel (x, y) covers [x, x+1) x [y, y+1); y grows
// downwards; all lengths are pixels. Everything is plain float arithmetic in a fixed order, so the same calls
// give the same bytes every run.

// A colour with straight (not premultiplied) alpha, each component 0..1.
struct Colour
{
    float r = 0, g = 0, b = 0, a = 1;

    Colour withAlpha(float alpha) const { return {r, g, b, alpha}; }
};

// 0xRRGGBB with the given opacity.
Colour rgb(std::uint32_t hex, float alpha = 1.0f);
// Linear blend: t 0 gives from, 1 gives to.
Colour mix(const Colour& from, const Colour& to, float t);
// Scales the colour towards black (factor < 1) or white (factor > 1), keeping alpha.
Colour shade(const Colour& colour, float factor);

// Axis-aligned rectangle from (x0, y0) to (x1, y1).
struct Rect
{
    float x0, y0, x1, y1;

    float width() const { return x1 - x0; }
    float height() const { return y1 - y0; }
    float centreX() const { return (x0 + x1) * 0.5f; }
    float centreY() const { return (y0 + y1) * 0.5f; }
    // The rectangle grown by d on every side (shrunk when d < 0).
    Rect grown(float d) const { return {x0 - d, y0 - d, x1 + d, y1 + d}; }
    Rect moved(float dx, float dy) const { return {x0 + dx, y0 + dy, x1 + dx, y1 + dy}; }
};

// Coverage per pixel, 0 (outside) to 1 (inside), for a picture of a fixed size.
class Mask
{
  public:
    Mask(int width, int height);

    int width() const { return mWidth; }
    int height() const { return mHeight; }
    float at(int x, int y) const { return mValues[static_cast<std::size_t>(y * mWidth + x)]; }
    float& at(int x, int y) { return mValues[static_cast<std::size_t>(y * mWidth + x)]; }

    // Set operations on masks of the same size: union keeps the larger coverage, subtract removes other's
    // coverage, intersect keeps only what both cover.
    Mask& unite(const Mask& other);
    Mask& subtract(const Mask& other);
    Mask& intersect(const Mask& other);
    // Multiplies every coverage by factor (0..1): a faded copy.
    Mask& scale(float factor);
    // A copy moved by whole pixels; what moves in from the border is empty.
    Mask shifted(int dx, int dy) const;
    // A copy grown by radius pixels in every direction (a round-cornered outline to paint underneath).
    Mask dilated(float radius) const;
    // A soft copy: three box blurs of the given radius, close to a Gaussian of sigma ~ radius.
    Mask blurred(int radius) const;

  private:
    int mWidth;
    int mHeight;
    std::vector<float> mValues;
};

// Shape masks for a picture of width x height.
Mask roundedRect(int width, int height, const Rect& rect, float radius);
// Ellipse centred at (cx, cy) with radii rx, ry, turned by angle radians (clockwise on screen).
Mask ellipse(int width, int height, float cx, float cy, float rx, float ry, float angle = 0.0f);
// A stroke of the given thickness from (x0, y0) to (x1, y1) with round ends.
Mask segment(int width, int height, float x0, float y0, float x1, float y1, float thickness);
// A stroke through points given as x0, y0, x1, y1, ... (two or more), round at the ends and the joints.
Mask polyline(int width, int height, const std::vector<float>& points, float thickness);
// A closed polygon (even-odd rule) through points given as x0, y0, x1, y1, ...
Mask polygon(int width, int height, const std::vector<float>& points);
// The band between radii inner and outer around (cx, cy).
Mask ring(int width, int height, float cx, float cy, float inner, float outer);

// How a mask is painted: a vertical gradient from top (at y0) to bottom (at y1), flat outside that range.
struct Paint
{
    Colour top;
    Colour bottom;
    float y0 = 0;
    float y1 = 1;

    static Paint solid(const Colour& colour) { return {colour, colour, 0, 1}; }
    static Paint vertical(const Colour& top, const Colour& bottom, float y0, float y1)
    {
        return {top, bottom, y0, y1};
    }
};

// An RGBA picture, transparent when made.
class Raster
{
  public:
    Raster(int width, int height);

    int width() const { return mWidth; }
    int height() const { return mHeight; }

    // Paints paint through mask over what is there (source over destination).
    void paint(const Mask& mask, const Paint& paint);
    void paint(const Mask& mask, const Colour& colour) { paint(mask, Paint::solid(colour)); }
    // Paints a mask of any size with its top left at pixel (left, top), cut at the picture's edges: a
    // small mask for a small shape on a large picture. The paint's heights are the picture's.
    void paint(const Mask& mask, int left, int top, const Paint& paint);
    // Draws other over this picture with its top left at (x, y).
    void draw(const Raster& other, int x, int y);

    // 8-bit RGBA with straight alpha, row by row from the top.
    std::vector<std::uint8_t> rgbaBytes() const;
    // rgbaBytes() with the colour of fully transparent pixels taken from their neighbours, so that bilinear
    // filtering does not darken the picture's edges.
    std::vector<std::uint8_t> bledRgba() const;
    // DDS bytes of bledRgba(): overlays take no smaller levels, pictures placed in the world take them all.
    std::string encodeDds(Mipmaps mipmaps = Mipmaps::none) const;

  private:
    int mWidth;
    int mHeight;
    // Premultiplied RGBA, row by row.
    std::vector<float> mPixels;
};
