#pragma once

#include <array>
#include <string>

namespace buttonGUI
{
class button;
}

// The level clock of a one-player game: eight picture cells growing leftwards from cell 0, showing
// seconds, a separator and hundredths ("83.4" reads 8 3 : 4 0). The time is written with six significant
// digits; cells the text does not reach keep what they showed before. A character without a picture of
// its own (the exponent of an absurdly long run) shows as a blank cell.
class HudClock
{
  public:
    static constexpr int cellCount = 8;

    // The cells to draw on, cell 0 first (rightmost); their pictures change only when their character does.
    // Prepares every glyph's material on each cell (see prepareGlyphs), then leaves the cells blank.
    void attach(const std::array<buttonGUI::button*, cellCount>& cells);
    void detach();

    // Works out the cells for `seconds` and redraws the cells that changed. No allocation.
    void show(float seconds);

    // ':' for the separator, ' ' for a cell never written.
    char cell(int index) const { return mCells[static_cast<std::size_t>(index)]; }

    // The material that draws one character: its digit or letter, "dots" for ':', "blank" otherwise.
    static const std::string& materialFor(char character);
    // Shows each of `glyphs` once on `cell` and then `last`, so that the materials of all of them are made
    // and loaded now: made on first use, they stall play for up to 20 ms (texture loading) and allocate.
    static void prepareGlyphs(buttonGUI::button& cell, const char* glyphs, char last);

  private:
    std::array<char, cellCount> mCells{' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    std::array<char, cellCount> mDrawn{};
    std::array<buttonGUI::button*, cellCount> mButtons{};
};
