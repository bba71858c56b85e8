#include "scenes/intro_scene.h"

#include <cmath>
#include <cstdlib>

#include <Ogre.h>

#include "audio/music_player.h"
#include "core/access_points.h"
#include "core/camera_rig.h"
#include "core/material_texture.h"
#include "core/unique_name.h"
#include "decor/fons.h"
#include "gui/button.h"
#include "gui/button_manager.h"
#include "input/input_state.h"
#include "scenes/end_scene.h"
#include "scenes/main_scene.h"
#include "scenes/scene_lights.h"
#include "scenes/score_table.h"
#include "world/animation_blender.h"
#include "world/decoracio.h"

using buttonGUI::position;

namespace
{
constexpr int firstMainButton = 1;
constexpr int lastMainButton = 5;
constexpr int scoresButton = 3;
constexpr int scorePanelIndex = 6;
constexpr int firstLevelButton = 7;
constexpr int lastLevelButton = 10;

constexpr unsigned fadeMs = 300;
constexpr unsigned quickFadeMs = 50;
// The menu window's bottom offset in pixels when it has risen into place, and the rise speed in pixels
// per second, shared by the logo and the 3D picture.
constexpr float menuRestOffset = 420;
constexpr float riseSpeed = 300;
constexpr double swapAfterFallSeconds = 6.0;
constexpr double noticeSeconds = 4.0;

const char* const bearLook = "Pimbear_tex";
const char* const pandaLook = "PimbearPanda_tex";

const char* const mainButtons[] = {"1player", "2players", "puntuacions", "creditos", "sortir"};
const char* const levelButtons[] = {"level1", "level2", "level3", "level4"};
const char* const levelFiles[] = {"mapa1.imf", "mapa2.imf", "mapa3.imf", "boss1.imf"};

// The title's figures stay about one size on screen, where sampling the nearest mipmap level looks the same
// as blending two and costs the software rasteriser about a seventh less per figure. The shared materials
// keep their filtering for the levels; the title draws with copies of them, made once and kept by name.
Ogre::MaterialPtr titleLook(const std::string& material)
{
    const Ogre::MaterialPtr source = Ogre::MaterialManager::getSingleton().getByName(material);
    if (!source)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "No material " + material, "IntroScene");
    Ogre::MaterialPtr copy = independentCopy(source, material + "/title");
    for (Ogre::Technique* technique : copy->getTechniques())
        for (Ogre::Pass* pass : technique->getPasses())
            for (Ogre::TextureUnitState* unit : pass->getTextureUnitStates())
                unit->setTextureFiltering(Ogre::TFO_BILINEAR);
    return copy;
}

void dressInTitleLook(Ogre::Entity& entity, const std::string& material)
{
    entity.setMaterial(titleLook(material));
}

int wrapMain(int index)
{
    return index > lastMainButton ? firstMainButton : index < firstMainButton ? lastMainButton : index;
}
} // namespace

IntroScene::IntroScene(Notice notice) : mNotice(notice) {}

IntroScene::~IntroScene() = default;

int IntroScene::navigate(int index, MenuMove move)
{
    if (move == MenuMove::none || index == scorePanelIndex)
        return index;
    if (index < scorePanelIndex)
    {
        switch (move)
        {
        case MenuMove::right:
            return wrapMain(index + 1);
        case MenuMove::left:
            return wrapMain(index - 1);
        case MenuMove::up:
            return index - 2 < firstMainButton ? lastMainButton : index - 2;
        case MenuMove::down:
        {
            // Down steps a row; from the last row it goes round to the first button.
            int below = index + 2;
            if (below > lastMainButton)
                below -= 1;
            return below == scorePanelIndex ? firstMainButton : below;
        }
        case MenuMove::none:
            break;
        }
        return index;
    }
    switch (move)
    {
    case MenuMove::right:
        return index + 1 > lastLevelButton ? firstLevelButton : index + 1;
    case MenuMove::left:
        return index - 1 < firstLevelButton ? lastLevelButton : index - 1;
    case MenuMove::up:
        return index - 2 < firstLevelButton ? index + 2 : index - 2;
    case MenuMove::down:
        return index + 2 > lastLevelButton ? index - 2 : index + 2;
    case MenuMove::none:
        break;
    }
    return index;
}

