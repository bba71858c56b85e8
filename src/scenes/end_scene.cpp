#include "scenes/end_scene.h"

#include <Ogre.h>
#include <OgreOverlay.h>

#include "core/access_points.h"
#include "core/camera_rig.h"
#include "core/unique_name.h"
#include "decor/bird_emitter.h"
#include "decor/cloud_emitter.h"
#include "decor/fons.h"
#include "gui/button.h"
#include "gui/button_manager.h"
#include "input/input_state.h"
#include "scenes/intro_scene.h"
#include "scenes/scene_lights.h"
#include "world/animation_blender.h"
#include "world/decoracio.h"

using buttonGUI::position;

namespace
{
struct CreditPanel
{
    const char* name;
    const char* material;
    float width, height;
    buttonGUI::Anchor anchor;
    float y;
    unsigned short zOrder;
    float scrollOffset; // pixels the panel starts below the bottom edge, on top of the shared scroll
};

const CreditPanel creditPanels[4] = {
    {"creditos1", "creditos1", 500, 257, buttonGUI::CENTER, 0, 0, 100},
    {"creditos2", "creditos2", 500, 287, buttonGUI::BOTTOM, 60, 30, 800},
    {"creditos3", "creditos3", 500, 314, buttonGUI::BOTTOM, 90, 30, 1500},
    {"creditos4", "PimLogo", 600, 198, buttonGUI::BOTTOM, 120, 30, 2300},
};

// The cat stops when it is this close (z units) to the bear it runs to, and stays this long (seconds).
constexpr float reachDistance = 2;
constexpr float petSeconds = 4;
constexpr float catSpeed = 10;         // units per second
constexpr float scrollSpeed = 50;      // pixels per second
constexpr float fastScrollSpeed = 100; // in a frame with accept or jump pressed
constexpr float creditsTopLimit = 30;  // pixels from the top where the logo stops
constexpr float bearFade = 0.5f;

Ogre::Quaternion yaw(float degrees)
{
    return Ogre::Quaternion(Ogre::Degree(degrees), Ogre::Vector3::UNIT_Y);
}
} // namespace

EndScene::EndScene() = default;

EndScene::~EndScene() = default;

void EndScene::load()
{
    Ogre::SceneNode& eye = cameraNode();
    eye.setPosition(-700, 0, 0);
    theCamera->setProjectionType(Ogre::PT_ORTHOGRAPHIC);
    theCamera->setNearClipDistance(1);
    theCamera->setFarClipDistance(10000);
    theCamera->setOrthoWindowWidth(50);
    eye.lookAt(Ogre::Vector3::ZERO, Ogre::Node::TS_WORLD);

    addTitleLight();

    new Fons();
    new BirdEmitter(5.0);
    new CloudEmitter(Ogre::Vector3(20, -7, -90), 300, "cloud1", 0.4, 1.0, 25.0);
    new CloudEmitter(Ogre::Vector3(20, -7, -70), 300, "cloud2", 0.4, 0.8, 50.0);

    loadTableau();
    loadCredits();
    mClock = 0;
    mPauseTimer = 0;
    mCatDirection = 0;
    mCreditsDone = false;
    mCreditsOffset = 30;
}

void EndScene::loadTableau()
{
    Ogre::SceneNode* root = theSceneManager->getRootSceneNode();
    const auto bear = [root](const Ogre::Vector3& at, Ogre::SceneNode*& node) -> Ogre::Entity*
    {
        Ogre::Entity* entity = theSceneManager->createEntity(uniqueName(), "Pimbear.mesh");
        node = root->createChildSceneNode(uniqueName());
        node->setPosition(at);
        node->attachObject(entity);
        node->setScale(0.07f, 0.07f, 0.07f);
        // Facing the camera, so the "_d" gestures point to screen right.
        node->yaw(Ogre::Degree(-90), Ogre::Node::TS_LOCAL);
        return entity;
    };
    mBear1Blender = std::make_unique<AnimationBlender>(bear(Ogre::Vector3(-110, -10, -15), mBear1Node));
    mBear1Blender->start("saludar_d");
    Ogre::Entity* panda = bear(Ogre::Vector3(-110, -10, 15), mBear2Node);
    panda->setMaterialName("PimbearPanda_tex");
    mBear2Blender = std::make_unique<AnimationBlender>(panda);
    mBear2Blender->start("saludar_e");

    Ogre::Entity* cat = theSceneManager->createEntity(uniqueName(), "cat.mesh");
    mCatNode = root->createChildSceneNode(uniqueName());
    mCatNode->setPosition(-120, -10.8f, -50);
    mCatNode->attachObject(cat);
    mCatBlender = std::make_unique<AnimationBlender>(cat);
    mCatBlender->start("saltar");

    Ogre::SceneNode* log = root->createChildSceneNode(uniqueName());
    log->setPosition(-100, -11, 0);
    log->setScale(1.5f, 1.5f, 1.5f);
    log->yaw(Ogre::Degree(90), Ogre::Node::TS_LOCAL);
    log->attachObject(theSceneManager->createEntity(uniqueName(), "tronc_40.mesh"));
}

