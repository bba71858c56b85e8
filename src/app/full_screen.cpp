#include "app/full_screen.h"

#include <Ogre.h>

#include "app/config_setting.h"
#include "app/display_settings.h"
#include "platform/full_screen_window.h"
#include "platform/system_dialogs.h"

namespace
{
void logLine(const std::string& line)
{
    Ogre::LogManager::getSingleton().logMessage(line);
}

// The window the configuration gives when "Fullscreen" is not "true", read by the same rules as at
// start-up.
WindowSettings windowedSettings(const Ogre::ConfigFile& config, const platform::ScreenSize& desktop)
{
    std::string text = "WindowResolution = " + config.getSetting("WindowResolution") + "\n";
    Ogre::ConfigFile windowed;
    windowed.load(Ogre::DataStreamPtr(new Ogre::MemoryDataStream(text.data(), text.size())), "=", true);
    return readWindowSettings(windowed, desktop);
}
} // namespace

FullScreenSwitch::FullScreenSwitch(Ogre::RenderWindow& window, const Ogre::ConfigFile& config,
                                   std::string configPath)
    : mWindow(window), mConfig(config), mConfigPath(std::move(configPath)), mFullScreen(window.isFullScreen())
{
}

void FullScreenSwitch::toggle()
{
    const bool fullScreen = !mFullScreen;
    platform::ScreenSize desktop;
    try
    {
        desktop = platform::desktopSize();
    }
    catch (const char* error)
    {
        logLine(std::string(fullScreen ? "Full screen" : "Window") + " not available: " + error);
        return;
    }
    WindowSettings size = windowedSettings(mConfig, desktop);
    if (fullScreen)
    {
        size.width = desktop.width;
        size.height = desktop.height;
    }
    platform::setWindowFullScreen(mWindow, fullScreen, size.width, size.height);
    mFullScreen = fullScreen;
    logLine(fullScreen ? "Full screen" : "Windowed");
    const std::string error = saveConfigSetting(mConfigPath, "Fullscreen", fullScreen ? "true" : "false");
    if (!error.empty())
        logLine("Fullscreen setting not saved: " + error);
}
