#pragma once

#include <vector>

#include "decor/picture_cutout.h"

// The outline a blended picture is drawn in. A software rasteriser pays for every pixel a draw covers,
// clear or not, and a puffy cloud leaves a quarter of the box around it clear, in the corners: a convex
// polygon of a few corners around what shows skips them for a handful of triangles more.

// A corner in texels: x to the right and y down from the picture's top left corner.
struct OutlineCorner
{
    float x = 0, y = 0;
};

// A convex polygon holding every pixel a filtered draw of the picture can show (each visible texel and half
// a texel round it), cut to the box of visible texels (visibleTexels), which it never exceeds. At most
// maxCorners corners (at least 3) before that cut, which adds up to four; corners in order around it. Empty
// when no texel is visible.
std::vector<OutlineCorner> visibleOutline(const AlphaGrid& picture, int maxCorners);
