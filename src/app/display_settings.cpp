#include "app/display_settings.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include <Ogre.h>

namespace
{
constexpr double maxFrameTimeSeconds = 0.04;
constexpr float standardAspect = 4.0f / 3.0f;
constexpr float wideAspect = 1.6f;

void log(const std::string& message)
{
    if (auto* log = Ogre::LogManager::getSingletonPtr())
        log->logMessage(message);
}

std::string sizeText(long long width, long long height)
{
    return std::to_string(width) + "x" + std::to_string(height);
}

// One signed decimal number from `at`; a number too large for the type reads as the largest one, which no
// bound admits.
bool readNumber(const char*& at, const char* end, long long& value)
{
    const std::from_chars_result read = std::from_chars(at, end, value);
    if (read.ec == std::errc::invalid_argument)
        return false;
    if (read.ec == std::errc::result_out_of_range)
        value = std::numeric_limits<long long>::max();
    at = read.ptr;
    return true;
}

// WIDTHxHEIGHT, read signed, so that "-800x-600" is refused rather than wrapped round to a huge size.
bool parseResolution(const std::string& text, long long& width, long long& height)
{
    const char* at = text.data();
    const char* end = at + text.size();
    if (!readNumber(at, end, width) || at == end || *at++ != 'x' || !readNumber(at, end, height))
        return false;
    return at == end;
}

bool withinBounds(long long width, long long height)
{
    return width >= minWindowWidth && height >= minWindowHeight && width <= maxWindowSide &&
           height <= maxWindowSide;
}

void pickWindowSize(const std::string& resolution, WindowSettings& settings)
{
    long long width = 0;
    long long height = 0;
    settings.width = fallbackWindowWidth;
    settings.height = fallbackWindowHeight;
    const std::string fallback = ": using " + sizeText(fallbackWindowWidth, fallbackWindowHeight);
    if (!parseResolution(resolution, width, height))
        log("WindowResolution missing or malformed" + fallback);
    else if (!withinBounds(width, height))
        log("WindowResolution " + resolution + " outside " + sizeText(minWindowWidth, minWindowHeight) +
            " to " + sizeText(maxWindowSide, maxWindowSide) + fallback);
    else
    {
        settings.width = static_cast<unsigned>(width);
        settings.height = static_cast<unsigned>(height);
    }
}

void clampToDesktop(WindowSettings& settings, const platform::ScreenSize& desktop)
{
    if (settings.width <= desktop.width && settings.height <= desktop.height)
        return;
    const std::string asked = sizeText(settings.width, settings.height);
    settings.width = std::min(settings.width, desktop.width);
    settings.height = std::min(settings.height, desktop.height);
    log("Window " + asked + " larger than the desktop: using " + sizeText(settings.width, settings.height));
}
} // namespace

WindowSettings readWindowSettings(const Ogre::ConfigFile& config, const platform::ScreenSize& desktop)
{
    WindowSettings settings;
    settings.fullScreen = config.getSetting("Fullscreen") == "true";
    settings.vsync = config.getSetting("VSync");
    if (settings.fullScreen)
    {
        settings.width = desktop.width;
        settings.height = desktop.height;
        return settings;
    }
    pickWindowSize(config.getSetting("WindowResolution"), settings);
    clampToDesktop(settings, desktop);
    return settings;
}

PictureArea pictureArea(unsigned windowWidth, unsigned windowHeight, const std::string& widescreen)
{
    const double w = windowWidth;
    const double h = windowHeight;
    PictureArea area;
    if (widescreen == "auto")
        area.aspect = w > h * 4.0 / 3.0 ? wideAspect : standardAspect;
    else if (widescreen == "true")
        area.aspect = wideAspect;
    else
        area.aspect = standardAspect;

    if (area.aspect > w / h)
    {
        area.width = windowWidth;
        area.height = static_cast<unsigned>(w / area.aspect);
    }
    else
    {
        area.height = windowHeight;
        area.width = static_cast<unsigned>(h * area.aspect);
    }
    area.left = 0.5 * (w - area.width) / w;
    area.top = 0.5 * (h - area.height) / h;
    area.relWidth = area.width / w;
    area.relHeight = area.height / h;
    return area;
}

double clampFrameTime(double seconds)
{
    return seconds > maxFrameTimeSeconds ? maxFrameTimeSeconds : seconds;
}