std::string IntroScene::levelFileFor(const std::string& buttonName)
{
    for (int i = 0; i < 4; ++i)
        if (buttonName == levelButtons[i])
            return levelFiles[i];
    return std::string();
}

std::vector<std::string> IntroScene::firstFrameMedia()
{
    return {"gui_pressStart.dds",  "gui_PimLogo.dds",         "cel.dds",
            "start_pimbear1.mesh", "start_pimbear1.skeleton", "Pimbear_tex.dds",
            "start_pimbear2.mesh", "start_pimbear2.skeleton", "PimbearPanda_tex.dds",
            "start_cat.mesh",      "start_cat.skeleton",      "cat_tex.dds",
            "start_planeta.mesh",  "start_planeta.skeleton",  "planeta_tex.dds"};
}

void IntroScene::load()
{
    if (theMusicPlayer->load("Velmora_-_ditto_ditto.ogg"))
        theMusicPlayer->stream().play();
    loadWindows();

    theCamera->setProjectionType(Ogre::PT_ORTHOGRAPHIC);
    theCamera->setNearClipDistance(1);
    theCamera->setFarClipDistance(10000);
    theCamera->setOrthoWindowHeight(400);
    Ogre::SceneNode& eye = cameraNode();
    eye.setPosition(-700, 0, 0);
    eye.lookAt(Ogre::Vector3::ZERO, Ogre::Node::TS_WORLD);

    addTitleLight();

    new Fons();
    loadTableau();

    mFallClock = mTotalTime = 0;
    mTexturesSwapped = false;
    mPlayerCount = 0;
    mScoreTable.reset();
}

void IntroScene::loadWindows()
{
    buttonGUI::buttonManager& gui = *theButtonManager;
    mPressPlate =
        gui.createWindow("press", "pressStart", 0, 0, 0, false, true, position(buttonGUI::BOTTOM, 0, 10));
    mPressPlate->show(false, fadeMs);
    mLogoPlate = gui.createWindow("logo", "PimLogo", 0, 0, 0, false, true, position(buttonGUI::TOP, 0, 80));
    mLogoPlate->show(false, fadeMs);
    showNotice();
}

void IntroScene::createMenu()
{
    buttonGUI::buttonManager& gui = *theButtonManager;
    mMenuBase = static_cast<int>(gui.getButtons().size());
    mMenu = gui.createWindow("fons", "blank", 1, 1, 0, false, true, position(buttonGUI::BOTTOM, 0, 50));
    mMenu->createButton("1player", "but1Player", 0, 0, position(buttonGUI::TOP, -150, -40), true);
    mMenu->createButton("2players", "but2Players", 0, 0, position(buttonGUI::TOP, 150, -40), true);
    mMenu->createButton("puntuacions", "butPuntuaciones", 0, 0, position(buttonGUI::TOP, -150, 90), true);
    mMenu->createButton("creditos", "creditos", 0, 0, position(buttonGUI::TOP, 150, 90), true);
    mMenu->createButton("sortir", "butSortirJoc", 0, 0, position(buttonGUI::TOP, 0, 220), true);
    mMenu
        ->createButton("puntuacionsPanel", "panelClasification", 600, 590, position(buttonGUI::TOP, 0, -120),
                       true)
        ->hide(false, fadeMs);
    // Hidden at once rather than faded: the window is hidden anyway, and a fade still running when a
    // quick player opens the menu and picks an entry would make the later show() a no-op.
    const float levelX[] = {-190, 190, -190, 190};
    const float levelY[] = {-90, -90, 90, 90};
    for (int i = 0; i < 4; ++i)
        mMenu
            ->createButton(levelButtons[i], std::string("butLevel") + char('1' + i), 0, 0,
                           position(buttonGUI::TOP, levelX[i], levelY[i]), true)
            ->hide(false, fadeMs);
    selectMenuEntry(firstMainButton);
}

void IntroScene::selectMenuEntry(int index)
{
    theButtonManager->selectButton(mMenuBase + index);
}

