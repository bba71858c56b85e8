// Signs that stand in the levels as billboards: drawn like the overlay panels, shown in the world.

#include <cmath>

#include "gui_pictures.h"

namespace gui
{
namespace
{
const Colour woodLight = rgb(0xfff1cf, 0.94f);
const Colour woodDark = rgb(0xf1d49a, 0.94f);
const Colour woodEdge = rgb(0x6b3d00);
const Colour octopusPink = rgb(0xd8579c);
const Colour meteorGreen = rgb(0x5fd13a);

// The trick in one picture, in box: a green meteor falls on a tilted log and bounces onto the octopus.
void drawBounceDiagram(Raster& picture, const Rect& box)
{
    const int w = picture.width();
    const int h = picture.height();
    const float left = box.x0;
    const float top = box.y0;
    // The octopus's head at the bottom right, with its eyes.
    picture.paint(ellipse(w, h, left + 118, top + 128, 40, 30).dilated(2), rgb(0x4a0c2c));
    picture.paint(ellipse(w, h, left + 118, top + 128, 40, 30),
                  Paint::vertical(shade(octopusPink, 1.3f), octopusPink, top + 98, top + 158));
    for (const float dx : {-13.0f, 13.0f})
    {
        picture.paint(ellipse(w, h, left + 118 + dx, top + 120, 8, 9), rgb(0xffffff));
        picture.paint(ellipse(w, h, left + 118 + dx, top + 122, 4, 5), rgb(0x1a1020));
    }
    // The log, tilted down towards the octopus.
    const Mask log = segment(w, h, left + 8, top + 62, left + 78, top + 82, 11);
    picture.paint(log.dilated(2), rgb(0x3a2008));
    picture.paint(log, Paint::vertical(rgb(0xb07a3e), rgb(0x70461c), top + 56, top + 88));
    // The meteor's path: down onto the log, then off it towards the head, as a dotted line.
    const float path[][2] = {{30, 4}, {32, 18}, {34, 32}, {36, 46}, {52, 52}, {70, 58}, {84, 68}, {96, 80}};
    for (const auto& dot : path)
        picture.paint(ellipse(w, h, left + dot[0], top + dot[1], 2.6f, 2.6f), rgb(0x2a6a18, 0.8f));
    const Mask arrowHead = polygon(w, h, {left + 110, top + 96, left + 92, top + 90, left + 104, top + 78});
    picture.paint(arrowHead, rgb(0x2a6a18));
    const Mask meteor = ellipse(w, h, left + 30, top + 14, 11, 11);
    picture.paint(meteor.dilated(2), rgb(0x1c4a10));
    picture.paint(meteor, Paint::vertical(shade(meteorGreen, 1.35f), meteorGreen, top + 3, top + 25));
}
} // namespace

Raster bossHintSign(FontFace& font)
{
    Raster picture(512, 224);
    drawPlate(picture, Rect{4, 4, 508, 220}, 22, woodLight, woodDark, woodEdge, 4);
    Lettering title;
    title.fillTop = rgb(0xffb3dc);
    title.fillBottom = octopusPink;
    title.outline = rgb(0x4a0c2c);
    title.outlineWidth = 4;
    title.shadowOffset = 3;
    drawText(picture, font, "BEAT THE OCTOPUS!", Rect{20, 10, 492, 58}, 40, title);
    drawBounceDiagram(picture, Rect{22, 62, 182, 216});

    Lettering line;
    line.fillTop = rgb(0x5a3208);
    line.fillBottom = rgb(0x3a1e02);
    line.outline = rgb(0xfff6e0);
    line.outlineWidth = 2;
    line.shadowOffset = 0;
    const char* const lines[] = {"Stand where a GREEN", "meteor will land, tilt", "the log with E / Q and",
                                 "bounce it onto its head!"};
    float y = 68;
    for (const char* text : lines)
    {
        drawText(picture, font, text, Rect{190, y, 496, y + 36}, 27, line);
        y += 37;
    }
    return picture;
}

} // namespace gui
