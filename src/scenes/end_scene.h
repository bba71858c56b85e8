#pragma once

// The credits: four picture panels rise from below the bottom of the screen, 50 pixels per second, over
// two bears standing on a log while the cat runs from one to the other (10 units per second along z) to be
// petted for 4 s, both bears waving whenever it runs. Once the last panel (the logo) is at the top, the
// cat runs to the middle and keeps jumping. A press of accept or jump doubles the scroll for that frame;
// back returns to the title at any moment.
//
// The toolkit's update() and the decorations' per-frame update are deliberately not called: the panels
// are placed directly and the sky, birds and clouds stand still.

#include <memory>

#include "core/scene.h"

namespace buttonGUI
{
class button;
}
namespace Ogre
{
class SceneNode;
}
class AnimationBlender;

class EndScene : public Scene
{
  public:
    EndScene();
    ~EndScene() override;

    void load() override;
    void unload() override;
    void update(double frameTime, InputState* input) override;

    // For the tests.
    float clock() const { return mClock; }
    bool creditsDone() const { return mCreditsDone; }
    float creditsOffset() const { return mCreditsOffset; }
    int catDirection() const { return mCatDirection; }
    const Ogre::SceneNode* catNode() const { return mCatNode; }
    const AnimationBlender& catBlender() const { return *mCatBlender; }
    buttonGUI::button* creditsPanel(int index) const { return mCredits[index]; }

  private:
    void loadTableau();
    void loadCredits();
    void steerCat(float dt);
    void animate();
    void scrollCredits(float dt, bool fast);

    float mClock = 0; // seconds since load
    Ogre::SceneNode* mBear1Node = nullptr;
    Ogre::SceneNode* mBear2Node = nullptr;
    Ogre::SceneNode* mCatNode = nullptr;
    std::unique_ptr<AnimationBlender> mBear2Blender;
    std::unique_ptr<AnimationBlender> mBear1Blender;
    std::unique_ptr<AnimationBlender> mCatBlender;
    buttonGUI::button* mCredits[4] = {nullptr, nullptr, nullptr, nullptr};
    float mPauseTimer = 0;     // seconds the cat still stays with a bear
    int mCatDirection = 0;     // +1 running towards +z, -1 towards -z, 0 standing
    float mCreditsOffset = 30; // pixels scrolled
    bool mCreditsDone = false;
};
