#pragma once

// A side view of a level as the game's camera shows it: +x to the left, y up, at a fixed scale, with a
// grid line every 50 units numbered along the bottom and a title at the top left.

#include <string>
#include <vector>

#include "font_face.h"
#include "level_sketch.h"
#include "raster.h"

constexpr double pixelsPerUnit = 3.0;
// Level units left around everything the picture frames.
constexpr double marginUnits = 15.0;

// The part of the level a picture shows, in level units.
struct LevelArea
{
    double minX, maxX, minY, maxY;
};

// Every framed point (those below the fall line aside) and the fall line, widened by marginUnits.
LevelArea pictureArea(const std::vector<SketchShape>& shapes);

// The picture is the area at pixelsPerUnit, rounded to whole pixels; level point (x, y) lands on pixel
// ((area.maxX - x) * pixelsPerUnit, (area.maxY - y) * pixelsPerUnit).
Raster drawLevel(const std::vector<SketchShape>& shapes, const std::string& title, FontFace& font);
