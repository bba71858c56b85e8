#include "support/window_pixels.h"

#include <algorithm>
#include <cmath>

#include <Ogre.h>

#include "core/access_points.h"

::testing::AssertionResult windowShows(std::size_t x, std::size_t y, const Ogre::ColourValue& expected)
{
    unsigned char pixel[4];
    Ogre::PixelBox box(1, 1, 1, Ogre::PF_BYTE_RGBA, pixel);
    theRenderWindow->copyContentsToMemory(Ogre::Box(x, y, x + 1, y + 1), box, Ogre::RenderTarget::FB_AUTO);
    const Ogre::ColourValue actual = box.getColourAt(0, 0, 0);
    const float error = std::max(
        {std::abs(actual.r - expected.r), std::abs(actual.g - expected.g), std::abs(actual.b - expected.b)});
    if (error < 0.1f)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << x << ", " << y << ") shows (" << actual.r << ", " << actual.g << ", " << actual.b << ")";
}
