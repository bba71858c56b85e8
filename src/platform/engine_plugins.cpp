#include "platform/engine_plugins.h"

#include <fstream>
#include <string>

#include <Ogre.h>

namespace platform
{

namespace
{
const char* const fallbackRenderSystem = "RenderSystem_GL";
const char* const imageCodec = "Codec_STBI";

bool pluginExists(const std::string& pluginName)
{
    return std::ifstream(ogrePluginPath(pluginName)).good();
}
} // namespace

// The versioned name (RenderSystem_GL.so.1.12.10) is the file of the engine's runtime package; the plain
// ".so" name is a link that only its development package installs.
std::string ogrePluginPath(const std::string& pluginName)
{
    return std::string(QUOBBEL_OGRE_PLUGIN_DIR) + "/" + pluginName + ".so." +
           std::to_string(OGRE_VERSION_MAJOR) + "." + std::to_string(OGRE_VERSION_MINOR) + "." +
           std::to_string(OGRE_VERSION_PATCH);
}

void loadOgrePlugin(Ogre::Root& root, const std::string& pluginName)
{
    root.loadPlugin(ogrePluginPath(pluginName));
}

void loadRenderSystemPlugin(Ogre::Root& root, const std::string& requestedPlugin)
{
    loadOgrePlugin(root, pluginExists(requestedPlugin) ? requestedPlugin : fallbackRenderSystem);
}

void loadImageCodecPlugin(Ogre::Root& root)
{
    loadOgrePlugin(root, imageCodec);
}

} // namespace platform
