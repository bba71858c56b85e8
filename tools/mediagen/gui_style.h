#pragma once

#include <string>

#include "font_face.h"
#include "raster.h"

// The shared look of the game's overlay pictures: lettering, buttons, plates, stars and the two bear faces.
// Every function draws onto a picture in pixels; sizes scale with the arguments, not with the picture.
namespace gui
{

// The three looks of a selectable button. The mouse-off look is the base picture.
enum class Look
{
    Off,
    Over,
    Pressed
};

// Lettering: a vertical gradient fill (over the ink's own height) on a round-joined outline, with a soft
// drop shadow underneath.
struct Lettering
{
    Colour fillTop = rgb(0xffffff);
    Colour fillBottom = rgb(0xfff0c8);
    Colour outline = rgb(0x4a230a);
    float outlineWidth = 4;
    // An optional second, wider outline around the first (a sticker-like rim); width 0 leaves it out.
    Colour rim = rgb(0xffffff);
    float rimWidth = 0;
    Colour shadow = rgb(0x000000, 0.35f);
    float shadowOffset = 3;
    int shadowBlur = 2;
    float tracking = 0;
};

// Draws text centred in box at the largest size up to maxSize (em pixels) whose ink, outline included,
// fits the box; long words are first squeezed horizontally down to 85 %. Returns the ink bounds drawn.
Rect drawText(Raster& picture, FontFace& font, const std::string& text, const Rect& box, float maxSize,
              const Lettering& lettering);
// As drawText, with the pen at (x, baseline) and a fixed size and squeeze; for columns and wavy titles.
void drawTextAt(Raster& picture, FontFace& font, const std::string& text, float x, float baseline,
                const TextStyle& style, const Lettering& lettering);

// A button's colours for its mouse-off look; the other looks are derived from them.
struct ButtonColours
{
    Colour top;
    Colour bottom;
    Colour lip; // the darker underside that makes the button look raised
    Colour border;
};

// The raised, glossy body of a button inside body (its top face; the lip hangs 6 px below). Over adds a
// golden glow around it and lightens it; Pressed drops it onto its lip and darkens it. Returns the face's
// rectangle, where the label belongs.
Rect drawButtonBody(Raster& picture, const Rect& body, float radius, const ButtonColours& colours, Look look);

// A translucent rounded plate with a border, for panels and HUD frames.
void drawPlate(Raster& picture, const Rect& rect, float radius, const Colour& top, const Colour& bottom,
               const Colour& border, float borderWidth);

// A five-pointed star centred at (cx, cy), outer radius r, tilted by angle radians, with a dark outline.
void drawStar(Raster& picture, float cx, float cy, float r, float angle, const Colour& fill,
              const Colour& outline);

// A small crown whose base is centred at (cx, baseY), w wide.
void drawCrown(Raster& picture, float cx, float baseY, float w);

// A bear's face (ears, muzzle, eyes, cheeks) centred at (cx, cy); r is the face's half-width. The panda
// is player 2's bear.
void drawBearFace(Raster& picture, float cx, float cy, float r, bool panda);

} // namespace gui
