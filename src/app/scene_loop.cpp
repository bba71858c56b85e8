#include "app/scene_loop.h"

#include <Ogre.h>

#include "core/scene.h"

namespace
{
void log(const char* message)
{
    Ogre::LogManager::getSingletonPtr()->logMessage(message, Ogre::LML_NORMAL, false);
}
} // namespace

void runScenes(Scene* first, Scene*& current, const std::function<void()>& renderUntilNext)
{
    current = first;
    while (current && current != Scene::quitMarker())
    {
        log("Loading scene");
        current->load();
        log("Scene loaded");
        renderUntilNext();
        Scene* successor = current->next;
        log("Unloading scene");
        current->unload();
        delete current;
        current = nullptr;
        log("Scene unloaded");
        current = successor;
    }
    current = nullptr;
}
