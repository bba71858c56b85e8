#pragma once

// The scene in which the levels are played, by one player or two at once.
//
// It builds the heads-up display and the pause menu, reads the level, and then runs the game frame by
// frame: the "GO" sign, the clock, checkpoints, falls and lives, the goal, the winner's jingle, the camera
// that frames both players, the planks the players tilt, the meteors and one physics step. A won level is
// followed by the next one in place (the same scene object, so the clock and the win counts carry on);
// after the last one a one-player game goes to the name entry of the best-times table, and the game then
// to the results.
//
// A game first checks every level of its chain (each file exists and is read without error). A level the
// game cannot read sends the player back to the title, which shows "Error reading map data!"; the scene then
// builds nothing more and ignores its updates until the loop takes it down.
//
// Update order within a frame: toolkit events, pause menu, decorations, "GO" sign, clock, checkpoints,
// players (falls, lives, goal), then the frame of play (runPlayFrame: steering, platforms, enemies,
// physics step), then the camera. Everything a level
// made lives in the family registries and dies at unload; nothing keeps a pointer to it across a reload.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <OgreVector.h>

#include "audio/sound_effect.h"
#include "core/scene.h"
#include "scenes/hud_clock.h"

namespace buttonGUI
{
class button;
}
class Boss;
class Cat;
class InputState;
struct LevelProblem;
class Player;
class ScoreTable;

class MainScene : public Scene
{
  public:
    // levelFile: the level's file name ("mapa1.imf"); numPlayers: 1 or 2 for the whole game.
    MainScene(const std::string& levelFile, int numPlayers);
    ~MainScene() override;

    void load() override;
    void unload() override;
    void update(double frameTime, InputState* input) override;

    // Reads the level file and builds its players, objects, goal cat, sky, birds and clouds, and places the
    // camera. Throws LevelError on a file that no resource location holds or that the reader refuses.
    void loadLevel(const std::string& fileName, int players);
    // The text of a level file from the game's resource locations; nothing when none holds it.
    static std::optional<std::string> readLevelResource(const std::string& fileName);

    // For the replay harness and the tests.
    const std::string& levelFile() const { return mLevelFile; }
    const std::string& nextLevel() const { return mNextLevel; }
    int numPlayers() const { return mNumPlayers; }
    int winner() const { return mWinner; }
    int lives() const { return mLives; }
    // A level of the game could not be read: the scene has named the title as its successor.
    bool levelRefused() const { return mLevelRefused; }
    int winsP1() const { return mWinsP1; }
    int winsP2() const { return mWinsP2; }
    float levelTime() const { return mLevelTime; }
    bool paused() const;
    bool goSignUp() const;
    // Player 1 or 2; null for a player the game does not have.
    Player* player(int number) const { return mPlayers[number - 1]; }
    Cat* goalCat() const { return mGoalCat; }
    // The boss of a boss level; null otherwise and after unload.
    Boss* boss() const { return mBoss; }
    const HudClock& clock() const { return mClock; }
    // The name entry after a one-player game's last level; null before it.
    const ScoreTable* scoreTable() const { return mScoreTable; }

  private:
    // Everything load() builds; throws the level error as loadLevel does.
    void build();
    // Logs why the level was refused and hands over to the title, which shows the message.
    void refuseLevel(const LevelProblem& problem);
    void buildDisplay();
    void placeCamera();
    void loadSounds();
    void startFromTheSameState();

    void handleToolkitEvents();
    void runPauseMenu(InputState& input);
    void handleBack(InputState& input);
    void updateDecorations(double dt);
    void updateCheckpoints(double dt);
    // Falls, lives and the goal for one player; false when the scene has handed over (the rest of the frame
    // is off).
    bool judgePlayer(int number, double dt, InputState& input);
    bool reachGoal(int number, double dt, InputState& input);
    bool endLevel(int number);
    // One-player game over: starts the name entry; false when the frame must stop.
    bool startNameEntry(int number);
    void showLives();
    // The players' moves, the planks, the meteors and the physics step, and the rumble of a log taken.
    void play(float dt, InputState& input);
    void followPlayers(double dt);

    std::string mLevelFile;
    std::string mNextLevel;
    int mNumPlayers;
    // Whether the game's chain of levels has been read whole; once per game, before its first level.
    bool mChainChecked = false;
    bool mLevelRefused = false;
    int mWinner = 0;
    int mLives = 5;
    int mWinsP1 = 0;
    int mWinsP2 = 0;
    bool mDeathPending = false;
    float mStartX = 0, mStartY = 0, mGoalX = 0, mGoalY = 0;
    float mCameraYOffset = 0;
    float mCameraMargin = 60;
    buttonGUI::button* mPauseWindow = nullptr;
    buttonGUI::button* mGoWindow = nullptr;
    buttonGUI::button* mHudWindow = nullptr;
    buttonGUI::button* mLivesDigit = nullptr;
    SoundEffect mDeathSound;
    SoundEffect* mCurrentWinSound = nullptr;
    std::unique_ptr<SoundEffect> mWinSounds[2];
    std::unique_ptr<SoundEffect> mSilentSound;
    Player* mPlayers[2] = {nullptr, nullptr};
    Cat* mGoalCat = nullptr;
    // Owned by the Enemic registry.
    Boss* mBoss = nullptr;
    float mGoTimer = 0;
    float mLevelTime = 0;
    HudClock mClock;
    // Bounds of the players' positions this frame, for the camera.
    Ogre::Vector3 mPlayerMin;
    Ogre::Vector3 mPlayerMax;
    // Scene positions of the players, refilled every frame without allocating.
    std::vector<Ogre::Vector3> mPlayerPositions;
    // Owned until it is handed to the results scene; survives reloads of the level.
    ScoreTable* mScoreTable = nullptr;
};
