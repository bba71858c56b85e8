#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Drawing pictures with clear margins cheaply on a software rasteriser, where every covered pixel costs a
// texture fetch whether it shows or not.
//
// A picture that is mostly opaque (a backdrop of hills) is drawn as strips instead of one blended quad: the
// fully opaque middle of each column of texels as opaque geometry that writes depth, so that the sky drawn
// after it skips those pixels and a second backdrop behind it fails the depth test, and only the rest of
// the column blended. Texels that are clear in a whole strip get no geometry at all. Thin strips cost more
// per pixel than one big quad, so a picture whose opaque part is small (a puffy cloud) is instead drawn
// blended in one convex outline around its visible part.

// One strip of the picture in texels: columns [x0, x1), rows [y0, y1), row 0 at the top.
struct CutoutStrip
{
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    bool opaque = false;

    bool operator==(const CutoutStrip& other) const
    {
        return x0 == other.x0 && x1 == other.x1 && y0 == other.y0 && y1 == other.y1 && opaque == other.opaque;
    }
};

// The alpha of every texel, row after row from the top, 0 to 255.
struct AlphaGrid
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> alpha;

    std::uint8_t at(int x, int y) const { return alpha[static_cast<std::size_t>(y * width + x)]; }
};

// Cuts the picture into columns `columnWidth` texels wide. In each column the longest run of rows whose
// texels are all opaque, and whose neighbours (one texel round, which filtering blends in) are too,
// becomes an opaque strip; the rows above and below it that hold any visible texel become blended strips.
// Every visible texel lies in exactly one strip, and no opaque strip touches a texel that is not opaque.
std::vector<CutoutStrip> cutPicture(const AlphaGrid& picture, int columnWidth);

// Whether drawing the picture as `strips` pays: enough of it is opaque.
bool worthCutting(const AlphaGrid& picture, const std::vector<CutoutStrip>& strips);

// The smallest rectangle of texels holding every visible one (`opaque` unused); all zero when none is.
CutoutStrip visibleTexels(const AlphaGrid& picture);

// The meshes that draw the picture of `material` as strips, in the same frame as a default billboard:
// 100 x 100 units centred on the origin in the xy plane, picture's left at -x and top at +y, so that a node
// turned as the camera is shows it as the camera's billboard would. Made once per material and kept by the
// mesh manager. The opaque strips' material writes depth; the blended strips' does not, and does not draw
// over an opaque strip at the same depth (so two overlapping copies of the picture at one depth show one
// outline, not both). A name is empty when the picture has no strip of that kind. Needs the material's
// texture readable as an image.
struct PictureCutout
{
    std::string opaqueMesh;
    std::string blendedMesh;
};
PictureCutout pictureCutout(const std::string& material);

// The mesh that draws the picture of `material` blended, only inside its visibleOutline (picture_outline.h),
// in the frame of pictureCutout's meshes. Its material is a copy of the picture's that is neither tinted nor
// culled and has no mipmaps: these pictures are drawn larger than their texture. Made once per material and
// kept by the mesh manager; needs the material's texture readable as an image.
std::string pictureOutline(const std::string& material);