void EndScene::loadCredits()
{
    for (int i = 0; i < 4; ++i)
    {
        const CreditPanel& p = creditPanels[i];
        mCredits[i] = theButtonManager->createWindow(p.name, p.material, p.width, p.height, 0, false, true,
                                                     position(p.anchor, 0, p.y));
        mCredits[i]->overlay->setZOrder(p.zOrder);
        mCredits[i]->show(false, 300);
    }
}

void EndScene::unload()
{
    mBear1Blender.reset();
    mBear2Blender.reset();
    mCatBlender.reset();
    Decoracio::deleteAll();
    theButtonManager->destroyAllWindows();
    for (buttonGUI::button*& panel : mCredits)
        panel = nullptr;
    theSceneManager->clearScene();
    mBear1Node = mBear2Node = mCatNode = nullptr;
}

void EndScene::update(double frameTime, InputState* inputState)
{
    InputState& input = *inputState;
    const float t = static_cast<float>(frameTime);
    mClock += t;
    mBear1Blender->update(t * 0.8f);
    mBear2Blender->update(t);
    mCatBlender->update(t);

    steerCat(t);
    animate();
    if (mCatDirection == 1)
        mCatNode->setOrientation(yaw(0));
    else if (mCatDirection == -1)
        mCatNode->setOrientation(yaw(180));
    else if (mCreditsDone)
        mCatNode->setOrientation(yaw(-80));
    mCatNode->translate(0, 0, catSpeed * static_cast<float>(mCatDirection) * t, Ogre::Node::TS_PARENT);

    if (input.wasPressed(0, action::back) && !next)
        next = new IntroScene();
    if (!mCreditsDone)
        scrollCredits(t, input.wasPressed(0, action::accept) || input.wasPressed(0, action::jump));
}

// While the credits run the cat shuttles between the bears (it starts past bear 1, so its first stop is
// bear 2); afterwards it comes to the middle, within a unit of z = 0, and stays.
void EndScene::steerCat(float t)
{
    const float catZ = mCatNode->getPosition().z;
    if (mCreditsDone)
    {
        mCatDirection = catZ - 1 > 0 ? -1 : catZ + 1 < 0 ? 1 : 0;
        return;
    }
    if ((mCatDirection == 1 && catZ + reachDistance > mBear2Node->getPosition().z) ||
        (mCatDirection == -1 && mBear1Node->getPosition().z > catZ - reachDistance))
    {
        mPauseTimer = petSeconds;
        mCatDirection = 0;
    }
    if (mCatDirection != 0 || mPauseTimer > 0)
        mPauseTimer -= t;
    else
        mCatDirection = catZ > 0 ? -1 : 1;
}

// Blends requested again every frame change nothing: the blender ignores a repeat of its last request.
void EndScene::animate()
{
    if (mCreditsDone)
    {
        mBear1Blender->blend("saludar_d", AnimationBlender::FadeWhilePlaying, bearFade, true);
        mBear2Blender->blend("saludar_e", AnimationBlender::FadeWhilePlaying, bearFade, true);
        const char* catAnimation = mCatDirection == 1    ? "correr_d"
                                   : mCatDirection == -1 ? "correr_e"
                                                         : "saltar";
        mCatBlender->blend(catAnimation, AnimationBlender::Cut, 0, true);
        return;
    }
    if (mCatDirection == 1)
        mCatBlender->blend("correr_d", AnimationBlender::Cut, 0, true);
    else if (mCatDirection == -1)
        mCatBlender->blend("correr_e", AnimationBlender::Cut, 0, true);
    else if (mCatBlender->getAnimationName() != "rebre_caricia")
    {
        if (mCatNode->getPosition().z > 0)
            mBear2Blender->blend("acariciar_e", AnimationBlender::FadeWhilePlaying, bearFade, true);
        else
            mBear1Blender->blend("acariciar_d", AnimationBlender::FadeWhilePlaying, bearFade, true);
        mCatBlender->blend("rebre_caricia", AnimationBlender::Cut, 0, true);
    }
    if (mCatDirection != 0)
    {
        mBear1Blender->blend("saludar_d", AnimationBlender::FadeWhilePlaying, bearFade, true);
        mBear2Blender->blend("saludar_e", AnimationBlender::FadeWhilePlaying, bearFade, true);
    }
}

void EndScene::scrollCredits(float t, bool fast)
{
    mCreditsOffset += t * (fast ? fastScrollSpeed : scrollSpeed);
    for (int i = 0; i < 4; ++i)
        mCredits[i]->setPosition(
            position(buttonGUI::BOTTOM, 0, mCreditsOffset - creditPanels[i].scrollOffset));
    if (mCredits[3]->getPosition().y <= creditsTopLimit)
        mCreditsDone = true;
}