int IntroScene::menuSelection() const
{
    return theButtonManager->selected - mMenuBase;
}

void IntroScene::showNotice()
{
    if (mNotice == Notice::none)
        return;
    mNoticeWindow = theButtonManager->createWindow("notice", "textMapError", 0, 0, 0, false, false,
                                                   position(buttonGUI::CENTER, 0, 0));
    mNoticeWindow->show(true, fadeMs);
    mNoticeLeft = noticeSeconds;
}

void IntroScene::updateNotice(double frameTime)
{
    if (!mNoticeWindow || mNoticeLeft <= 0)
        return;
    mNoticeLeft -= frameTime;
    if (mNoticeLeft <= 0)
        mNoticeWindow->hide(true, fadeMs);
}

void IntroScene::loadTableau()
{
    mIntroNode = theSceneManager->getRootSceneNode()->createChildSceneNode(uniqueName());
    mIntroNode->setPosition(0, -142, 0);
    const auto character = [this](const char* mesh, const char* material, Ogre::Entity*& entity,
                                  std::unique_ptr<AnimationBlender>& blender)
    {
        entity = theSceneManager->createEntity(uniqueName(), mesh);
        dressInTitleLook(*entity, material);
        mIntroNode->attachObject(entity);
        blender = std::make_unique<AnimationBlender>(entity);
        blender->start("correr");
    };
    character("start_pimbear1.mesh", bearLook, mBear1, mBear1Blender);
    character("start_pimbear2.mesh", pandaLook, mBear2, mBear2Blender);
    character("start_cat.mesh", "cat_tex", mCat, mCatBlender);
    mPlanet = theSceneManager->createEntity(uniqueName(), "start_planeta.mesh");
    dressInTitleLook(*mPlanet, "planeta_tex");
    mIntroNode->attachObject(mPlanet);
    mPlanetRoll = mPlanet->getAnimationState("roda");
    mPlanetRoll->setLoop(true);
    mPlanetRoll->setEnabled(true);
}

void IntroScene::unload()
{
    theButtonManager->destroyAllWindows();
    mMenu = mPressPlate = mLogoPlate = mNoticeWindow = nullptr;
    Decoracio::deleteAll();
    mBear1Blender.reset();
    mBear2Blender.reset();
    mCatBlender.reset();
    mScoreTable.reset();
    theSceneManager->clearScene();
    mIntroNode = nullptr;
    mBear1 = mBear2 = mCat = mPlanet = nullptr;
    mPlanetRoll = nullptr;
}

void IntroScene::update(double frameTime, InputState* inputState)
{
    InputState& input = *inputState;
    animate(frameTime);
    updateNotice(frameTime);
    handleMenuEvents();
    theButtonManager->update();
    mPressPlate->setAlpha(static_cast<float>(std::abs(std::sin(mTotalTime)) + 0.15));

    if (!mMenu || !mMenu->isVisible())
    {
        // The accept that opens the menu does nothing else: it must not also press "1player".
        if (input.wasPressed(0, action::accept))
        {
            if (!mMenu)
                createMenu();
            mMenu->show(true, 10);
            mPressPlate->hide(false, fadeMs);
        }
        return;
    }

    slideMenu(frameTime);
    MenuMove move = MenuMove::none;
    if (input.wasPressed(0, action::menuRight))
        move = MenuMove::right;
    else if (input.wasPressed(0, action::menuLeft))
        move = MenuMove::left;
    else if (input.wasPressed(0, action::menuUp))
        move = MenuMove::up;
    else if (input.wasPressed(0, action::menuDown))
        move = MenuMove::down;
    selectMenuEntry(navigate(menuSelection(), move));
    // The press is posted now and handled by a later frame's event pass.
    if (input.wasPressed(0, action::accept))
        theButtonManager->activateSelected();
}

