#include "platform/engine_plugins.h"

#include <fstream>

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

std::string ogrePluginPath(const std::string& pluginName)
{
    return std::string(QUOBBEL_OGRE_PLUGIN_DIR) + "/" + pluginName + ".so";
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
