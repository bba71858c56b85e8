// The outline a blended picture is drawn in: it must hold every pixel a filtered draw of the picture shows,
// stay convex and within the picture's visible box, and leave out what is clear around a round picture.

#include <cmath>

#include <gtest/gtest.h>

#include "decor/picture_outline.h"
#include "support/painted_alpha.h"

namespace
{
double cross(const OutlineCorner& o, const OutlineCorner& a, float x, float y)
{
    return static_cast<double>(a.x - o.x) * (y - o.y) - static_cast<double>(a.y - o.y) * (x - o.x);
}

// Whether (x, y) lies in the convex polygon, edges included (to a hundredth of a texel).
bool holds(const std::vector<OutlineCorner>& outline, float x, float y)
{
    bool left = false, right = false;
    for (std::size_t i = 0; i < outline.size(); ++i)
    {
        const OutlineCorner& a = outline[i];
        const OutlineCorner& b = outline[(i + 1) % outline.size()];
        const double side = cross(a, b, x, y) / std::hypot(b.x - a.x, b.y - a.y);
        left = left || side > 0.01;
        right = right || side < -0.01;
    }
    return !(left && right);
}

double area(const std::vector<OutlineCorner>& outline)
{
    double twice = 0;
    for (std::size_t i = 0; i < outline.size(); ++i)
    {
        const OutlineCorner& a = outline[i];
        const OutlineCorner& b = outline[(i + 1) % outline.size()];
        twice += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return std::fabs(twice) / 2;
}

// Every visible texel's square grown by half a texel, cut to the visible box, is inside; the outline turns
// one way only and never leaves the box.
void expectSoundOutline(const AlphaGrid& picture, int maxCorners)
{
    const std::vector<OutlineCorner> outline = visibleOutline(picture, maxCorners);
    const CutoutStrip box = visibleTexels(picture);
    ASSERT_GE(outline.size(), 3u);
    EXPECT_LE(outline.size(), static_cast<std::size_t>(maxCorners + 4));
    int turns = 0;
    for (std::size_t i = 0; i < outline.size(); ++i)
    {
        const OutlineCorner& c = outline[i];
        EXPECT_TRUE(c.x >= box.x0 - 1e-3f && c.x <= box.x1 + 1e-3f && c.y >= box.y0 - 1e-3f &&
                    c.y <= box.y1 + 1e-3f)
            << "corner " << c.x << "," << c.y << " outside the visible box";
        const OutlineCorner& next = outline[(i + 1) % outline.size()];
        const OutlineCorner& after = outline[(i + 2) % outline.size()];
        const double turn = cross(c, next, after.x, after.y);
        turns += turn > 1e-6 ? 1 : turn < -1e-6 ? -1 : 0;
    }
    EXPECT_EQ(std::abs(turns), static_cast<int>(outline.size())) << "not convex";
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
        {
            if (picture.at(x, y) == 0)
                continue;
            const auto within = [&](float v, int low, int high)
            { return std::min(std::max(v, static_cast<float>(low)), static_cast<float>(high)); };
            for (const float cx : {x - 0.5f, x + 1.5f})
                for (const float cy : {y - 0.5f, y + 1.5f})
                    EXPECT_TRUE(holds(outline, within(cx, box.x0, box.x1), within(cy, box.y0, box.y1)))
                        << "texel " << x << "," << y << " not wholly drawn";
        }
}
} // namespace

TEST(PictureOutline, ARoundPuffIsHeldWholeAndItsClearCornersAreLeftOut)
{
    // A disc with a soft rim in a wider picture, and a few stray texels round its edge.
    const AlphaGrid puff =
        paintAlpha(48, 40,
                   [](int x, int y)
                   {
                       if ((x == 20 && y == 3) || (x == 38 && y == 30))
                           return 4;
                       const double d = std::hypot(x + 0.5 - 24, y + 0.5 - 20);
                       return d < 12 ? 255 : d < 16 ? static_cast<int>(255 * (16 - d) / 4) : 0;
                   });
    for (const int corners : {3, 6, 8, 16})
    {
        SCOPED_TRACE(corners);
        expectSoundOutline(puff, corners);
    }
    const CutoutStrip box = visibleTexels(puff);
    const double boxArea = (box.x1 - box.x0) * (box.y1 - box.y0);
    EXPECT_LT(area(visibleOutline(puff, 8)), 0.9 * boxArea);
}

TEST(PictureOutline, RectanglesSingleTexelsAndEmptyPictures)
{
    // Wholly visible: the picture's own rectangle.
    const std::vector<OutlineCorner> whole =
        visibleOutline(paintAlpha(10, 6, [](int, int) { return 200; }), 8);
    EXPECT_EQ(whole.size(), 4u);
    EXPECT_NEAR(area(whole), 60, 1e-3);

    // One texel: its own square, however many corners are allowed.
    const AlphaGrid dot = paintAlpha(9, 7, [](int x, int y) { return x == 4 && y == 2 ? 90 : 0; });
    expectSoundOutline(dot, 8);
    EXPECT_NEAR(area(visibleOutline(dot, 8)), 1, 1e-3);

    // Two texels far apart on a diagonal: the band between them, not the box.
    const AlphaGrid pair =
        paintAlpha(30, 30, [](int x, int y) { return (x == 2 && y == 2) || (x == 27 && y == 27); });
    expectSoundOutline(pair, 8);
    EXPECT_LT(area(visibleOutline(pair, 8)), 0.3 * 26 * 26);

    EXPECT_TRUE(visibleOutline(paintAlpha(8, 6, [](int, int) { return 0; }), 8).empty());
}
