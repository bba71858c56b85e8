#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include <OgreColourValue.h>

namespace buttonGUI
{

// The four looks of a button, in the order the text colours are kept.
enum Look
{
    LOOK_PRESSED = 0,
    LOOK_RELEASED = 1,
    LOOK_MOUSE_OVER = 2,
    LOOK_MOUSE_OFF = 3,
    LOOK_COUNT = 4
};

// How text areas attached to a button are drawn in each look. Only names and colours are kept: the font is
// never resolved here, so a missing font costs nothing until a text area is actually drawn with it.
struct TextScheme
{
    // Gives the one colour to the top and bottom of every look.
    TextScheme(std::string font, std::uint16_t characterHeight, const Ogre::ColourValue& colour)
        : fontName(std::move(font)), charHeight(characterHeight)
    {
        for (int look = 0; look < LOOK_COUNT; ++look)
        {
            colourTop[look] = colour;
            colourBottom[look] = colour;
        }
    }

    std::string fontName;
    std::uint16_t charHeight = 0; // pixels
    Ogre::ColourValue colourTop[LOOK_COUNT];
    Ogre::ColourValue colourBottom[LOOK_COUNT];
};

} // namespace buttonGUI
