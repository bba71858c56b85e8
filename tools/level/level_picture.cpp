#include "level_picture.h"

#include <algorithm>
#include <cmath>

namespace
{
using Kind = SketchShape::Kind;

constexpr double gridUnits = 50.0;

const Colour ink = rgb(0x2a2f3a);

// A piece of the picture that one shape covers, in pixels. Each shape is drawn through a mask of its own
// piece only: a level is thousands of pixels wide.
struct Patch
{
    int left, top, width, height;

    float x(float pictureX) const { return pictureX - static_cast<float>(left); }
    float y(float pictureY) const { return pictureY - static_cast<float>(top); }
};

Patch patchAround(float x0, float y0, float x1, float y1, float pad)
{
    const int left = static_cast<int>(std::floor(std::min(x0, x1) - pad));
    const int top = static_cast<int>(std::floor(std::min(y0, y1) - pad));
    return {left, top, static_cast<int>(std::ceil(std::max(x0, x1) + pad)) - left + 1,
            static_cast<int>(std::ceil(std::max(y0, y1) + pad)) - top + 1};
}

// Level units to pixels.
struct View
{
    LevelArea area;
    int width, height;

    float px(double x) const { return static_cast<float>((area.maxX - x) * pixelsPerUnit); }
    float py(double y) const { return static_cast<float>((area.maxY - y) * pixelsPerUnit); }
    float pixels(double units) const { return static_cast<float>(std::max(1.0, units * pixelsPerUnit)); }

    // The pixel points of shape points within the patch that holds them all, pad pixels around.
    Patch patchFor(const std::vector<LevelPoint>& points, float pad, std::vector<float>& out) const
    {
        float x0 = px(points[0].x), x1 = x0, y0 = py(points[0].y), y1 = y0;
        for (const LevelPoint& p : points)
        {
            x0 = std::min(x0, px(p.x));
            x1 = std::max(x1, px(p.x));
            y0 = std::min(y0, py(p.y));
            y1 = std::max(y1, py(p.y));
        }
        const Patch patch = patchAround(x0, y0, x1, y1, pad);
        for (const LevelPoint& p : points)
        {
            out.push_back(patch.x(px(p.x)));
            out.push_back(patch.y(py(p.y)));
        }
        return patch;
    }
};

void paintIn(Raster& picture, const Patch& patch, const Mask& mask, const Colour& colour)
{
    picture.paint(mask, patch.left, patch.top, Paint::solid(colour));
}

void paintRect(Raster& picture, float x0, float y0, float x1, float y1, const Colour& colour)
{
    const Patch patch = patchAround(x0, y0, x1, y1, 0);
    paintIn(
        picture, patch,
        roundedRect(patch.width, patch.height, Rect{patch.x(x0), patch.y(y0), patch.x(x1), patch.y(y1)}, 0),
        colour);
}

// Text centred on (x, y) in pixels, or starting at x when fromLeft, on a white halo so that it reads over
// lines.
void drawLabel(Raster& picture, FontFace& font, const std::string& text, float x, float y, float size,
               const Colour& colour, bool fromLeft = false)
{
    constexpr float halo = 2.0f;
    if (text.empty())
        return;
    TextStyle style;
    style.pixelSize = size;
    const TextBounds bounds = font.measure(text, style, halo);
    const float penX = fromLeft ? x - bounds.left : x - (bounds.left + bounds.right) / 2;
    const float baseline = y - (bounds.top + bounds.bottom) / 2;
    const Patch patch = patchAround(penX + bounds.left, baseline + bounds.top, penX + bounds.right,
                                    baseline + bounds.bottom, 2);
    const float patchPenX = patch.x(penX);
    const float patchBaseline = patch.y(baseline);
    paintIn(picture, patch,
            font.render(patch.width, patch.height, text, style, patchPenX, patchBaseline, halo),
            rgb(0xffffff, 0.85f));
    paintIn(picture, patch, font.render(patch.width, patch.height, text, style, patchPenX, patchBaseline),
            colour);
}

void drawGrid(Raster& picture, const View& view, FontFace& font)
{
    const float bottom = static_cast<float>(view.height);
    for (double x = std::ceil(view.area.minX / gridUnits) * gridUnits; x <= view.area.maxX; x += gridUnits)
    {
        const float at = view.px(x);
        paintRect(picture, at - 0.5f, 0, at + 0.5f, bottom, rgb(0xc4d0de));
        drawLabel(picture, font, std::to_string(static_cast<long>(x)), at, bottom - 10, 11, rgb(0x6b7a8c));
    }
}

void drawLine(Raster& picture, const View& view, const SketchShape& s)
{
    const float width = view.pixels(s.size);
    std::vector<float> points;
    const Patch patch = view.patchFor(s.points, width, points);
    paintIn(picture, patch, polyline(patch.width, patch.height, points, width), s.colour);
}

void drawShape(Raster& picture, const View& view, FontFace& font, const SketchShape& s)
{
    const float right = static_cast<float>(view.width);
    const float bottom = static_cast<float>(view.height);
    switch (s.kind)
    {
    case Kind::fill:
    {
        std::vector<float> points;
        const Patch patch = view.patchFor(s.points, 2, points);
        paintIn(picture, patch, polygon(patch.width, patch.height, points), s.colour);
        break;
    }
    case Kind::stroke:
        drawLine(picture, view, s);
        break;
    case Kind::disc:
    case Kind::ring:
    {
        const float r = view.pixels(s.size);
        const float x = view.px(s.points[0].x);
        const float y = view.py(s.points[0].y);
        const Patch patch = patchAround(x, y, x, y, r + 3);
        paintIn(picture, patch,
                s.kind == Kind::disc
                    ? ellipse(patch.width, patch.height, patch.x(x), patch.y(y), r, r)
                    : ring(patch.width, patch.height, patch.x(x), patch.y(y), r - 0.75f, r + 0.75f),
                s.colour);
        break;
    }
    case Kind::label:
        drawLabel(picture, font, s.text, view.px(s.points[0].x), view.py(s.points[0].y),
                  static_cast<float>(s.size), s.colour);
        break;
    case Kind::rule:
    {
        const float y = view.py(s.points[0].y);
        const float half = view.pixels(s.size) / 2;
        paintRect(picture, 0, y - half, right, y + half, s.colour);
        drawLabel(picture, font, s.text, 8, y - 8, 11, s.colour, true);
        break;
    }
    case Kind::below:
    {
        const float y = view.py(s.points[0].y);
        paintRect(picture, 0, y, right, bottom, s.colour);
        drawLabel(picture, font, s.text, 8, y + 9, 11, shade(s.colour.withAlpha(1), 0.8f), true);
        break;
    }
    case Kind::column:
        paintRect(picture, view.px(s.points[1].x), 0, view.px(s.points[0].x), view.py(s.points[0].y),
                  s.colour);
        break;
    }
}
} // namespace

