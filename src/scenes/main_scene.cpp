#include "scenes/main_scene.h"

#include <iostream>

#include <Ogre.h>
#include <OgreOverlay.h>

#include "core/access_points.h"
#include "core/camera_rig.h"
#include "decor/cat.h"
#include "gui/button.h"
#include "gui/button_manager.h"
#include "input/input_state.h"
#include "scenes/intro_scene.h"
#include "scenes/level_chain.h"
#include "scenes/scene_lights.h"
#include "scenes/score_table.h"
#include "world/checkpoint.h"
#include "world/decoracio.h"
#include "world/enemic.h"
#include "world/platform.h"
#include "world/player.h"

using buttonGUI::position;

namespace
{
// Toolkit indices of the pause menu's buttons: they are the third and fourth buttons the scene creates.
constexpr int continueButtonIndex = 2;
constexpr int exitButtonIndex = 3;
constexpr unsigned fadeMs = 300;
constexpr unsigned quickFadeMs = 50;
constexpr float goSignSeconds = 0.5f;

const std::string& digitMaterial(int value)
{
    return HudClock::materialFor(static_cast<char>('0' + value));
}
} // namespace

MainScene::MainScene(const std::string& levelFile, int numPlayers)
    : mLevelFile(levelFile), mNumPlayers(numPlayers)
{
    mPlayerPositions.reserve(2);
}

MainScene::~MainScene()
{
    mDeathSound.releaseSource();
    delete mScoreTable;
}

bool MainScene::paused() const
{
    return mPauseWindow && mPauseWindow->isVisible();
}

bool MainScene::goSignUp() const
{
    return mGoWindow && mGoWindow->isVisible();
}

void MainScene::load()
{
    try
    {
        build();
    }
    catch (const LevelError& error)
    {
        refuseLevel(error.problem());
    }
}

void MainScene::build()
{
    if (!mChainChecked)
    {
        checkLevelChain(mLevelFile, mNumPlayers, readLevelResource);
        mChainChecked = true;
    }
    buildDisplay();
    placeCamera();
    addDaylight();
    loadSounds();
    loadLevel(mLevelFile, mNumPlayers);
    mGoTimer = 0;
    mWinner = 0;
    mDeathPending = false;
}

// The game goes on from the title: unload() takes down whatever load() had built by then.
void MainScene::refuseLevel(const LevelProblem& problem)
{
    mLevelRefused = true;
    const std::string line = "Level refused: " + problem.describe();
    Ogre::LogManager::getSingleton().logMessage(line);
    std::cerr << line << '\n';
    if (next && next != quitMarker())
        delete next;
    next = new IntroScene(IntroScene::Notice::levelRefused);
}

void MainScene::buildDisplay()
{
    buttonGUI::buttonManager& gui = *theButtonManager;
    mGoWindow = gui.createWindow("go", "textGo", 0, 0, 0, false, true, position(buttonGUI::CENTER, 0, 0));
    mGoWindow->overlay->setZOrder(0);
    mGoWindow->show(true, fadeMs);
    mPauseWindow = gui.createWindow("fons", "blank", 0, 0, 0, false, true, position(buttonGUI::CENTER, 0, 0));
    mPauseWindow->createButton("continuar", "butContinuar", 0, 0, position(buttonGUI::CENTER, 0, -100), true);
    mPauseWindow->createButton("sortir", "butSortir", 0, 0, position(buttonGUI::CENTER, 0, 100), true);
    mPauseWindow->overlay->setZOrder(1);
    gui.selectButton(continueButtonIndex);

    if (mNumPlayers == 1)
    {
        buttonGUI::button* lives =
            gui.createWindow("vides", "vides", 0, 0, 0, false, true, position(buttonGUI::BOTTOM_LEFT, 5, 5));
        mLivesDigit = lives->createButton("numvides", digitMaterial(mLives), 20, 38,
                                          position(buttonGUI::CENTER, 0, 10), true);
        HudClock::prepareGlyphs(*mLivesDigit, "012345", static_cast<char>('0' + mLives));
        lives->show(false, 0);
        mHudWindow =
            gui.createWindow("min", "butTime", 0, 0, 0, false, true, position(buttonGUI::TOP_RIGHT, 0, 0));
        std::array<buttonGUI::button*, HudClock::cellCount> cells{};
        for (int k = 0; k < HudClock::cellCount; ++k)
            cells[static_cast<std::size_t>(k)] = mHudWindow->createButton(
                std::to_string(k), "blank", 20, 38, position(buttonGUI::TOP_LEFT, 210.0f - 20 * k, 60), true);
        mClock = HudClock();
        mClock.attach(cells);
    }
    else
    {
        mHudWindow = gui.createWindow("classification", "classification2p", 0, 0, 0, false, true,
                                      position(buttonGUI::TOP_RIGHT, 0, 0));
        const auto tens = [](int wins) -> const std::string&
        {
            static const std::string blank = "blank";
            return (wins / 10) % 10 == 0 ? blank : digitMaterial((wins / 10) % 10);
        };
        mHudWindow->createButton("punctuationunitsp1", digitMaterial(mWinsP1 % 10), 20, 38,
                                 position(buttonGUI::TOP_LEFT, 80, 90), true);
        mHudWindow->createButton("punctuationtensp1", tens(mWinsP1), 20, 38,
                                 position(buttonGUI::TOP_LEFT, 60, 90), true);
        mHudWindow->createButton("punctuationunitsp2", digitMaterial(mWinsP2 % 10), 20, 38,
                                 position(buttonGUI::TOP_LEFT, 190, 90), true);
        mHudWindow->createButton("punctuationtensp2", tens(mWinsP2), 20, 38,
                                 position(buttonGUI::TOP_LEFT, 170, 90), true);
    }
    mHudWindow->show(false, 0);
}

