#pragma once

// A level as simple shapes in level units, ready to be drawn as a side view: what the game builds from
// each record (planks at their lengths and angles, axles, rails and how far the planks travel, meteor
// launchers with the paths of their meteors, rows of launchers, checkpoints, the boss), the start, the
// goal, the lowest line the camera shows and the fall line. The shapes come in drawing order.

#include <string>
#include <vector>

#include "raster.h"
#include "scenes/level_file.h"

struct LevelPoint
{
    double x, y;
};

struct SketchShape
{
    enum class Kind
    {
        fill,   // a polygon through points
        stroke, // a line through points, size units wide
        disc,   // a disc of radius size at points[0]
        ring,   // a circle of radius size at points[0], a line 0.5 units wide
        label,  // text, size pixels high, centred on points[0]
        rule,   // a line across the whole picture at height points[0].y, size units wide, text above it
        below,  // everything below height points[0].y, text just under its top
        column, // from x points[0].x to points[1].x, from height points[0].y up to the top
    };
    Kind kind;
    std::vector<LevelPoint> points;
    double size = 0;
    Colour colour;
    std::string text;
    // Whether the picture widens to show its points (a rule or a shaded area: its height). Points below the
    // fall line never widen it: meteors fall out of the level, and are only cut.
    bool framed = true;
};

// The height below which a player has fallen out of the level, and the lowest the camera ever shows.
constexpr double fallLineY = -10.0;
constexpr double cameraFloorY = -7.0;

// The shapes of a level, the markers of the start and the goal last so that they stay on top. The start
// is a disc of startColour on player 1's start; the goal a disc of goalColour where the cat sits.
std::vector<SketchShape> sketchLevel(const LevelDescription& level);

extern const Colour startColour;
extern const Colour goalColour;
