#pragma once

#include <string>

namespace Ogre
{
class Root;
}

// Ogre plugins load only by full path on this platform; these helpers find them in Ogre's plugin
// directory (known at build time).
namespace platform
{

// Full path of an Ogre plugin such as "Plugin_ParticleFX".
std::string ogrePluginPath(const std::string& pluginName);

// Loads the render system the game asks for by name. Where that plugin does not exist on this platform
// (the Direct3D one), the fixed-function OpenGL render system is loaded instead.
void loadRenderSystemPlugin(Ogre::Root& root, const std::string& requestedPlugin);

// Loads a plugin from Ogre's plugin directory; throws Ogre's exception when it is missing.
void loadOgrePlugin(Ogre::Root& root, const std::string& pluginName);

// PNG support for textures and screenshots.
void loadImageCodecPlugin(Ogre::Root& root);

} // namespace platform
