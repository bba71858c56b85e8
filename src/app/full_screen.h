#pragma once

#include <string>

namespace Ogre
{
class ConfigFile;
class RenderWindow;
} // namespace Ogre

// Switches the game window between the window "Quobbel.cfg" describes and full screen at the desktop's
// size, and saves the choice as the file's "Fullscreen" key so that the next start keeps it. The picture
// keeps its shape through the window's resize event, which lays out the viewport and the overlays again.
class FullScreenSwitch
{
  public:
    // config: "Quobbel.cfg" as read at start-up (for the window size); configPath: the file to save to.
    // Both the window and the configuration must outlive the switch.
    FullScreenSwitch(Ogre::RenderWindow& window, const Ogre::ConfigFile& config, std::string configPath);

    // Full screen when windowed, windowed when full screen. Logs the switch; when the desktop's size is
    // unknown nothing changes, and when the file cannot be saved the game plays on and the log says why.
    void toggle();

  private:
    Ogre::RenderWindow& mWindow;
    const Ogre::ConfigFile& mConfig;
    std::string mConfigPath;
    // Kept here: without a window manager the engine's own flag does not follow the switches.
    bool mFullScreen;
};
