#include "font_face.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_STROKER_H

std::string readDejaVuFont(const std::string& fileName)
{
    const std::string path = "/usr/share/fonts/truetype/dejavu/" + fileName;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in || bytes.str().empty())
        throw std::runtime_error("cannot read " + path + " (Debian package fonts-dejavu-core)");
    return bytes.str();
}

namespace
{
FT_Pos toFixed(float pixels)
{
    return static_cast<FT_Pos>(std::lround(pixels * 64.0f));
}

void check(FT_Error error, const char* what)
{
    if (error)
        throw std::runtime_error(std::string("raster: FreeType cannot ") + what + " (error " +
                                 std::to_string(error) + ")");
}

// Owns one FT_Glyph for the duration of a visit.
struct GlyphHolder
{
    FT_Glyph glyph = nullptr;
    ~GlyphHolder()
    {
        if (glyph)
            FT_Done_Glyph(glyph);
    }
};
} // namespace

FontFace::FontFace(std::string bytes) : mBytes(std::move(bytes))
{
    check(FT_Init_FreeType(&mLibrary), "start");
    if (FT_New_Memory_Face(mLibrary, reinterpret_cast<const FT_Byte*>(mBytes.data()),
                           static_cast<FT_Long>(mBytes.size()), 0, &mFace) ||
        FT_Stroker_New(mLibrary, &mStroker))
    {
        FT_Done_FreeType(mLibrary);
        throw std::runtime_error("raster: FreeType cannot open the font");
    }
}

FontFace::~FontFace()
{
    FT_Stroker_Done(mStroker);
    FT_Done_Face(mFace);
    FT_Done_FreeType(mLibrary);
}

// Calls visit(glyph, penPixelX) for every visible glyph of text, the glyph's outline already placed at its
// sub-pixel offset from the whole pixel penPixelX and widened by stroke.
template <typename GlyphVisitor>
void FontFace::layOut(const std::string& text, const TextStyle& style, float stroke, GlyphVisitor&& visit)
{
    check(FT_Set_Char_Size(mFace, 0, toFixed(style.pixelSize), 72, 72), "set the size");
    FT_Matrix matrix{static_cast<FT_Fixed>(std::lround(style.xScale * 65536.0f)), 0, 0, 0x10000};
    if (stroke > 0)
        FT_Stroker_Set(mStroker, toFixed(stroke), FT_STROKER_LINECAP_ROUND, FT_STROKER_LINEJOIN_ROUND, 0);
    FT_Pos pen = 0;
    FT_UInt previous = 0;
    for (const char c : text)
    {
        const FT_UInt index = FT_Get_Char_Index(mFace, static_cast<unsigned char>(c));
        if (previous && index && FT_HAS_KERNING(mFace))
        {
            FT_Vector kern{0, 0};
            FT_Get_Kerning(mFace, previous, index, FT_KERNING_UNFITTED, &kern);
            pen += static_cast<FT_Pos>(std::lround(static_cast<float>(kern.x) * style.xScale));
        }
        FT_Vector delta{pen & 63, 0};
        FT_Set_Transform(mFace, &matrix, &delta);
        check(FT_Load_Glyph(mFace, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP), "load a glyph");
        if (mFace->glyph->outline.n_points > 0)
        {
            GlyphHolder holder;
            check(FT_Get_Glyph(mFace->glyph, &holder.glyph), "copy a glyph");
            if (stroke > 0)
                check(FT_Glyph_StrokeBorder(&holder.glyph, mStroker, 0, 1), "stroke a glyph");
            visit(holder.glyph, static_cast<int>(pen >> 6));
        }
        pen += mFace->glyph->advance.x + toFixed(style.tracking);
        previous = index;
    }
    FT_Set_Transform(mFace, nullptr, nullptr);
}

TextBounds FontFace::measure(const std::string& text, const TextStyle& style, float stroke)
{
    bool any = false;
    TextBounds bounds;
    layOut(text, style, stroke,
           [&](FT_Glyph glyph, int penX)
           {
               FT_BBox box;
               FT_Glyph_Get_CBox(glyph, FT_GLYPH_BBOX_SUBPIXELS, &box);
               const float left = static_cast<float>(penX) + static_cast<float>(box.xMin) / 64.0f;
               const float right = static_cast<float>(penX) + static_cast<float>(box.xMax) / 64.0f;
               const float top = -static_cast<float>(box.yMax) / 64.0f;
               const float bottom = -static_cast<float>(box.yMin) / 64.0f;
               if (!any)
                   bounds = {left, top, right, bottom};
               bounds = {std::min(bounds.left, left), std::min(bounds.top, top),
                         std::max(bounds.right, right), std::max(bounds.bottom, bottom)};
               any = true;
           });
    return bounds;
}

Mask FontFace::render(int width, int height, const std::string& text, const TextStyle& style, float x,
                      float baseline, float stroke)
{
    Mask mask(width, height);
    // The whole-pixel part of the origin moves bitmaps; the fraction goes into the outline itself.
    const float originX = std::floor(x);
    const float originY = std::floor(baseline);
    const float fractionX = x - originX;
    const float fractionY = baseline - originY;
    layOut(
        text, style, stroke,
        [&](FT_Glyph glyph, int penX)
        {
            FT_Vector offset{toFixed(fractionX), -toFixed(fractionY)};
            FT_Glyph_Transform(glyph, nullptr, &offset);
            check(FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 0), "render a glyph");
            GlyphHolder bitmapHolder;
            bitmapHolder.glyph = glyph;
            const auto* bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(glyph);
            const FT_Bitmap& bitmap = bitmapGlyph->bitmap;
            const int left = static_cast<int>(originX) + penX + bitmapGlyph->left;
            const int top = static_cast<int>(originY) - bitmapGlyph->top;
            for (unsigned row = 0; row < bitmap.rows; ++row)
                for (unsigned column = 0; column < bitmap.width; ++column)
                {
                    const int px = left + static_cast<int>(column);
                    const int py = top + static_cast<int>(row);
                    if (px < 0 || py < 0 || px >= width || py >= height)
                        continue;
                    const float value =
                        static_cast<float>(
                            bitmap.buffer[static_cast<int>(row) * bitmap.pitch + static_cast<int>(column)]) /
                        255.0f;
                    mask.at(px, py) = std::max(mask.at(px, py), value);
                }
        });
    return mask;
}
