#pragma once

// Pixels of the game's own render window (theRenderWindow) in its last frame, for tests that run the
// application in-process under the test display.

#include <cstddef>

#include <OgreColourValue.h>

#include <gtest/gtest.h>

// Whether the window's pixel (x, y), counted from the top left, is within 0.1 of `expected` in each colour
// channel; the failure names the colour it shows.
::testing::AssertionResult windowShows(std::size_t x, std::size_t y, const Ogre::ColourValue& expected);
