#include "scenes/results_scene.h"

#include <algorithm>

#include <Ogre.h>

#include "core/access_points.h"
#include "core/camera_rig.h"
#include "decor/bird_emitter.h"
#include "decor/butterfly.h"
#include "decor/cat.h"
#include "decor/cloud_emitter.h"
#include "decor/fons.h"
#include "decor/static_decor.h"
#include "gui/button.h"
#include "gui/button_manager.h"
#include "input/input_state.h"
#include "scenes/end_scene.h"
#include "scenes/scene_lights.h"
#include "scenes/score_table.h"
#include "world/decoracio.h"
#include "world/platform.h"
#include "world/player.h"
#include "world/static_platform.h"

using buttonGUI::position;

namespace
{
// The orthographic view's width in world units while the stage is built.
constexpr double viewWidth = 96;
constexpr int maxShownWins = 99;
} // namespace

ResultsScene::ResultsScene(int playerCount, int winsPlayer1, int winsPlayer2, ScoreTable* scoreTable)
    : mPlayerCount(playerCount), mWinsPlayer1(winsPlayer1), mWinsPlayer2(winsPlayer2), mScoreTable(scoreTable)
{
    mDecorPositions.reserve(2);
}

ResultsScene::~ResultsScene() = default;

std::string ResultsScene::digitMaterial(int wins, bool tens)
{
    const int shown = std::clamp(wins, 0, maxShownWins);
    if (tens)
        return shown / 10 == 0 ? "blank" : std::to_string(shown / 10);
    return std::to_string(shown % 10);
}

void ResultsScene::load()
{
    buildPanel();
    mPanel->show(false, 300);
    theButtonManager->selectButton(0);
    placeCameraAndLights();

    new Fons();
    new BirdEmitter(5.0);
    new CloudEmitter(Ogre::Vector3(20, -7, -90), 700, "cloud1", 0.4, 1.0, 25.0);
    new CloudEmitter(Ogre::Vector3(20, -7, -70), 700, "cloud2", 0.4, 0.8, 50.0);

    mWinner = 1;
    if (mPlayerCount == 2)
        buildStage();
    cameraNode().setPosition(-40, 25, -100);
}

void ResultsScene::buildPanel()
{
    buttonGUI::buttonManager& gui = *theButtonManager;
    if (mPlayerCount != 2)
    {
        mPanel = gui.createWindow("puntuaciconsPanel", "panelClasification", 600, 590, 0, false, true,
                                  position(buttonGUI::CENTER, 0, 30));
        const bool notSaved = mScoreTable && mScoreTable->saveFailed();
        // Read again from the file: it shows the table as saved, with this run if it was entered.
        mScoreTable = std::make_unique<ScoreTable>(mPanel);
        // Under the ten rows, after the cells, so that it is never among the buttons the menu keys select.
        if (notSaved)
            mPanel->createButton("notSaved", "textNotSaved", 0, 0, position(buttonGUI::BOTTOM, 0, 46), false);
        return;
    }
    mScoreTable.reset();
    const bool player1Leads = mWinsPlayer1 > mWinsPlayer2;
    mPanel =
        gui.createWindow("classification", player1Leads ? "classification2pHigh1" : "classification2pHigh0",
                         0, 0, 0, false, true, position(buttonGUI::CENTER, 0, 30));
    mPanel->createButton("punctuationunitsp1", digitMaterial(mWinsPlayer1, false), 30, 57,
                         position(buttonGUI::CENTER, -65, 30), true);
    mPanel->createButton("punctuationtensp1", digitMaterial(mWinsPlayer1, true), 30, 57,
                         position(buttonGUI::TOP_LEFT, 60, 90), true);
    mPanel->createButton("punctuationunitsp2", digitMaterial(mWinsPlayer2, false), 30, 57,
                         position(buttonGUI::CENTER, 65, 30), true);
    mPanel->createButton("punctuationtensp2", digitMaterial(mWinsPlayer2, true), 30, 57,
                         position(buttonGUI::TOP_LEFT, 170, 90), true);
}

