#include "platform/headless_engine.h"

#include <Ogre.h>
#include <OgreDefaultHardwareBufferManager.h>
#include <OgreOverlaySystem.h>
#include <OgreParticleSystemManager.h>

#include "platform/engine_plugins.h"

namespace platform
{

// The order of construction and destruction matters: other orders crash inside the engine.
HeadlessEngine::HeadlessEngine(const std::string& logFile)
{
    mLogManager = std::make_unique<Ogre::LogManager>();
    mLogManager->createLog(logFile.empty() ? "headless.log" : logFile, true, false, logFile.empty());
    mRoot = std::make_unique<Ogre::Root>("", "", "");
    mBufferManager = std::make_unique<Ogre::DefaultHardwareBufferManager>();
    mTextureManager = std::make_unique<Ogre::DefaultTextureManager>();
    mControllerManager = std::make_unique<Ogre::ControllerManager>();
    Ogre::MaterialManager::getSingleton().initialise();
    loadOgrePlugin(*mRoot, "Plugin_ParticleFX");
    Ogre::ParticleSystemManager::getSingleton()._initialise();
    loadImageCodecPlugin(*mRoot);
    mOverlaySystem = std::make_unique<Ogre::OverlaySystem>();
}

HeadlessEngine::~HeadlessEngine()
{
    if (mSceneManager)
    {
        mSceneManager->removeRenderQueueListener(mOverlaySystem.get());
        mRoot->destroySceneManager(mSceneManager);
    }
    mOverlaySystem.reset();
    mControllerManager.reset();
    mTextureManager.reset();
    mRoot.reset();
    mBufferManager.reset();
    mLogManager.reset();
}

void HeadlessEngine::addResourceLocation(const std::string& path, const std::string& type)
{
    Ogre::ResourceGroupManager::getSingleton().addResourceLocation(path, type);
}

void HeadlessEngine::initialiseResources()
{
    Ogre::ResourceGroupManager::getSingleton().initialiseAllResourceGroups();
}

Ogre::SceneManager& HeadlessEngine::sceneManager()
{
    if (!mSceneManager)
    {
        mSceneManager = mRoot->createSceneManager();
        mSceneManager->addRenderQueueListener(mOverlaySystem.get());
    }
    return *mSceneManager;
}

} // namespace platform
