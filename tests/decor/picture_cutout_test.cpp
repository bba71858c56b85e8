// Cutting a picture into opaque and blended strips: what is drawn opaque must really be opaque, even after
// filtering, and nothing visible may be lost or drawn twice.

#include <cmath>

#include <gtest/gtest.h>

#include "decor/picture_cutout.h"
#include "support/painted_alpha.h"

namespace
{
// How many strips hold texel (x, y), and whether one of them is opaque.
struct Cover
{
    int count = 0;
    bool opaque = false;
};

Cover coverOf(const std::vector<CutoutStrip>& strips, int x, int y)
{
    Cover cover;
    for (const CutoutStrip& s : strips)
        if (x >= s.x0 && x < s.x1 && y >= s.y0 && y < s.y1)
        {
            ++cover.count;
            cover.opaque = cover.opaque || s.opaque;
        }
    return cover;
}

// A texel a filtered opaque strip may show: it and every neighbour (the picture's edge repeats) opaque.
bool opaqueWithNeighbours(const AlphaGrid& picture, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
        {
            const int nx = std::min(std::max(x + dx, 0), picture.width - 1);
            const int ny = std::min(std::max(y + dy, 0), picture.height - 1);
            if (picture.at(nx, ny) != 255)
                return false;
        }
    return true;
}

void expectSoundCut(const AlphaGrid& picture, int columnWidth)
{
    const std::vector<CutoutStrip> strips = cutPicture(picture, columnWidth);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
        {
            const Cover cover = coverOf(strips, x, y);
            EXPECT_LE(cover.count, 1) << "texel " << x << "," << y << " drawn twice";
            if (picture.at(x, y) != 0)
            {
                EXPECT_EQ(cover.count, 1) << "visible texel " << x << "," << y << " not drawn";
            }
            if (cover.opaque)
            {
                EXPECT_TRUE(opaqueWithNeighbours(picture, x, y)) << "texel " << x << "," << y;
            }
        }
}
} // namespace

TEST(PictureCutout, HillsWithASoftRidgeAreCutSoundlyAndMostlyOpaque)
{
    // Opaque below a gently wavy ridge, a two-texel soft edge, clear above; the last columns are clear.
    const AlphaGrid hills =
        paintAlpha(64, 48,
                   [](int x, int y)
                   {
                       if (x >= 56)
                           return 0;
                       const int ridge = 16 + static_cast<int>(4 * std::sin(x * 0.1));
                       return y > ridge ? 255 : y == ridge ? 128 : y == ridge - 1 ? 40 : 0;
                   });
    expectSoundCut(hills, 8);
    expectSoundCut(hills, 5);

    const std::vector<CutoutStrip> strips = cutPicture(hills, 8);
    int opaqueTexels = 0, blendedTexels = 0;
    for (const CutoutStrip& s : strips)
    {
        EXPECT_LT(s.x0, 56) << "a clear column has a strip";
        (s.opaque ? opaqueTexels : blendedTexels) += (s.x1 - s.x0) * (s.y1 - s.y0);
    }
    EXPECT_GT(opaqueTexels, 2 * blendedTexels);
    EXPECT_TRUE(worthCutting(hills, strips));
}

// A puff whose opaque middle is a small share of the picture is better drawn as one blended quad.
TEST(PictureCutout, ASmallOpaqueMiddleIsNotWorthCutting)
{
    const AlphaGrid puff = paintAlpha(32, 32,
                                      [](int x, int y)
                                      {
                                          const int d2 = (x - 16) * (x - 16) + (y - 16) * (y - 16);
                                          return d2 < 49 ? 255 : d2 < 144 ? 120 : 0;
                                      });
    const std::vector<CutoutStrip> strips = cutPicture(puff, 8);
    expectSoundCut(puff, 8);
    EXPECT_FALSE(worthCutting(puff, strips));
}

TEST(PictureCutout, AHoleSplitsAColumnAndOnlyTheLongestOpaqueRunIsOpaque)
{
    // One column, opaque but for a translucent texel at row 5 and a clear one at row 12: opaque runs (with
    // their neighbours) at rows 0-3, 7-10 and 14-19.
    const AlphaGrid column = paintAlpha(4, 20, [](int, int y) { return y == 5 ? 100 : y == 12 ? 0 : 255; });
    expectSoundCut(column, 4);
    EXPECT_EQ(cutPicture(column, 4), (std::vector<CutoutStrip>{{0, 4, 0, 14, false}, {0, 4, 14, 20, true}}));
}

TEST(PictureCutout, EdgesAndEmptyPictures)
{
    // A wholly opaque picture is opaque to its edges, which clamped sampling repeats.
    const std::vector<CutoutStrip> solid = cutPicture(paintAlpha(10, 6, [](int, int) { return 255; }), 8);
    EXPECT_EQ(solid, (std::vector<CutoutStrip>{{0, 10, 0, 6, true}}));

    // Faint everywhere: one blended strip a column, nothing opaque.
    const std::vector<CutoutStrip> faint = cutPicture(paintAlpha(8, 6, [](int, int) { return 1; }), 8);
    EXPECT_EQ(faint, (std::vector<CutoutStrip>{{0, 8, 0, 6, false}}));

    const AlphaGrid clear = paintAlpha(8, 6, [](int, int) { return 0; });
    EXPECT_TRUE(cutPicture(clear, 8).empty());
    EXPECT_EQ(visibleTexels(clear), CutoutStrip{});
}

TEST(PictureCutout, TheVisiblePartIsTheTightBoxAroundEveryVisibleTexel)
{
    const AlphaGrid cloud =
        paintAlpha(16, 12, [](int x, int y) { return (x == 3 && y == 7) || (x == 11 && y == 2) ? 9 : 0; });
    EXPECT_EQ(visibleTexels(cloud), (CutoutStrip{3, 12, 2, 8, false}));
}