void IntroScene::animate(double frameTime)
{
    const float dt = static_cast<float>(frameTime);
    mBear1Blender->update(dt);
    mBear2Blender->update(dt);
    mCatBlender->update(dt);
    mPlanetRoll->addTime(dt);
    mTotalTime += frameTime;
    mFallClock += frameTime;

    // A fall may start after 10 s and starts for certain after 24 s.
    const int draw = std::rand() % 15;
    const bool running = mBear1Blender->getAnimationName() == "correr";
    if (mFallClock > draw + 10)
    {
        if (running)
        {
            mBear1Blender->blend("caure", AnimationBlender::Cut, 0, false);
            mBear2Blender->blend("caure", AnimationBlender::Cut, 0, false);
        }
        mFallClock = 0;
    }
    if (mBear1Blender->complete() && mBear1Blender->getAnimationName() != "correr")
    {
        mBear1Blender->blend("correr", AnimationBlender::Cut, 0, true);
        mBear2Blender->blend("correr", AnimationBlender::Cut, 0, true);
    }
    // The bears are out of sight six seconds into their fall: they come back in each other's costume.
    if (mBear1Blender->getAnimationName() == "caure" && mFallClock > swapAfterFallSeconds)
    {
        mFallClock = 0;
        mTexturesSwapped = !mTexturesSwapped;
        dressInTitleLook(*mBear1, mTexturesSwapped ? pandaLook : bearLook);
        dressInTitleLook(*mBear2, mTexturesSwapped ? bearLook : pandaLook);
    }
}

void IntroScene::handleMenuEvents()
{
    while (const buttonGUI::Event* event = theButtonManager->getNextEvent())
    {
        if (event->type != buttonGUI::EVENT_PRESSED || event->mouseButton != 0 || !event->source)
            continue;
        // Copied: handling a press may post events, which can move the event the pointer refers to.
        const std::string name = event->source->name;
        pressed(name);
    }
}

void IntroScene::pressed(const std::string& buttonName)
{
    if (buttonName == "sortir")
        replaceNext(quitMarker());
    else if (buttonName == "1player" || buttonName == "2players")
    {
        mPlayerCount = buttonName == "1player" ? 1 : 2;
        showMainButtons(false);
        for (const char* level : levelButtons)
            mMenu->getChild(level)->show(true, quickFadeMs);
        selectMenuEntry(firstLevelButton);
    }
    else if (buttonName == "puntuacions")
    {
        buttonGUI::button* panel = mMenu->getChild("puntuacionsPanel");
        if (!mScoreTable)
            mScoreTable = std::make_unique<ScoreTable>(panel);
        panel->show(true, quickFadeMs);
        showMainButtons(false);
        selectMenuEntry(scorePanelIndex);
    }
    else if (buttonName == "puntuacionsPanel")
    {
        mMenu->getChild("puntuacionsPanel")->hide(false, fadeMs);
        showMainButtons(true);
        selectMenuEntry(scoresButton);
    }
    else if (buttonName == "creditos")
        replaceNext(new EndScene());
    else
    {
        const std::string level = levelFileFor(buttonName);
        if (!level.empty())
            replaceNext(new MainScene(level, mPlayerCount));
    }
}

void IntroScene::showMainButtons(bool shown)
{
    for (const char* name : mainButtons)
    {
        buttonGUI::button* button = mMenu->getChild(name);
        if (shown)
            button->show(true, quickFadeMs);
        else
            button->hide(false, fadeMs);
    }
}

void IntroScene::slideMenu(double frameTime)
{
    const position& menuAt = mMenu->getStoredPosition();
    if (menuAt.y >= menuRestOffset)
        return;
    const float rise = riseSpeed * static_cast<float>(frameTime);
    mMenu->setPosition(position(menuAt.anchor, menuAt.x, menuAt.y + rise));
    const position& logoAt = mLogoPlate->getStoredPosition();
    mLogoPlate->setPosition(position(logoAt.anchor, logoAt.x, logoAt.y - rise));
    // World units per pixel of the orthographic view, so the 3D picture keeps pace with the logo.
    const float unitsPerPixel =
        theCamera->getOrthoWindowHeight() / static_cast<float>(theViewport->getActualHeight());
    mIntroNode->translate(0, rise * unitsPerPixel, 0, Ogre::Node::TS_PARENT);
}

void IntroScene::replaceNext(Scene* successor)
{
    if (next && next != quitMarker())
        delete next;
    next = successor;
}
