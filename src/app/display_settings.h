#pragma once

#include <string>

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

// Window size used when "WindowResolution" is missing or not of the form WIDTHxHEIGHT.
constexpr unsigned fallbackWindowWidth = 800;
constexpr unsigned fallbackWindowHeight = 600;

// Reads "Fullscreen", "WindowResolution" and "VSync". Only "Fullscreen" = "true" runs full screen, at the
// desktop's size (asked of the platform, so only then). A bad resolution falls back to 800x600 and says so
// in the engine log.
WindowSettings readWindowSettings(const Ogre::ConfigFile& config);

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
