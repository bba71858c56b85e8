#include "app/quobbel.h"

#include <filesystem>

#include <Ogre.h>
#include <OgreOverlaySystem.h>

#include "app/display_settings.h"
#include "app/full_screen.h"
#include "app/scene_loop.h"
#include "audio/music_player.h"
#include "audio/sound_manager.h"
#include "core/access_points.h"
#include "core/scene.h"
#include "gui/button_manager.h"
#include "input/input_state.h"
#include "platform/config_dialog.h"
#include "platform/display_loss.h"
#include "platform/engine_plugins.h"
#include "platform/media_archive.h"
#include "platform/media_prefetch.h"
#include "platform/system_dialogs.h"
#include "platform/window_events.h"
#include "world/physics.h"

namespace
{
void log(const std::string& message)
{
    Ogre::LogManager::getSingleton().logMessage(message);
}

// The engine's configuration reader spins for ever on a folder and a pipe blocks it: a configuration path
// must be a regular file (or a link to one), or missing, which its reader reports in its own way.
void refuseIrregularConfigFile(const std::string& path)
{
    std::error_code unknown;
    const std::filesystem::file_status status = std::filesystem::status(path, unknown);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        throw std::runtime_error("Config file " + path + " is not a regular file");
}
} // namespace

std::unique_ptr<Ogre::LogManager> Quobbel::openLog(const std::string& base)
{
    // A log made before the engine's root goes to the file only, not to the console as well.
    auto logManager = std::make_unique<Ogre::LogManager>();
    logManager->createLog(base + "quobbel.log", true, false, false);
    return logManager;
}

Quobbel::Quobbel(const std::string& base, std::vector<std::string> firstSceneMedia)
{
    ::basePath = base;
    if (!Ogre::LogManager::getSingletonPtr())
        mLogManager = openLog(basePath);
    mDisplayGuard = std::make_unique<platform::DisplayLossGuard>();
    refuseIrregularConfigFile(basePath + "Quobbel.cfg");
    mConfig.load(basePath + "Quobbel.cfg", "=", true);
    // Before the engine reads a byte of it.
    platform::checkMediaArchive(basePath + "media.icl");
    if (!firstSceneMedia.empty())
        mPrefetch =
            std::make_unique<platform::MediaPrefetch>(basePath + "media.icl", std::move(firstSceneMedia));
    // The sound device opens while the engine starts; initialise() below waits for it. A start that fails
    // before then closes it again rather than leave its thread behind.
    SoundManager::instance().startOpening();
    struct CloseSoundOnFailure
    {
        bool armed = true;
        ~CloseSoundOnFailure()
        {
            if (armed)
                SoundManager::shutdown();
        }
    } soundGuard;
    startEngine();
    mPacer = std::make_unique<FramePacer>(readMaxFps(mConfig));
    openWindow();
    mFullScreen = std::make_unique<FullScreenSwitch>(*theRenderWindow, mConfig, basePath + "Quobbel.cfg");
    registerResources();
    thePhysicsWorld = physics::createWorld();
    // The text style names a font that is never drawn (no button carries text), so a game without it runs.
    theButtonManager = new buttonGUI::buttonManager(
        "darkInput", buttonGUI::TextScheme("PimFont", 20, Ogre::ColourValue(0, 1, 0, 1)), theSceneManager,
        "Cam0", theViewport);
    mInput = new InputState();
    // Without a sound device the manager logs it once and the game plays on silently.
    SoundManager::instance().initialise();
    soundGuard.armed = false;
    // Borrows the first pool source, before any effect can.
    theMusicPlayer = new MusicPlayer;
    mRoot->addFrameListener(this);
}

Quobbel::~Quobbel()
{
    // Its overlays must go while the engine still exists.
    delete theButtonManager;
    theButtonManager = nullptr;
    // The keyboard listens to the game window through a connection of its own: closing it after the
    // window is gone makes the X server report an error that ends the process. It closes the keyboard and
    // joins the remotes' polling threads.
    delete mInput;
    mInput = nullptr;
    if (mRoot)
        mRoot->removeFrameListener(this);
    if (theSceneManager)
        theSceneManager->removeRenderQueueListener(mOverlaySystem.get());
    mOverlaySystem.reset();
    delete mRoot;
    // Every scene has destroyed its bodies by now.
    delete thePhysicsWorld;
    thePhysicsWorld = nullptr;
    // The player takes its stream off the streaming thread and returns its source while OpenAL is open.
    delete theMusicPlayer;
    theMusicPlayer = nullptr;
    SoundManager::shutdown();
    mDisplayGuard.reset();
    mLogManager.reset();
    theRenderWindow = nullptr;
    theViewport = nullptr;
    theSceneManager = nullptr;
    theCamera = nullptr;
}

void Quobbel::startEngine()
{
    refuseIrregularConfigFile(basePath + "directx.cfg");
    mRoot = new Ogre::Root("", basePath + "directx.cfg", basePath + "quobbel.log");
    platform::loadRenderSystemPlugin(*mRoot, "RenderSystem_Direct3D9");
    platform::loadOgrePlugin(*mRoot, "Plugin_ParticleFX");
    platform::loadImageCodecPlugin(*mRoot);
    if (!mRoot->restoreConfig())
    {
        // Without a dialog the engine would silently pick a render system: a start that cannot ask stops.
        Ogre::ConfigDialog* dialog = platform::nativeConfigDialog();
        if (!dialog || !mRoot->showConfigDialog(dialog))
            throw "Config file is missing";
    }
    mRoot->initialise(false, "OGRE Render Window");
}

