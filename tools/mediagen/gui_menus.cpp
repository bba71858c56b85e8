// Title and pause menus: the picture buttons (256x96: the title menu's rows are 130 px apart and its
// columns 300), the level cards (320x160: rows 180 apart, columns 380), the logo (600x198, also the last
// credits panel) and the press-start plate (400x64).

#include <algorithm>
#include <cmath>

#include "gui_pictures.h"

namespace gui
{
namespace
{
const ButtonColours orange{rgb(0xffb347), rgb(0xf2761b), rgb(0xa4460c), rgb(0x4a230a)};
const ButtonColours blue{rgb(0x73cbff), rgb(0x2a7fd8), rgb(0x1a4d8c), rgb(0x10284a)};
const ButtonColours red{rgb(0xff8070), rgb(0xd6332a), rgb(0x8a1a14), rgb(0x4a0c08)};
const ButtonColours green{rgb(0xa4e870), rgb(0x3fae2f), rgb(0x23701a), rgb(0x123a0c)};
const ButtonColours cream{rgb(0xfff8e8), rgb(0xf2d9aa), rgb(0xb58a52), rgb(0x4a230a)};

Raster menuButton(FontFace& font, const std::string& label, const ButtonColours& colours, Look look)
{
    Raster picture(256, 96);
    const Rect face = drawButtonBody(picture, Rect{12, 10, 244, 86}, 24, colours, look);
    Lettering lettering;
    lettering.outline = colours.border;
    if (look == Look::Over)
    {
        lettering.fillTop = rgb(0xfffbe0);
        lettering.fillBottom = rgb(0xffe04a);
        drawStar(picture, 19, 16, 11, 0.2f, rgb(0xffe14a), rgb(0x6b3d00));
        drawStar(picture, 238, 80, 9, -0.3f, rgb(0xffe14a), rgb(0x6b3d00));
    }
    drawText(picture, font, label, face.grown(-10), 38, lettering);
    return picture;
}

// Paints paint through shape, clipped to clip.
void paintClipped(Raster& picture, Mask shape, const Mask& clip, const Paint& paint)
{
    shape.intersect(clip);
    picture.paint(shape, paint);
}

void drawPlank(Raster& picture, const Mask& clip, float x0, float y0, float x1, float y1)
{
    const int w = picture.width();
    const int h = picture.height();
    paintClipped(picture, roundedRect(w, h, Rect{x0 - 1.5f, y0 - 1.5f, x1 + 1.5f, y1 + 1.5f}, 4), clip,
                 Paint::solid(rgb(0x3b200c)));
    paintClipped(picture, roundedRect(w, h, Rect{x0, y0, x1, y1}, 3), clip,
                 Paint::vertical(rgb(0xc98a4b), rgb(0x8c5426), y0, y1));
}

void drawMeteor(Raster& picture, const Mask& clip, float x, float y, float r, const Colour& colour)
{
    const int w = picture.width();
    const int h = picture.height();
    paintClipped(picture,
                 segment(w, h, x + r * 0.6f, y - r * 0.6f, x + r * 3.5f, y - r * 3.0f, r * 1.3f).blurred(2),
                 clip, Paint::solid(rgb(0xdddddd, 0.55f)));
    paintClipped(picture, ellipse(w, h, x, y, r + 1.5f, r + 1.5f), clip, Paint::solid(rgb(0x2a1a10)));
    paintClipped(picture, ellipse(w, h, x, y, r, r), clip,
                 Paint::vertical(shade(colour, 1.4f), colour, y - r, y + r));
}

// A small picture of each level inside area (clipped to its rounded corners).
void drawThumbnail(Raster& picture, const Rect& area, int level)
{
    const int w = picture.width();
    const int h = picture.height();
    const Mask clip = roundedRect(w, h, area, 10);
    const float x0 = area.x0;
    const float y0 = area.y0;
    const float aw = area.width();
    const float ah = area.height();
    const Colour skies[4][2] = {{rgb(0x7fd0ff), rgb(0xdaf4ff)},
                                {rgb(0xff8f5a), rgb(0xffe08a)},
                                {rgb(0x1b2458), rgb(0x4d4f9c)},
                                {rgb(0x2e0c36), rgb(0x8a2340)}};
    picture.paint(clip, Paint::vertical(skies[level][0], skies[level][1], area.y0, area.y1));
    const Colour hills[4] = {rgb(0x72c34f), rgb(0xb06a8e), rgb(0x2f6a5a), rgb(0x4a1638)};
    paintClipped(picture, ellipse(w, h, x0 + aw * 0.25f, area.y1 + ah * 0.25f, aw * 0.4f, ah * 0.6f), clip,
                 Paint::solid(shade(hills[level], 1.15f)));
    paintClipped(picture, ellipse(w, h, x0 + aw * 0.8f, area.y1 + ah * 0.35f, aw * 0.45f, ah * 0.7f), clip,
                 Paint::solid(hills[level]));
    if (level == 0)
    {
        paintClipped(picture, ellipse(w, h, x0 + aw * 0.86f, y0 + ah * 0.28f, 12, 12).blurred(3), clip,
                     Paint::solid(rgb(0xfff2a0)));
        paintClipped(picture, ellipse(w, h, x0 + aw * 0.86f, y0 + ah * 0.28f, 9, 9), clip,
                     Paint::solid(rgb(0xffe040)));
        Mask cloud = ellipse(w, h, x0 + aw * 0.45f, y0 + ah * 0.25f, 16, 7);
        cloud.unite(ellipse(w, h, x0 + aw * 0.45f + 10, y0 + ah * 0.2f, 10, 8));
        paintClipped(picture, cloud, clip, Paint::solid(rgb(0xffffff, 0.9f)));
        drawPlank(picture, clip, x0 + 14, y0 + ah * 0.62f, x0 + aw * 0.42f, y0 + ah * 0.62f + 7);
        drawPlank(picture, clip, x0 + aw * 0.55f, y0 + ah * 0.45f, x0 + aw * 0.85f, y0 + ah * 0.45f + 7);
        drawBearFace(picture, x0 + 40, y0 + ah * 0.62f - 12, 10, false);
    }
    else if (level == 1)
    {
        paintClipped(picture, ellipse(w, h, x0 + aw * 0.2f, y0 + ah * 0.7f, 18, 18), clip,
                     Paint::solid(rgb(0xfff0b0, 0.8f)));
        const float cx = x0 + aw * 0.5f;
        const float cy = y0 + ah * 0.55f;
        paintClipped(picture, segment(w, h, cx - 48, cy + 12, cx + 48, cy - 12, 10), clip,
                     Paint::solid(rgb(0x3b200c)));
        paintClipped(picture, segment(w, h, cx - 47, cy + 12, cx + 47, cy - 12, 7), clip,
                     Paint::solid(rgb(0xb97a40)));
        paintClipped(picture, ellipse(w, h, cx, cy, 6, 6), clip, Paint::solid(rgb(0x5a5f6a)));
        drawMeteor(picture, clip, x0 + aw * 0.22f, y0 + ah * 0.3f, 7, rgb(0xe8641c));
        drawMeteor(picture, clip, x0 + aw * 0.78f, y0 + ah * 0.22f, 6, rgb(0xe8641c));
    }
    else if (level == 2)
    {
        for (int i = 0; i < 9; ++i)
        {
            const float sx = x0 + 12 + static_cast<float>((i * 97) % 260) * aw / 270.0f;
            const float sy = y0 + 6 + static_cast<float>((i * 53) % 40) * ah / 100.0f;
            paintClipped(picture, ellipse(w, h, sx, sy, 1.6f, 1.6f), clip, Paint::solid(rgb(0xffffff, 0.9f)));
        }
        Mask moon = ellipse(w, h, x0 + aw * 0.85f, y0 + ah * 0.26f, 10, 10);
        moon.subtract(ellipse(w, h, x0 + aw * 0.85f + 5, y0 + ah * 0.26f - 3, 9, 9));
        paintClipped(picture, moon, clip, Paint::solid(rgb(0xfff4c0)));
        for (int i = 0; i < 7; ++i)
            paintClipped(picture,
                         ellipse(w, h, x0 + 30 + static_cast<float>(i) * 18, y0 + ah * 0.72f, 2.5f, 2.5f),
                         clip, Paint::solid(rgb(0xbfc6d8)));
        drawPlank(picture, clip, x0 + 70, y0 + ah * 0.72f - 16, x0 + 130, y0 + ah * 0.72f - 9);
        drawMeteor(picture, clip, x0 + aw * 0.62f, y0 + ah * 0.4f, 8, rgb(0x3fd84a));
    }
    else
    {
        const float cx = x0 + aw * 0.5f;
        const float cy = y0 + ah * 0.62f;
        for (int i = 0; i < 6; ++i)
        {
            const float side = i < 3 ? -1.0f : 1.0f;
            const float k = static_cast<float>(i % 3);
            paintClipped(picture,
                         segment(w, h, cx + side * (8 + k * 8), cy + 8, cx + side * (40 + k * 22),
                                 cy + 20 - k * 14, 7),
                         clip, Paint::solid(rgb(0x7a2f8f)));
        }
        paintClipped(picture, ellipse(w, h, cx, cy, 26, 22), clip,
                     Paint::vertical(rgb(0xb25ad0), rgb(0x6a2480), cy - 22, cy + 22));
        paintClipped(picture, roundedRect(w, h, Rect{cx - 14, cy - 40, cx + 14, cy - 18}, 2), clip,
                     Paint::solid(rgb(0x1a1a1a)));
        paintClipped(picture, roundedRect(w, h, Rect{cx - 22, cy - 21, cx + 22, cy - 16}, 2), clip,
                     Paint::solid(rgb(0x1a1a1a)));
        for (const float side : {-1.0f, 1.0f})
        {
            paintClipped(picture, ellipse(w, h, cx + side * 9, cy - 3, 6, 7), clip,
                         Paint::solid(rgb(0xffffff)));
            paintClipped(picture, ellipse(w, h, cx + side * 9 + 1, cy - 2, 3, 4), clip,
                         Paint::solid(rgb(0x1a0a1a)));
        }
        drawMeteor(picture, clip, x0 + aw * 0.15f, y0 + ah * 0.3f, 6, rgb(0x3fd84a));
        drawMeteor(picture, clip, x0 + aw * 0.85f, y0 + ah * 0.25f, 6, rgb(0xe8641c));
    }
    // A thin inner frame keeps the picture apart from the card.
    Mask frame = roundedRect(w, h, area, 10);
    frame.subtract(roundedRect(w, h, area.grown(-2), 8));
    picture.paint(frame, rgb(0x4a230a, 0.8f));
}

Raster levelCard(FontFace& font, int level, Look look)
{
    Raster picture(320, 160);
    const Rect face = drawButtonBody(picture, Rect{12, 10, 308, 150}, 18, cream, look);
    drawThumbnail(picture, Rect{face.x0 + 9, face.y0 + 9, face.x1 - 9, face.y1 - 40}, level);
    Lettering lettering;
    lettering.outline = rgb(0x4a230a);
    lettering.fillTop = level == 3 ? rgb(0xff9a8a) : rgb(0xffe36a);
    lettering.fillBottom = level == 3 ? rgb(0xd42a2a) : rgb(0xff8a1e);
    lettering.shadowOffset = 2;
    const char* const labels[4] = {"LEVEL 1", "LEVEL 2", "LEVEL 3", "BOSS"};
    drawText(picture, font, labels[level], Rect{face.x0 + 10, face.y1 - 38, face.x1 - 10, face.y1 - 3}, 32,
             lettering);
    if (look == Look::Over)
    {
        drawStar(picture, 20, 18, 10, 0.2f, rgb(0xffe14a), rgb(0x6b3d00));
        drawStar(picture, 300, 138, 8, -0.3f, rgb(0xffe14a), rgb(0x6b3d00));
    }
    return picture;
}

// The title: a bear's face beside "QUOBBEL" in bouncing letters.
Raster logo(FontFace& font)
{
    Raster picture(600, 198);
    const int w = picture.width();
    const int h = picture.height();
    picture.paint(ellipse(w, h, 320, 108, 290, 84).blurred(8), rgb(0xffffff, 0.35f));
    drawBearFace(picture, 100, 108, 62, false);
    Lettering lettering;
    lettering.fillTop = rgb(0xfff27a);
    lettering.fillBottom = rgb(0xff8a1a);
    lettering.outline = rgb(0x4a230a);
    lettering.outlineWidth = 7;
    lettering.rimWidth = 12;
    lettering.shadowOffset = 6;
    lettering.shadowBlur = 3;
    const std::string title = "QUOBBEL";
    // Letters are set one by one on a bouncing baseline, their outlines just touching, at the size that
    // fills x 182..588. Each layer is gathered for all letters first, so no rim covers a neighbour's face.
    const float gap = lettering.outlineWidth * 2 + 1;
    TextStyle style{100, 1.0f, 0};
    for (int pass = 0; pass < 2; ++pass)
    {
        float width = gap * static_cast<float>(title.size() - 1);
        for (const char c : title)
            width += font.measure(std::string(1, c), style).width();
        style.pixelSize *= (406.0f - gap * static_cast<float>(title.size() - 1)) /
                           (width - gap * static_cast<float>(title.size() - 1));
    }
    Mask rim(w, h);
    Mask outline(w, h);
    Mask fill(w, h);
    float x = 182;
    float top = 1e9f;
    float bottom = -1e9f;
    for (std::size_t i = 0; i < title.size(); ++i)
    {
        const std::string letter(1, title[i]);
        const TextBounds ink = font.measure(letter, style);
        const float baseline = 142 + 8.0f * std::sin(static_cast<float>(i) * 1.1f + 0.4f);
        const float penX = x - ink.left;
        rim.unite(font.render(w, h, letter, style, penX, baseline, lettering.rimWidth));
        outline.unite(font.render(w, h, letter, style, penX, baseline, lettering.outlineWidth));
        fill.unite(font.render(w, h, letter, style, penX, baseline));
        top = std::min(top, baseline + ink.top);
        bottom = std::max(bottom, baseline + ink.bottom);
        x += ink.width() + gap;
    }
    picture.paint(rim.shifted(3, 6).blurred(3), lettering.shadow);
    picture.paint(rim, lettering.rim);
    picture.paint(outline, lettering.outline);
    picture.paint(fill, Paint::vertical(lettering.fillTop, lettering.fillBottom, top, bottom));
    drawStar(picture, 178, 28, 12, 0.3f, rgb(0xffe14a), rgb(0x6b3d00));
    drawStar(picture, 578, 36, 9, -0.2f, rgb(0xffe14a), rgb(0x6b3d00));
    drawStar(picture, 560, 176, 7, 0.1f, rgb(0xffe14a), rgb(0x6b3d00));
    return picture;
}

Raster pressStart(FontFace& font)
{
    Raster picture(400, 64);
    drawPlate(picture, Rect{6, 5, 394, 59}, 26, rgb(0x1d3566, 0.8f), rgb(0x0e1c3c, 0.8f), rgb(0xffffff, 0.9f),
              3);
    Lettering lettering;
    lettering.outline = rgb(0xd4600c);
    lettering.outlineWidth = 4;
    lettering.fillBottom = rgb(0xffe48a);
    drawText(picture, font, "PRESS ENTER", Rect{30, 12, 370, 52}, 34, lettering);
    return picture;
}
} // namespace

void addMenuPictures(OverlaySheet& sheet, FontFace& font)
{
    struct MenuButton
    {
        const char* material;
        const char* label;
        const ButtonColours* colours;
    };
    const MenuButton buttons[] = {
        {"but1Player", "1 PLAYER", &orange},      {"but2Players", "2 PLAYERS", &orange},
        {"butPuntuaciones", "BEST TIMES", &blue}, {"creditos", "CREDITS", &blue},
        {"butSortirJoc", "EXIT GAME", &red},      {"butContinuar", "CONTINUE", &green},
        {"butSortir", "QUIT TO TITLE", &red}};
    for (const MenuButton& b : buttons)
        addButton(sheet, b.material, [&](Look look) { return menuButton(font, b.label, *b.colours, look); });
    const char* const levels[4] = {"butLevel1", "butLevel2", "butLevel3", "butLevel4"};
    for (int i = 0; i < 4; ++i)
        addButton(sheet, levels[i], [&](Look look) { return levelCard(font, i, look); });
    sheet.add("PimLogo", logo(font));
    sheet.add("pressStart", pressStart(font));
}

} // namespace gui
