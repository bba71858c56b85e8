#include "contact_sheet.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include <Ogre.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace
{
constexpr int margin = 12;
constexpr int captionHeight = 20;
constexpr int captionSize = 13;
const char* const fontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// A canvas of straight RGBA bytes over which pictures and text are composed.
class Canvas
{
  public:
    Canvas(int width, int height)
        : mWidth(width), mHeight(height), mPixels(static_cast<size_t>(width * height) * 4)
    {
        for (size_t i = 0; i < mPixels.size(); i += 4)
        {
            mPixels[i] = 0x2C;
            mPixels[i + 1] = 0x30;
            mPixels[i + 2] = 0x38;
            mPixels[i + 3] = 0xFF;
        }
    }
    // Blends colour (0..255 per channel) over pixel (x, y) with coverage alpha 0..1.
    void blend(int x, int y, const float colour[3], float alpha)
    {
        if (x < 0 || y < 0 || x >= mWidth || y >= mHeight || alpha <= 0)
            return;
        std::uint8_t* p =
            &mPixels[(static_cast<size_t>(y) * static_cast<size_t>(mWidth) + static_cast<size_t>(x)) * 4];
        for (int c = 0; c < 3; ++c)
            p[c] = static_cast<std::uint8_t>(static_cast<float>(p[c]) * (1 - alpha) + colour[c] * alpha);
    }
    void picture(const Ogre::Image& image, int left, int top)
    {
        for (int y = 0; y < static_cast<int>(image.getHeight()); ++y)
        {
            for (int x = 0; x < static_cast<int>(image.getWidth()); ++x)
            {
                const Ogre::ColourValue c =
                    image.getColourAt(static_cast<size_t>(x), static_cast<size_t>(y), 0);
                const bool light = ((x / 8) + (y / 8)) % 2 == 0;
                const float board[3] = {light ? 200.0f : 150.0f, light ? 200.0f : 150.0f,
                                        light ? 200.0f : 150.0f};
                blend(left + x, top + y, board, 1);
                const float colour[3] = {c.r * 255, c.g * 255, c.b * 255};
                blend(left + x, top + y, colour, c.a);
            }
        }
    }
    std::uint8_t* data() { return mPixels.data(); }

  private:
    int mWidth;
    int mHeight;
    std::vector<std::uint8_t> mPixels;
};

void drawText(Canvas& canvas, FT_Face face, const std::string& text, int x, int baseline, int size)
{
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
    const float white[3] = {235, 235, 235};
    int penX = x;
    for (unsigned char character : text)
    {
        if (FT_Load_Char(face, character, FT_LOAD_RENDER))
            continue;
        const FT_GlyphSlot glyph = face->glyph;
        for (unsigned int row = 0; row < glyph->bitmap.rows; ++row)
        {
            for (unsigned int column = 0; column < glyph->bitmap.width; ++column)
            {
                const float coverage =
                    glyph->bitmap.buffer[row * static_cast<unsigned int>(glyph->bitmap.pitch) + column] /
                    255.0f;
                canvas.blend(penX + glyph->bitmap_left + static_cast<int>(column),
                             baseline - glyph->bitmap_top + static_cast<int>(row), white, coverage);
            }
        }
        penX += static_cast<int>(glyph->advance.x >> 6);
    }
}
} // namespace

ContactSheet::ContactSheet(int width, const std::string& title) : mWidth(width)
{
    mTexts.push_back({title, margin, margin + 22, 22});
    mCursorY = margin + 34;
    mCursorX = margin;
}

void ContactSheet::newRow(const std::string& heading)
{
    if (mCursorX > margin)
    {
        mCursorY += mRowHeight + margin;
        mCursorX = margin;
        mRowHeight = 0;
    }
    if (!heading.empty())
    {
        mTexts.push_back({heading, margin, mCursorY + 16, 16});
        mCursorY += 24;
    }
}

void ContactSheet::addCell(const Ogre::Image& picture, const std::string& caption)
{
    const int width = static_cast<int>(picture.getWidth());
    if (mCursorX > margin && mCursorX + width > mWidth - margin)
        newRow();
    mCells.push_back({picture, caption, mCursorX, mCursorY});
    mCursorX += width + margin;
    mRowHeight = std::max(mRowHeight, static_cast<int>(picture.getHeight()) + captionHeight);
}

void ContactSheet::save(const std::string& path) const
{
    const int height = mCursorY + mRowHeight + margin;
    Canvas canvas(mWidth, height);
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) || FT_New_Face(library, fontFile, 0, &face))
        throw std::runtime_error(std::string("gallery: cannot open the font ") + fontFile);
    for (const Placed& cell : mCells)
    {
        canvas.picture(cell.picture, cell.x, cell.y);
        drawText(canvas, face, cell.caption, cell.x, cell.y + static_cast<int>(cell.picture.getHeight()) + 15,
                 captionSize);
    }
    for (const Text& text : mTexts)
        drawText(canvas, face, text.text, text.x, text.y, text.size);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    Ogre::Image image;
    image.loadDynamicImage(canvas.data(), static_cast<Ogre::uint32>(mWidth),
                           static_cast<Ogre::uint32>(height), Ogre::PF_BYTE_RGBA);
    image.save(path);
}
