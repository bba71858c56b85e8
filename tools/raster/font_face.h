#pragma once

#include <string>

#include "raster.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;
struct FT_StrokerRec_;

// The bytes of a font file of Debian's fonts-dejavu-core, by file name ("DejaVuSans-Bold.ttf"). Throws
// std::runtime_error when the package is missing.
std::string readDejaVuFont(const std::string& fileName);

// How a line of text is set.
struct TextStyle
{
    float pixelSize = 32;  // em size in pixels
    float xScale = 1.0f;   // horizontal squeeze (< 1) or stretch of every glyph
    float tracking = 0.0f; // extra pixels between letters
};

// Ink bounds of a line of text relative to its pen origin on the baseline (y down, so top is negative).
struct TextBounds
{
    float left = 0, top = 0, right = 0, bottom = 0;

    float width() const { return right - left; }
    float height() const { return bottom - top; }
};

// One TrueType face rasterised through FreeType, unhinted, with anti-aliasing and sub-pixel placement.
// Not copyable; owns its FreeType library instance.
class FontFace
{
  public:
    // bytes: the font file's contents, kept for the face's lifetime. Throws std::runtime_error when FreeType
    // cannot open it.
    explicit FontFace(std::string bytes);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const std::string& bytes() const { return mBytes; }

    // Ink bounds of text (ASCII) set in style, with every outline widened by stroke pixels.
    TextBounds measure(const std::string& text, const TextStyle& style, float stroke = 0.0f);
    // Coverage of text set in style with its pen origin at (x, baseline) in a width x height mask. A stroke
    // above 0 widens every outline by that many pixels with round joins (an outline to paint under the fill).
    Mask render(int width, int height, const std::string& text, const TextStyle& style, float x,
                float baseline, float stroke = 0.0f);

  private:
    template <typename GlyphVisitor>
    void layOut(const std::string& text, const TextStyle& style, float stroke, GlyphVisitor&& visit);

    std::string mBytes;
    FT_LibraryRec_* mLibrary = nullptr;
    FT_FaceRec_* mFace = nullptr;
    FT_StrokerRec_* mStroker = nullptr;
};
