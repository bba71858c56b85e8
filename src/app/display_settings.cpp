#include "app/display_settings.h"

#include <cstdio>

#include <Ogre.h>

#include "platform/system_dialogs.h"

namespace
{
constexpr double maxFrameTimeSeconds = 0.04;
constexpr float standardAspect = 4.0f / 3.0f;
constexpr float wideAspect = 1.6f;

bool parseResolution(const std::string& text, unsigned& width, unsigned& height)
{
    char rest = 0;
    return std::sscanf(text.c_str(), "%ux%u%c", &width, &height, &rest) == 2 && width > 0 && height > 0;
}
} // namespace

WindowSettings readWindowSettings(const Ogre::ConfigFile& config)
{
    WindowSettings settings;
    settings.fullScreen = config.getSetting("Fullscreen") == "true";
    settings.vsync = config.getSetting("VSync");
    if (settings.fullScreen)
    {
        const platform::ScreenSize desktop = platform::desktopSize();
        settings.width = desktop.width;
        settings.height = desktop.height;
    }
    else if (!parseResolution(config.getSetting("WindowResolution"), settings.width, settings.height))
    {
        settings.width = fallbackWindowWidth;
        settings.height = fallbackWindowHeight;
        if (auto* log = Ogre::LogManager::getSingletonPtr())
            log->logMessage("WindowResolution missing or malformed: using 800x600");
    }
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
