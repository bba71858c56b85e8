#include "scenes/hud_clock.h"

#include <charconv>
#include <cstring>

#include "gui/button.h"

namespace
{
// One material name per character code, built once so that redrawing a cell allocates nothing.
struct GlyphMaterials
{
    GlyphMaterials()
    {
        for (std::string& name : names)
            name = "blank";
        for (char c = '0'; c <= '9'; ++c)
            names[static_cast<unsigned char>(c)] = std::string(1, c);
        for (char c = 'A'; c <= 'Z'; ++c)
            names[static_cast<unsigned char>(c)] = std::string(1, c);
        names[static_cast<unsigned char>(':')] = "dots";
    }
    std::string names[256];
};
} // namespace

const std::string& HudClock::materialFor(char character)
{
    static const GlyphMaterials glyphs;
    return glyphs.names[static_cast<unsigned char>(character)];
}

void HudClock::prepareGlyphs(buttonGUI::button& cell, const char* glyphs, char last)
{
    // Each button keeps its own clone of a glyph's material, made the first time it shows the glyph; the
    // clones outlive the scene, so later loads only look them up.
    for (const char* glyph = glyphs; *glyph; ++glyph)
        cell.setMaterial(materialFor(*glyph));
    cell.setMaterial(materialFor(last));
}

void HudClock::attach(const std::array<buttonGUI::button*, cellCount>& cells)
{
    mButtons = cells;
    mDrawn.fill('\0');
    for (buttonGUI::button* cell : mButtons)
        if (cell)
            prepareGlyphs(*cell, "0123456789:", ' ');
}

void HudClock::detach()
{
    mButtons.fill(nullptr);
}

void HudClock::show(float seconds)
{
    // Six significant digits, as a stream writes a number by default; then at least two decimals.
    char text[40];
    const std::to_chars_result written = std::to_chars(
        text, text + sizeof text - 4, static_cast<double>(seconds), std::chars_format::general, 6);
    int length = static_cast<int>(written.ptr - text);
    *written.ptr = '\0';
    const char* dot = std::strchr(text, '.');
    int point = dot ? static_cast<int>(dot - text) : length;
    if (!dot)
    {
        std::memcpy(text + length, ".00", 4);
        length += 3;
    }
    else if (length - point == 2)
        text[length++] = '0';
    text[point] = ':';

    for (int k = 0; k < cellCount; ++k)
    {
        const int c = point + 2 - k;
        if (c < 0)
            break;
        mCells[static_cast<std::size_t>(k)] = text[c];
    }
    for (std::size_t k = 0; k < mButtons.size(); ++k)
    {
        if (mButtons[k] && mCells[k] != ' ' && mCells[k] != mDrawn[k])
        {
            mButtons[k]->setMaterial(materialFor(mCells[k]));
            mDrawn[k] = mCells[k];
        }
    }
}