LevelArea pictureArea(const std::vector<SketchShape>& shapes)
{
    LevelArea area{1e300, -1e300, fallLineY, fallLineY};
    for (const SketchShape& s : shapes)
    {
        if (!s.framed)
            continue;
        const bool heightOnly = s.kind == Kind::rule || s.kind == Kind::below;
        for (const LevelPoint& p : s.points)
        {
            if (p.y < fallLineY)
                continue;
            if (!heightOnly)
            {
                area.minX = std::min(area.minX, p.x);
                area.maxX = std::max(area.maxX, p.x);
            }
            area.minY = std::min(area.minY, p.y);
            area.maxY = std::max(area.maxY, p.y);
        }
    }
    if (area.minX > area.maxX)
        area.minX = area.maxX = 0;
    return {area.minX - marginUnits, area.maxX + marginUnits, area.minY - marginUnits,
            area.maxY + marginUnits};
}

Raster drawLevel(const std::vector<SketchShape>& shapes, const std::string& title, FontFace& font)
{
    View view{pictureArea(shapes), 0, 0};
    view.width = static_cast<int>(std::lround((view.area.maxX - view.area.minX) * pixelsPerUnit));
    view.height = static_cast<int>(std::lround((view.area.maxY - view.area.minY) * pixelsPerUnit));
    Raster picture(view.width, view.height);
    const float w = static_cast<float>(view.width);
    const float h = static_cast<float>(view.height);
    picture.paint(roundedRect(view.width, view.height, Rect{0, 0, w, h}, 0),
                  Paint::vertical(rgb(0xf6f9fc), rgb(0xe0eaf4), 0, h));
    drawGrid(picture, view, font);
    for (const SketchShape& s : shapes)
        drawShape(picture, view, font, s);
    drawLabel(picture, font, title, 10, 16, 16, ink, true);
    return picture;
}
