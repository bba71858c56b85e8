#pragma once

#include <memory>
#include <string>

namespace Ogre
{
class ControllerManager;
class DefaultHardwareBufferManager;
class LogManager;
class OverlaySystem;
class Root;
class SceneManager;
class TextureManager;
} // namespace Ogre

namespace platform
{

// The engine without a render system or a display, for the media generator, the tests and the benchmarks.
// Scene graph, meshes, skeletons and animation states, materials, particle templates, overlays and image
// codecs all work; rendering and texture uploads do not. Only one may exist at a time; constructing and
// destroying one costs a few milliseconds and may be repeated in one process.
class HeadlessEngine
{
  public:
    // logFile: where the engine log goes; empty keeps the log in memory only.
    explicit HeadlessEngine(const std::string& logFile = "");
    ~HeadlessEngine();
    HeadlessEngine(const HeadlessEngine&) = delete;
    HeadlessEngine& operator=(const HeadlessEngine&) = delete;

    // Registers a resource location ("Zip" or "FileSystem") in the default group, non-recursively.
    void addResourceLocation(const std::string& path, const std::string& type);
    // Parses every script (materials, particles, fonts) of the registered locations.
    void initialiseResources();

    Ogre::Root& root() { return *mRoot; }
    // A generic scene manager, made on first use.
    Ogre::SceneManager& sceneManager();

  private:
    std::unique_ptr<Ogre::LogManager> mLogManager;
    std::unique_ptr<Ogre::Root> mRoot;
    std::unique_ptr<Ogre::DefaultHardwareBufferManager> mBufferManager;
    std::unique_ptr<Ogre::TextureManager> mTextureManager;
    // Root makes its own only with a render system; particle systems and animated textures need one.
    std::unique_ptr<Ogre::ControllerManager> mControllerManager;
    std::unique_ptr<Ogre::OverlaySystem> mOverlaySystem;
    Ogre::SceneManager* mSceneManager = nullptr;
};

} // namespace platform
