#pragma once

// Process-wide access points. The application sets each one once during start-up and owns what they point
// to; every other subsystem only reads them. They stay null in headless tools and tests unless the test
// sets them itself.

#include <string>

namespace Ogre
{
class Camera;
class RenderWindow;
class SceneManager;
class Viewport;
} // namespace Ogre
namespace buttonGUI
{
class buttonManager;
}
class b2World;
class MusicPlayer;

// Directory prefix of every file the game opens by path ("./": the game directory).
extern std::string basePath;
extern Ogre::RenderWindow* theRenderWindow;
extern Ogre::Viewport* theViewport;
extern Ogre::SceneManager* theSceneManager;
// The only camera, "Cam0". Every scene sets it up itself when it loads.
extern Ogre::Camera* theCamera;
extern b2World* thePhysicsWorld;
extern buttonGUI::buttonManager* theButtonManager;
extern MusicPlayer* theMusicPlayer;
