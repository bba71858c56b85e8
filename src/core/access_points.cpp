#include "core/access_points.h"

std::string basePath = "./";
Ogre::RenderWindow* theRenderWindow = nullptr;
Ogre::Viewport* theViewport = nullptr;
Ogre::SceneManager* theSceneManager = nullptr;
Ogre::Camera* theCamera = nullptr;
b2World* thePhysicsWorld = nullptr;
buttonGUI::buttonManager* theButtonManager = nullptr;
MusicPlayer* theMusicPlayer = nullptr;
