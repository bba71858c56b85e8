#include "gui/position.h"

namespace buttonGUI
{

namespace
{
int truncated(float value)
{
    return static_cast<int>(value);
}
} // namespace

PixelPoint anchoredPlacement(Anchor anchor, float xOffset, float yOffset, float areaWidth, float areaHeight,
                             float width, float height)
{
    const int left = truncated(xOffset);
    const int centre = truncated(areaWidth / 2) - truncated(width / 2) + truncated(xOffset);
    const int right = truncated(areaWidth) - truncated(width) - truncated(xOffset);
    const int top = truncated(yOffset);
    const int middle = truncated(areaHeight / 2) - truncated(height / 2) + truncated(yOffset);
    const int bottom = truncated(areaHeight) - truncated(height) - truncated(yOffset);
    switch (anchor)
    {
    case LEFT:
        return {left, middle};
    case TOP_LEFT:
        return {left, top};
    case TOP:
        return {centre, top};
    case TOP_RIGHT:
        return {right, top};
    case RIGHT:
        return {right, middle};
    case BOTTOM_RIGHT:
        return {right, bottom};
    case BOTTOM:
        return {centre, bottom};
    case BOTTOM_LEFT:
        return {left, bottom};
    case CENTER:
        return {centre, middle};
    }
    // An anchor number outside the enumeration (a corrupt record) falls back to the plain offset.
    return {left, top};
}

} // namespace buttonGUI