void ResultsScene::placeCameraAndLights()
{
    Ogre::SceneNode& eye = cameraNode();
    eye.setPosition(75, 0, -200);
    theCamera->setProjectionType(Ogre::PT_ORTHOGRAPHIC);
    theCamera->setNearClipDistance(1);
    theCamera->setFarClipDistance(10000);
    theCamera->setOrthoWindowWidth(static_cast<float>(viewWidth));
    eye.lookAt(Ogre::Vector3(75, 0, 0), Ogre::Node::TS_WORLD);

    addDaylight();
}

// Two patches of ground about x = -40, player 1 on the -x one. The leader's side gets the cat and two
// butterflies, the other side the tree and the third butterfly; a tie counts for player 2.
void ResultsScene::buildStage()
{
    const double w = viewWidth;
    const double s = mWinsPlayer1 > mWinsPlayer2 ? 1.0 : -1.0;
    const auto f = [](double value) { return static_cast<float>(value); };
    new StaticPlatform(f(w * 0.3 - 40), 10, 2, 20, PlankKind::ground, 0);
    new StaticPlatform(f(-40 - w * 0.3), 10, 2, 20, PlankKind::ground, 0);
    new Butterfly(Ogre::Vector3(f((w * 0.25 + 8) * s - 40), 11, 0));
    new Butterfly(Ogre::Vector3(f((w * 0.25 + 2) * s - 40), 11, 0));
    new Butterfly(Ogre::Vector3(f(-40 - (w * 0.25 + 10) * s), 11, 0));
    new StaticDecor(Ogre::Vector3(f(-40 - (w * 0.25 + 5) * s), 13, 0), 1.0f, "tree.mesh");
    mPlayer1 = new Player(f(w * 0.25 - 40 + 5), 13, 0, 1);
    mPlayer1->finish(s > 0);
    mPlayer2 = new Player(f(-40 - w * 0.25 - 5), 13, 0, 2);
    mPlayer2->finish(s < 0);
    const Ogre::Vector3 catAt(f((w * 0.25 + 5) * s - 40), 10, -20);
    mCat = new Cat(catAt);
    mCat->celebrating = true;
    mCat->target = catAt;
    mWinner = s > 0 ? 1 : 2;
}

void ResultsScene::unload()
{
    theButtonManager->destroyAllWindows();
    mPanel = nullptr;
    Platform::deleteAll();
    Decoracio::deleteAll();
    mCat = nullptr;
    delete mPlayer1;
    delete mPlayer2;
    mPlayer1 = mPlayer2 = nullptr;
    mScoreTable.reset();
    theSceneManager->clearScene();
}

void ResultsScene::update(double frameTime, InputState* inputState)
{
    InputState& input = *inputState;
    buttonGUI::buttonManager& gui = *theButtonManager;
    gui.update();
    int selected = gui.selected;
    if (input.wasPressed(0, action::menuDown))
        selected = selected + 1 > 3 ? 2 : selected + 1;
    else if (input.wasPressed(0, action::menuUp))
        selected = selected - 1 < 2 ? 3 : selected - 1;
    gui.selectButton(selected);
    if (input.wasPressed(0, action::accept))
        gui.activateSelected();
    // Nothing here reacts to the toolkit's events; dropping them keeps the queue from growing.
    while (gui.getNextEvent())
    {
    }

    mDecorPositions.clear();
    if (mPlayerCount == 2)
    {
        for (int number = 1; number <= 2; ++number)
        {
            Player& p = *player(number);
            const int direction =
                int(input.isDown(number, action::moveRight)) - int(input.isDown(number, action::moveLeft));
            p.update(static_cast<float>(frameTime), direction, input.isDown(number, action::jump));
        }
        mDecorPositions.push_back(mPlayer1->pivotNode->getPosition());
        mDecorPositions.push_back(mPlayer2->pivotNode->getPosition());
    }
    else
        mDecorPositions.assign(2, Ogre::Vector3(0, 25, -100));
    for (Decoracio* decoration : Decoracio::instances())
        decoration->update(mDecorPositions, frameTime);

    if (input.wasPressed(0, action::back) && !next)
        next = new EndScene();
}
