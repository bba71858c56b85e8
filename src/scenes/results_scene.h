#pragma once

// After the last level. One player: the best-times panel, read again from the file, so it holds the run
// just entered, with a "NOT SAVED" sign under it when saving that run failed. Two players: the count of
// levels each won and the leader's banner over a small stage on which both bears stand, the leader
// cheering and the other sulking, with butterflies, a tree and the cat; both players can still run and
// jump there. Birds and clouds drift over the sky in both cases. Back leaves for the credits.

#include <memory>
#include <string>
#include <vector>

#include <OgreVector.h>

#include "core/scene.h"

namespace buttonGUI
{
class button;
}
class Cat;
class Player;
class ScoreTable;

class ResultsScene : public Scene
{
  public:
    // winsPlayer1/2: levels each player won in the whole game. scoreTable: the main scene's entry-mode
    // table or null; owned from here on and replaced at load by a display-mode table.
    ResultsScene(int playerCount, int winsPlayer1, int winsPlayer2, ScoreTable* scoreTable);
    ~ResultsScene() override;

    void load() override;
    void unload() override;
    void update(double frameTime, InputState* input) override;

    // The material of a win count's tens (tens true) or units cell; counts are shown clamped to 0..99.
    static std::string digitMaterial(int wins, bool tens);

    // For the tests.
    int winner() const { return mWinner; }
    int playerCount() const { return mPlayerCount; }
    buttonGUI::button* panel() const { return mPanel; }
    const ScoreTable* scoreTable() const { return mScoreTable.get(); }
    Player* player(int number) const { return number == 1 ? mPlayer1 : mPlayer2; }
    Cat* cat() const { return mCat; }

  private:
    void buildPanel();
    void placeCameraAndLights();
    void buildStage();

    int mPlayerCount;
    int mWinner = 1;
    int mWinsPlayer1;
    int mWinsPlayer2;
    buttonGUI::button* mPanel = nullptr;
    Player* mPlayer1 = nullptr;
    Player* mPlayer2 = nullptr;
    // A decoration: owned by the decoration registry.
    Cat* mCat = nullptr;
    std::unique_ptr<ScoreTable> mScoreTable;
    // The positions handed to the decorations each frame, kept to avoid allocating.
    std::vector<Ogre::Vector3> mDecorPositions;
};
