#pragma once

// The title: two bears and the cat running on a rolling planet, the logo and a blinking "press" plate.
// Accept opens the menu, which rises from the bottom while the logo and the 3D picture rise out of view:
// one player, two players, the best-times panel, the credits and exit. A player button swaps the main
// buttons for the four level buttons; a level button starts the game.
//
// The menu is driven on selection indices that follow the creation order of its window and buttons: 0
// "fons", 1-5 the main buttons, 6 the score panel, 7-10 the levels. The menu is made on the accept that
// opens it, so that its pictures (about 5 MiB of textures) are neither loaded before the title's first
// frame nor held while the title waits; the "press" and "logo" plates and a notice (a game that could not
// start) are made before it and never take part in the navigation. The toolkit's own selection index is
// the menu's plus the number of windows made before the menu.
// Every pointer below lives from load() (the menu's from its opening) to unload().

#include <memory>
#include <string>
#include <vector>

#include "core/scene.h"

namespace buttonGUI
{
class button;
}
namespace Ogre
{
class AnimationState;
class Entity;
class SceneNode;
} // namespace Ogre
class AnimationBlender;
class ScoreTable;

class IntroScene : public Scene
{
  public:
    enum class MenuMove
    {
        none,
        right,
        left,
        up,
        down
    };

    // What the title tells the player on arrival, for a few seconds.
    enum class Notice
    {
        none,
        // The game just chosen could not start: one of its level files is missing or unreadable.
        levelRefused
    };

    explicit IntroScene(Notice notice = Notice::none);
    ~IntroScene() override;

    void load() override;
    void unload() override;
    void update(double frameTime, InputState* input) override;

    // The selection index a menu direction leads to from `index` (see the file comment for the indices).
    static int navigate(int index, MenuMove move);
    // The level file a level button ("level1" to "level4") starts; empty for any other name.
    static std::string levelFileFor(const std::string& buttonName);
    // The media files the title's first frame loads, for the start of the game to unpack ahead
    // (platform/media_prefetch.h): the figures' meshes, skeletons and textures, the logo, the press plate
    // and the sky of a 4:3 picture (a wider one loads its own sky as usual).
    static std::vector<std::string> firstFrameMedia();

    // For the tests.
    int playerCount() const { return mPlayerCount; }
    const ScoreTable* scoreTable() const { return mScoreTable.get(); }
    // Null until the menu is first opened.
    buttonGUI::button* menu() const { return mMenu; }
    // The selected entry and selecting one, on the menu's indices (see the file comment).
    int menuSelection() const;
    void selectMenuEntry(int index);
    // The notice's window; null when the title was opened without one.
    buttonGUI::button* notice() const { return mNoticeWindow; }

  private:
    void loadWindows();
    void createMenu();
    void loadTableau();
    void animate(double frameTime);
    void handleMenuEvents();
    void pressed(const std::string& buttonName);
    void showMainButtons(bool shown);
    void slideMenu(double frameTime);
    void showNotice();
    void updateNotice(double frameTime);
    // Names the successor; a successor named earlier in the same frame is not yet the loop's, so it is
    // deleted here rather than leaked.
    void replaceNext(Scene* successor);

    Notice mNotice;
    buttonGUI::button* mNoticeWindow = nullptr;
    double mNoticeLeft = 0; // seconds until the notice fades
    buttonGUI::button* mMenu = nullptr;
    int mMenuBase = 0; // the toolkit's selection index of the menu's window
    buttonGUI::button* mPressPlate = nullptr;
    buttonGUI::button* mLogoPlate = nullptr;
    Ogre::SceneNode* mIntroNode = nullptr;
    Ogre::Entity* mBear1 = nullptr;
    std::unique_ptr<AnimationBlender> mBear1Blender;
    Ogre::Entity* mBear2 = nullptr;
    std::unique_ptr<AnimationBlender> mBear2Blender;
    Ogre::Entity* mCat = nullptr;
    std::unique_ptr<AnimationBlender> mCatBlender;
    Ogre::Entity* mPlanet = nullptr;
    Ogre::AnimationState* mPlanetRoll = nullptr;
    double mFallClock = 0; // seconds since the bears last started to fall or swapped costumes
    double mTotalTime = 0; // seconds since load
    bool mTexturesSwapped = false;
    signed char mPlayerCount = 0;
    // Built on the first press of the scores button, so the panel shows the file as it was then.
    std::unique_ptr<ScoreTable> mScoreTable;
};