void MainScene::placeCamera()
{
    mCameraMargin = 60;
    mCameraYOffset = 0;
    Ogre::SceneNode& node = cameraNode();
    node.setPosition(75, 0, -200);
    theCamera->setProjectionType(Ogre::PT_ORTHOGRAPHIC);
    theCamera->setNearClipDistance(1);
    theCamera->setFarClipDistance(10000);
    theCamera->setOrthoWindowWidth(mCameraMargin + 66);
    node.lookAt(Ogre::Vector3(75, 0, 0), Ogre::Node::TS_WORLD);
}

void MainScene::loadSounds()
{
    mWinSounds[0] = std::make_unique<SoundEffect>();
    mWinSounds[0]->load("guanyar.ogg");
    mWinSounds[1] = std::make_unique<SoundEffect>();
    mWinSounds[1]->load("guanyar2.ogg");
    mSilentSound = std::make_unique<SoundEffect>();
    mCurrentWinSound = mSilentSound.get();
    if (mDeathSound.buffer() == 0)
        mDeathSound.load("death.ogg");
    if (mDeathSound.source() == 0)
        mDeathSound.acquireSource();
}

void MainScene::unload()
{
    mClock.detach();
    theButtonManager->destroyAllWindows();
    mGoWindow = mPauseWindow = mHudWindow = mLivesDigit = nullptr;
    Platform::deleteAll();
    Enemic::deleteAll();
    Decoracio::deleteAll();
    Checkpoint::deleteAll();
    mGoalCat = nullptr;
    mBoss = nullptr;
    for (std::unique_ptr<SoundEffect>* sound : {&mWinSounds[0], &mWinSounds[1], &mSilentSound})
    {
        if (*sound)
            (*sound)->releaseSource();
        sound->reset();
    }
    mCurrentWinSound = nullptr;
    for (Player*& player : mPlayers)
    {
        delete player;
        player = nullptr;
    }
    theSceneManager->clearScene();
}

void MainScene::update(double frameTime, InputState* inputState)
{
    InputState& input = *inputState;
    const double dt = frameTime;
    // Ogre notes every moved child of a node in a set until the next scene-graph update, a heap allocation
    // per node and frame, unless the node is already due for a full update. Clouds, birds, meteors, planks
    // and players move every frame, so the whole graph is marked once instead.
    if (mLevelRefused)
        return;
    theSceneManager->getRootSceneNode()->needUpdate();
    handleToolkitEvents();
    if (paused())
    {
        runPauseMenu(input);
        return;
    }
    handleBack(input);
    updateDecorations(dt);
    if (goSignUp())
    {
        mGoTimer += static_cast<float>(dt);
        if (mGoTimer > goSignSeconds)
            mGoWindow->hide(true, fadeMs);
        return;
    }
    if (mWinner == 0)
        mLevelTime += static_cast<float>(dt);
    updateCheckpoints(dt);
    mPlayerMin = Ogre::Vector3(999999, 999999, 999999);
    mPlayerMax = Ogre::Vector3(-999999, -999999, -999999);
    for (int number = 1; number <= mNumPlayers; ++number)
        if (!judgePlayer(number, dt, input))
            return;
    if (mNumPlayers == 1 && mWinner == 0)
    {
        mClock.show(mLevelTime);
        mHudWindow->show(false, 0);
    }
    play(static_cast<float>(dt), input);
    followPlayers(dt);
}

void MainScene::handleToolkitEvents()
{
    while (const buttonGUI::Event* event = theButtonManager->getNextEvent())
    {
        if (event->type != buttonGUI::EVENT_PRESSED || event->mouseButton != 0 || !event->source)
            continue;
        if (event->source->name == "sortir" && !next)
            next = new IntroScene();
        else if (event->source->name == "continuar")
            mPauseWindow->hide(true, fadeMs);
    }
    theButtonManager->update();
}

void MainScene::runPauseMenu(InputState& input)
{
    int selected = theButtonManager->selected;
    if (input.wasPressed(0, action::menuDown))
        selected = selected + 1 > exitButtonIndex ? continueButtonIndex : selected + 1;
    else if (input.wasPressed(0, action::menuUp))
        selected = selected - 1 < continueButtonIndex ? exitButtonIndex : selected - 1;
    theButtonManager->selectButton(selected);
    if (input.wasPressed(0, action::accept))
        theButtonManager->activateSelected();
    else if (input.wasPressed(0, action::back))
        mPauseWindow->hide(true, fadeMs);
}

void MainScene::handleBack(InputState& input)
{
    if (!input.wasPressed(0, action::back))
        return;
    // Back abandons the name entry: nothing is saved.
    if (mScoreTable)
        mScoreTable->finished = true;
    if (mCurrentWinSound && mCurrentWinSound->source() != 0 && mCurrentWinSound->isPlaying())
    {
        mCurrentWinSound->stop();
        return;
    }
    theButtonManager->selectButton(continueButtonIndex);
    mPauseWindow->show(true, quickFadeMs);
}

void MainScene::updateDecorations(double dt)
{
    mPlayerPositions.clear();
    for (Player* player : mPlayers)
        if (player)
            mPlayerPositions.push_back(player->pivotNode->getPosition());
    for (Decoracio* decoration : Decoracio::instances())
        decoration->update(mPlayerPositions, dt);
}

void MainScene::updateCheckpoints(double dt)
{
    for (Checkpoint* checkpoint : Checkpoint::instances())
    {
        Checkpoint::update(checkpoint, dt);
        for (Player* player : mPlayers)
            if (player)
                checkpoint->take(*player);
    }
}
