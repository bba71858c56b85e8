#pragma once

// Where a toolkit button sits. All values are pixels; y grows downwards, (0, 0) is the top left of the
// screen (the letterboxed viewport) for a window and of the parent's panel for a child.

namespace buttonGUI
{

// The point an anchored position is measured from; offsets point inward from it. The numbers are part of
// the interface: scenes store and pass them.
enum Anchor
{
    LEFT = 0, // left edge, vertically centred
    TOP_LEFT = 1,
    TOP = 2, // top edge, horizontally centred
    TOP_RIGHT = 3,
    RIGHT = 4, // right edge, vertically centred
    BOTTOM_RIGHT = 5,
    BOTTOM = 6, // bottom edge, horizontally centred
    BOTTOM_LEFT = 7,
    CENTER = 8
};

// A position record: absolute (pixels from the top left of the screen, whatever the parent) or anchored
// to a corner, edge or the centre of the parent's area.
struct position
{
    // Absolute: the button's top left goes to (x, y) on screen.
    position(float xPixels, float yPixels) : x(xPixels), y(yPixels) {}
    // Anchored: x and y are offsets measured inward from the anchor.
    position(Anchor where, float xOffset, float yOffset)
        : anchored(true), anchor(where), x(xOffset), y(yOffset)
    {
    }

    bool anchored = false;
    Anchor anchor = TOP_LEFT;
    float x = 0;
    float y = 0;
};

// A pixel offset from the top left of an area.
struct PixelPoint
{
    int left = 0;
    int top = 0;
};

// Top left of a width x height box anchored in an area of areaWidth x areaHeight, relative to the area.
// Every term is truncated towards zero before it is added, so fractional sizes and offsets never round up.
PixelPoint anchoredPlacement(Anchor anchor, float xOffset, float yOffset, float areaWidth, float areaHeight,
                             float width, float height);

} // namespace buttonGUI
