#pragma once

#include <string>

#include "platform/system_dialogs.h"

namespace Ogre
{
class ConfigFile;
}

// What "Quobbel.cfg" says about the window and the picture. Keys and values are case-sensitive and compared
// exactly.

struct WindowSettings
{
    bool fullScreen = false;
    unsigned width = 0;
    unsigned height = 0;
    // Handed unchanged to window creation as "vsync".
    std::string vsync;
};

// Window sizes "WindowResolution" may ask for, in pixels. Outside them (or when the value is missing or not
// of the form WIDTHxHEIGHT) the window is 800x600. These bounds and the log lines that name them live here
// alone.
constexpr int minWindowWidth = 320;
constexpr int minWindowHeight = 200;
constexpr int maxWindowSide = 16384;
constexpr unsigned fallbackWindowWidth = 800;
constexpr unsigned fallbackWindowHeight = 600;

// Reads "Fullscreen", "WindowResolution" and "VSync". Only "Fullscreen" = "true" runs full screen, at the
// desktop's size. A window is never larger than the desktop: a larger size is clamped to it. Every size
// that is not used as written is named in the engine log with the one used instead.
WindowSettings readWindowSettings(const Ogre::ConfigFile& config, const platform::ScreenSize& desktop);

// The part of the window that shows the picture: the target aspect centred with black bars.
struct PictureArea
{
    float aspect = 0;     // width / height of the picture
    unsigned width = 0;   // pixels
    unsigned height = 0;  // pixels
    double left = 0;      // relative to the window, 0..1
    double top = 0;       // relative to the window, 0..1
    double relWidth = 0;  // relative to the window, 0..1
    double relHeight = 0; // relative to the window, 0..1
};

// widescreen is the value of "Widescreen": "auto" picks 16:10 on windows wider than 4:3, "true" always
// 16:10, anything else 4:3. The aspect is held in single precision, as the camera takes it.
PictureArea pictureArea(unsigned windowWidth, unsigned windowHeight, const std::string& widescreen);

// The frame time handed to the game: seconds, never more than 0.04 however long the frame took.
double clampFrameTime(double seconds);
