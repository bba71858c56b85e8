// In-game overlays: the glyph cells (digits, letters, separator and cursor; drawn at 40x76 so they stay
// sharp both in the 20x38 clock and table cells and in the 30x57 results digits), the clock frame, the lives
// badge, the two-player HUD, the winner faces and the signs.

#include <cmath>

#include "gui_pictures.h"

namespace gui
{
namespace
{
constexpr int glyphWidth = 40;
constexpr int glyphHeight = 76;
const Colour glyphOutline = rgb(0x1b2340);

Lettering glyphLettering()
{
    Lettering lettering;
    lettering.fillTop = rgb(0xffffff);
    lettering.fillBottom = rgb(0xffe08a);
    lettering.outline = glyphOutline;
    lettering.outlineWidth = 4.5f;
    lettering.shadow = rgb(0x000000, 0.45f);
    lettering.shadowOffset = 3;
    lettering.shadowBlur = 1;
    return lettering;
}

// One character on a transparent cell: every glyph shares one size and baseline (capitals centred), and
// wide ones are squeezed to the cell's width.
Raster glyph(FontFace& font, const std::string& character)
{
    Raster picture(glyphWidth, glyphHeight);
    const Lettering lettering = glyphLettering();
    TextStyle style{70, 1.0f, 0};
    const TextBounds capital = font.measure("H", style);
    const float baseline = glyphHeight * 0.5f - (capital.top + capital.bottom) * 0.5f - 1;
    const float room = glyphWidth - 4;
    TextBounds ink = font.measure(character, style, lettering.outlineWidth);
    if (ink.width() > room)
    {
        style.xScale = room / ink.width();
        ink = font.measure(character, style, lettering.outlineWidth);
    }
    drawTextAt(picture, font, character, glyphWidth * 0.5f - (ink.left + ink.right) * 0.5f, baseline, style,
               lettering);
    return picture;
}

// The name-entry cursor: a bar where the letter's baseline is.
Raster cursorGlyph()
{
    Raster picture(glyphWidth, glyphHeight);
    const Rect bar{7, 57, 33, 65};
    const Mask outline = roundedRect(glyphWidth, glyphHeight, bar.grown(4.5f), 7);
    picture.paint(outline.shifted(1, 3).blurred(1), rgb(0x000000, 0.45f));
    picture.paint(outline, glyphOutline);
    picture.paint(roundedRect(glyphWidth, glyphHeight, bar, 3),
                  Paint::vertical(rgb(0xffffff), rgb(0xffe08a), bar.y0, bar.y1));
    return picture;
}

void drawStopwatch(Raster& picture, float cx, float cy, float r)
{
    const int w = picture.width();
    const int h = picture.height();
    const Colour dark = rgb(0x1b2340);
    picture.paint(roundedRect(w, h, Rect{cx - 5, cy - r - 9, cx + 5, cy - r + 2}, 2), dark);
    picture.paint(roundedRect(w, h, Rect{cx - 3, cy - r - 7, cx + 3, cy - r + 2}, 1), rgb(0xffc928));
    picture.paint(segment(w, h, cx + r * 0.7f, cy - r * 0.7f, cx + r * 0.95f, cy - r * 0.95f, 5), dark);
    picture.paint(ellipse(w, h, cx, cy, r + 3, r + 3), dark);
    picture.paint(ellipse(w, h, cx, cy, r, r), Paint::vertical(rgb(0xffffff), rgb(0xd8e4f4), cy - r, cy + r));
    for (int i = 0; i < 12; ++i)
    {
        const float a = static_cast<float>(i) * 3.14159265f / 6.0f;
        const float inner = i % 3 == 0 ? r * 0.7f : r * 0.8f;
        picture.paint(segment(w, h, cx + std::sin(a) * inner, cy - std::cos(a) * inner,
                              cx + std::sin(a) * r * 0.9f, cy - std::cos(a) * r * 0.9f, 1.6f),
                      dark);
    }
    picture.paint(segment(w, h, cx, cy, cx, cy - r * 0.62f, 2.6f), dark);
    picture.paint(segment(w, h, cx, cy, cx + r * 0.5f, cy + r * 0.2f, 2.6f), rgb(0xe8421c));
    picture.paint(ellipse(w, h, cx, cy, 3, 3), dark);
}

// The clock (top right of the screen) and the name-entry box: digit cells sit at x 70..230 and y 53..98.
Raster clockFrame()
{
    Raster picture(256, 128);
    drawPlate(picture, Rect{4, 38, 252, 124}, 20, rgb(0x22305c, 0.78f), rgb(0x101a38, 0.78f),
              rgb(0xffffff, 0.85f), 3);
    drawPlate(picture, Rect{64, 48, 240, 108}, 10, rgb(0x080e22, 0.7f), rgb(0x141c3a, 0.7f),
              rgb(0x7d8fc0, 0.6f), 2);
    drawStopwatch(picture, 34, 82, 20);
    return picture;
}

void drawHeart(Raster& picture, float cx, float cy, float r, const Colour& colour)
{
    const int w = picture.width();
    const int h = picture.height();
    Mask heart = ellipse(w, h, cx - r * 0.5f, cy - r * 0.25f, r * 0.55f, r * 0.55f);
    heart.unite(ellipse(w, h, cx + r * 0.5f, cy - r * 0.25f, r * 0.55f, r * 0.55f));
    heart.unite(
        polygon(w, h, {cx - r * 1.02f, cy - r * 0.1f, cx + r * 1.02f, cy - r * 0.1f, cx, cy + r * 1.0f}));
    picture.paint(heart.dilated(2), rgb(0x4a0c08));
    picture.paint(heart, Paint::vertical(rgb(0xff8a8a), colour, cy - r, cy + r));
    picture.paint(ellipse(w, h, cx - r * 0.5f, cy - r * 0.4f, r * 0.2f, r * 0.14f, -0.5f),
                  rgb(0xffffff, 0.7f));
}

// Lives: the count's digit goes in the recess at x 38..58, y 39..77, between the bear and a heart.
Raster livesBadge(FontFace& font)
{
    Raster picture(96, 96);
    drawPlate(picture, Rect{2, 2, 94, 94}, 18, rgb(0x22305c, 0.8f), rgb(0x101a38, 0.8f), rgb(0xffffff, 0.85f),
              3);
    drawPlate(picture, Rect{35, 36, 61, 80}, 7, rgb(0x080e22, 0.6f), rgb(0x141c3a, 0.6f), rgb(0x7d8fc0, 0.5f),
              1.5f);
    Lettering lettering;
    lettering.fillTop = rgb(0xfff27a);
    lettering.fillBottom = rgb(0xffa21a);
    lettering.outline = rgb(0x4a230a);
    lettering.outlineWidth = 3;
    lettering.shadowOffset = 2;
    lettering.shadowBlur = 1;
    drawText(picture, font, "LIVES", Rect{8, 7, 88, 32}, 20, lettering);
    drawBearFace(picture, 19, 62, 12, false);
    drawHeart(picture, 78, 60, 11, rgb(0xe0283a));
    return picture;
}

// Two-player HUD: player 1's bear over the digits at x 60..100, player 2's panda over x 170..210; the
// digits take the row y 90..128.
Raster twoPlayerHud(FontFace& font)
{
    Raster picture(256, 144);
    drawPlate(picture, Rect{4, 4, 252, 140}, 18, rgb(0x22305c, 0.78f), rgb(0x101a38, 0.78f),
              rgb(0xffffff, 0.85f), 3);
    for (const float x : {56.0f, 166.0f})
        drawPlate(picture, Rect{x, 86, x + 48, 132}, 8, rgb(0x080e22, 0.6f), rgb(0x141c3a, 0.6f),
                  rgb(0x7d8fc0, 0.5f), 1.5f);
    drawBearFace(picture, 80, 50, 27, false);
    drawBearFace(picture, 190, 50, 27, true);
    Lettering lettering;
    lettering.fillTop = rgb(0xfff27a);
    lettering.fillBottom = rgb(0xffa21a);
    lettering.outlineWidth = 3;
    lettering.shadowOffset = 2;
    drawText(picture, font, "VS", Rect{118, 36, 152, 64}, 22, lettering);
    return picture;
}

Raster winnerFace(bool panda)
{
    Raster picture(96, 96);
    picture.paint(ellipse(96, 96, 48, 50, 40, 40).blurred(4), rgb(0xfff2a0, 0.85f));
    drawBearFace(picture, 48, 54, 33, panda);
    return picture;
}

Raster goSign(FontFace& font)
{
    Raster picture(320, 160);
    Lettering lettering;
    lettering.fillTop = rgb(0xe4ff7a);
    lettering.fillBottom = rgb(0x2fae2a);
    lettering.outline = rgb(0x0f3a10);
    lettering.outlineWidth = 8;
    lettering.rimWidth = 14;
    lettering.shadowOffset = 7;
    lettering.shadowBlur = 4;
    const Rect ink = drawText(picture, font, "GO!", Rect{30, 14, 290, 146}, 150, lettering);
    drawStar(picture, ink.x0 - 6, ink.y0 + 6, 13, 0.3f, rgb(0xffe14a), rgb(0x6b3d00));
    drawStar(picture, ink.x1 + 4, ink.y1 - 10, 10, -0.2f, rgb(0xffe14a), rgb(0x6b3d00));
    return picture;
}

Raster congratsSign(FontFace& font)
{
    Raster picture(480, 96);
    Lettering lettering;
    lettering.fillTop = rgb(0xfff27a);
    lettering.fillBottom = rgb(0xff8a1a);
    lettering.outline = rgb(0x4a230a);
    lettering.outlineWidth = 6;
    lettering.rimWidth = 11;
    lettering.shadowOffset = 5;
    lettering.shadowBlur = 3;
    drawText(picture, font, "WELL DONE!", Rect{62, 10, 418, 86}, 64, lettering);
    drawStar(picture, 36, 46, 17, 0.25f, rgb(0xffe14a), rgb(0x6b3d00));
    drawStar(picture, 444, 50, 17, -0.2f, rgb(0xffe14a), rgb(0x6b3d00));
    return picture;
}

// Drawn over "WELL DONE!" at the same place, so it is an opaque plate of the same size.
Raster recordSign(FontFace& font)
{
    Raster picture(480, 96);
    drawPlate(picture, Rect{0, 0, 480, 96}, 14, rgb(0xff6a5a), rgb(0xb8142a), rgb(0xffd23a), 5);
    picture.paint(ellipse(480, 96, 240, 22, 220, 20).blurred(3), rgb(0xffffff, 0.25f));
    Lettering lettering;
    lettering.fillTop = rgb(0xffffff);
    lettering.fillBottom = rgb(0xfff0a8);
    lettering.outline = rgb(0x5a0812);
    lettering.outlineWidth = 5;
    drawText(picture, font, "NEW RECORD!", Rect{64, 12, 416, 84}, 58, lettering);
    drawStar(picture, 36, 48, 17, 0.25f, rgb(0xffe14a), rgb(0x6b3d00));
    drawStar(picture, 444, 48, 17, -0.2f, rgb(0xffe14a), rgb(0x6b3d00));
    return picture;
}

// Shown over the title when the level a game was to start could not be read: the game's own message, on a
// plate that stands out over the running bears.
Raster levelErrorSign(FontFace& font)
{
    Raster picture(560, 96);
    drawPlate(picture, Rect{0, 0, 560, 96}, 14, rgb(0x4a5266, 0.94f), rgb(0x1f2433, 0.94f), rgb(0xff8a3a), 5);
    Lettering lettering;
    lettering.fillTop = rgb(0xffffff);
    lettering.fillBottom = rgb(0xffd6b0);
    lettering.outline = rgb(0x5a1a06);
    lettering.outlineWidth = 4;
    drawText(picture, font, "Error reading map data!", Rect{24, 14, 536, 82}, 46, lettering);
    return picture;
}

} // namespace

void addHudPictures(OverlaySheet& sheet, FontFace& font)
{
    // The narrow cells suit the condensed cut of the label font.
    FontFace condensed(readDejaVuFont("DejaVuSansCondensed-Bold.ttf"));
    for (char c = '0'; c <= '9'; ++c)
        sheet.add(std::string(1, c), glyph(condensed, std::string(1, c)));
    for (char c = 'A'; c <= 'Z'; ++c)
        sheet.add(std::string(1, c), glyph(condensed, std::string(1, c)));
    sheet.add("dots", glyph(condensed, ":"));
    sheet.add("slash", cursorGlyph());
    // The empty cell; it is also the pause menu's invisible window. "BLANK" is the toolkit's cursor.
    sheet.add("blank", Raster(20, 38));
    sheet.add("BLANK", Raster(4, 4));
    sheet.add("butTime", clockFrame());
    sheet.add("vides", livesBadge(font));
    sheet.add("classification2p", twoPlayerHud(font));
    sheet.add("cara1", winnerFace(false));
    sheet.add("cara2", winnerFace(true));
    sheet.add("textGo", goSign(font));
    sheet.add("textCongrats", congratsSign(font));
    sheet.add("textRecord", recordSign(font));
    sheet.add("textMapError", levelErrorSign(font));
}

} // namespace gui
