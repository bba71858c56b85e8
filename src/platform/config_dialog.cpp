#include "platform/config_dialog.h"

#include <string>

#include <Ogre.h>
#include <dlfcn.h>

namespace platform
{

namespace
{
// The runtime package's file; the unversioned name is a link only the development package installs.
std::string bitesLibrary()
{
    return "libOgreBites.so." + std::to_string(OGRE_VERSION_MAJOR) + "." +
           std::to_string(OGRE_VERSION_MINOR) + "." + std::to_string(OGRE_VERSION_PATCH);
}

// OgreBites::getNativeConfigDialog(), a plain C++ function of the library.
const char* const dialogFactory = "_ZN9OgreBites21getNativeConfigDialogEv";
} // namespace

Ogre::ConfigDialog* nativeConfigDialog()
{
    const std::string library = bitesLibrary();
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* factory = handle ? dlsym(handle, dialogFactory) : nullptr;
    if (!factory)
    {
        const char* reason = dlerror();
        Ogre::LogManager::getSingleton().logMessage("No render settings dialog: " +
                                                    std::string(reason ? reason : library));
        return nullptr;
    }
    return reinterpret_cast<Ogre::ConfigDialog* (*)()>(factory)();
}

} // namespace platform