void Quobbel::openWindow()
{
    const WindowSettings settings = readWindowSettings(mConfig, platform::desktopSize());
    Ogre::NameValuePairList parameters;
    parameters["vsync"] = settings.vsync;
    theRenderWindow = mRoot->createRenderWindow("Quobbel", settings.width, settings.height,
                                                settings.fullScreen, &parameters);
    theRenderWindow->setDeactivateOnFocusChange(false);

    theSceneManager =
        mRoot->createSceneManager(Ogre::DefaultSceneManagerFactory::FACTORY_TYPE_NAME, "SceneManager");
    mOverlaySystem = std::make_unique<Ogre::OverlaySystem>();
    theSceneManager->addRenderQueueListener(mOverlaySystem.get());
    theCamera = theSceneManager->createCamera("Cam0");
    theViewport = theRenderWindow->addViewport(theCamera, 0, 0, 0, 1, 1);
    addBlackBarsViewport();
    windowResized(theRenderWindow);
}

// The bars around the picture must stay black on every frame, not only after a resize: a double-buffered
// GL window keeps stale pixels there. A whole-window viewport below the picture that shows nothing but its
// black clear colour does that for the cost of one clear, and only while there are bars (windowResized): a
// clear of the whole window costs a software rasteriser about a millisecond.
void Quobbel::addBlackBarsViewport()
{
    mBars = theRenderWindow->addViewport(theCamera, -1, 0, 0, 1, 1);
    mBars->setBackgroundColour(Ogre::ColourValue(0, 0, 0, 1));
    mBars->setClearEveryFrame(true, Ogre::FBT_COLOUR);
    mBars->setVisibilityMask(0);
    mBars->setOverlaysEnabled(false);
    mBars->setSkiesEnabled(false);
    mBars->setShadowsEnabled(false);
}

void Quobbel::registerResources()
{
    auto& resources = Ogre::ResourceGroupManager::getSingleton();
    resources.addResourceLocation(basePath + "media.icl", "Zip");
    // Without its music the game plays on silently, as with a damaged tune.
    const std::string soundtrack = basePath + "/soundtrack";
    std::error_code unknown;
    if (std::filesystem::is_directory(soundtrack, unknown))
        resources.addResourceLocation(soundtrack, "FileSystem");
    else
        log("No soundtrack folder " + basePath + "soundtrack: the game plays without music");
    resources.initialiseAllResourceGroups();
    if (mPrefetch)
        resources.setLoadingListener(mPrefetch.get());
}

void Quobbel::endPrefetch()
{
    Ogre::ResourceGroupManager::getSingleton().setLoadingListener(nullptr);
    const platform::MediaPrefetch::Summary done = mPrefetch->summary();
    log("Unpacked ahead: " + std::to_string(done.unpacked) + " media files (" +
        std::to_string(done.bytes / 1024) + " KiB), " + std::to_string(done.served) +
        " of them loaded by the first frame");
    mPrefetch.reset();
}

void Quobbel::run(Scene* first)
{
    runScenes(first, mCurrentScene, [this] { mRoot->startRendering(); });
    Ogre::LogManager::getSingleton().logMessage("Frames drawn: " + std::to_string(mPacer->frames()) + " in " +
                                                std::to_string(mPacer->secondsCounted()) + " s, " +
                                                std::to_string(mPacer->framesAhead()) +
                                                " of them ahead of time");
}

void Quobbel::windowResized(Ogre::RenderWindow* window)
{
    const PictureArea area =
        pictureArea(window->getWidth(), window->getHeight(), mConfig.getSetting("Widescreen"));
    theCamera->setAspectRatio(area.aspect);
    theViewport->setDimensions(area.left, area.top, area.relWidth, area.relHeight);
    mBars->setAutoUpdated(area.width != window->getWidth() || area.height != window->getHeight());
    if (theButtonManager)
        theButtonManager->setScreenSize(static_cast<float>(area.width), static_cast<float>(area.height));
}

void Quobbel::windowClosed(Ogre::RenderWindow*)
{
    if (mCurrentScene)
        mCurrentScene->next = Scene::quitMarker();
}

bool Quobbel::frameEnded(const Ogre::FrameEvent& event)
{
    // What the first scene did not load by its first frame is not kept.
    if (mPrefetch)
        endPrefetch();
    // Window events arrive here, once per frame.
    const platform::WindowEvents events = platform::pumpWindowEvents(*theRenderWindow);
    if (events.resized)
        windowResized(theRenderWindow);
    if (events.closeRequested)
        windowClosed(theRenderWindow);
    // Before the input is read, so that the frame shows the freshest keys.
    mPacer->waitForNextFrame(!theRenderWindow->isVisible());
    const double frameTime = clampFrameTime(event.timeSinceLastFrame);
    mInput->update(frameTime);
    if (mInput->fullScreenRequested())
        mFullScreen->toggle();
    // The music key, in every scene.
    if (mInput && mInput->wasPressed(1, action::musicToggle))
        theMusicPlayer->stream().togglePause();
    theMusicPlayer->logStreamFailures();
    // Between scenes (and in tests that render frames themselves) there is no scene to drive.
    if (!mCurrentScene)
        return true;
    mCurrentScene->update(frameTime, mInput);
    return mCurrentScene->next == nullptr;
}
