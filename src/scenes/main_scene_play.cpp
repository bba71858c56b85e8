// The players' part of the main scene's frame: falls and lives, the goal and the end of a level; then the
// frame of play (steering, the planks they stand on, the meteors, the physics step) and the camera that
// frames them.

#include <algorithm>
#include <array>

#include <Ogre.h>

#include "core/access_points.h"
#include "core/camera_rig.h"
#include "decor/cat.h"
#include "gui/button.h"
#include "gui/button_manager.h"
#include "input/input_state.h"
#include "scenes/level_chain.h"
#include "scenes/main_scene.h"
#include "scenes/results_scene.h"
#include "scenes/score_table.h"
#include "world/boss.h"
#include "world/play_frame.h"
#include "world/player.h"

using buttonGUI::position;

namespace
{
constexpr float fallHeight = -10.0f;
constexpr double respawnDelaySeconds = 1.2;
constexpr float goalHalfWidth = 3.0f;
constexpr float goalStandDepth = 0.35f;
constexpr unsigned fadeMs = 300;
constexpr double rumbleSeconds = 0.15;
} // namespace

bool MainScene::judgePlayer(int number, double dt, InputState& input)
{
    Player& player = *mPlayers[number - 1];
    const Ogre::Vector3 p = player.pivotNode->getPosition();
    if (p.y < fallHeight)
    {
        mDeathPending = true;
        if (!player.respawnCountdown)
        {
            player.respawnCountdown = respawnDelaySeconds;
            mDeathSound.play();
        }
    }
    else
    {
        if (mDeathPending && mNumPlayers == 1)
        {
            --mLives;
            mDeathPending = false;
            showLives();
            if (mLives == 0 && !next)
                next = new MainScene(mLevelFile, mNumPlayers);
        }
        const bool reached = (mGoalCat && std::abs(p.x - mGoalCat->position().x) < goalHalfWidth &&
                              p.y > mGoalY - goalStandDepth) ||
                             (mBoss && mBoss->defeated);
        if (reached && !reachGoal(number, dt, input))
            return false;
    }
    mPlayerMin.makeFloor(p);
    mPlayerMax.makeCeil(p);
    return true;
}

void MainScene::showLives()
{
    if (mLivesDigit)
        mLivesDigit->setMaterial(HudClock::materialFor(static_cast<char>('0' + std::max(0, mLives))));
}

// Player `number` stands at the goal. False when the scene has handed over or loaded the next level in
// place: the rest of the frame must not run, since it would reach objects of the level that is gone.
// The win starts once, with the first player there. A jingle that gets no source (no sound device, or
// every source busy) counts as over at once, so the level still ends.
bool MainScene::reachGoal(int number, double dt, InputState& input)
{
    if (mWinner == 0)
    {
        mWinner = number;
        buttonGUI::buttonManager& gui = *theButtonManager;
        gui.createWindow("congrats", "textCongrats", 0, 0, 0, false, true,
                         position(buttonGUI::CENTER, 0, -150))
            ->show(true, fadeMs);
        if (mNumPlayers == 2)
            gui.createWindow("careta", number == 1 ? "cara1" : "cara2", 0, 0, 0, false, true,
                             position(buttonGUI::CENTER, 0, -50))
                ->show(true, fadeMs);
        mCurrentWinSound = mWinSounds[number - 1].get();
        if (mCurrentWinSound->source() == 0)
            mCurrentWinSound->acquireSource();
        mCurrentWinSound->play();
        if (mGoalCat)
        {
            mGoalCat->celebrating = true;
            mGoalCat->target = mPlayers[number - 1]->pivotNode->getPosition();
        }
        for (int j = 1; j <= mNumPlayers; ++j)
            mPlayers[j - 1]->finish(j == number);
        return true;
    }
    if (!mCurrentWinSound->isPlaying() && (!mScoreTable || mScoreTable->finished) && !endLevel(number))
        return false;
    if (mScoreTable)
        mScoreTable->update(dt, &input);
    return true;
}

// The jingle is over: the next level in place, or the end of the game. False when the frame must stop.
bool MainScene::endLevel(int number)
{
    mNextLevel = levelAfter(mNextLevel, mNumPlayers);
    if (mNextLevel == endOfGame)
    {
        if (mNumPlayers == 1 && !mScoreTable)
            return startNameEntry(number);
        if (!next)
        {
            next = new ResultsScene(mNumPlayers, mWinsP1 + (mWinner == 1), mWinsP2 + (mWinner == 2),
                                    mScoreTable);
            mScoreTable = nullptr;
        }
        return false;
    }
    mWinsP1 += mWinner == 1;
    mWinsP2 += mWinner == 2;
    mLevelFile = mNextLevel;
    unload();
    load();
    return false;
}

bool MainScene::startNameEntry(int number)
{
    buttonGUI::buttonManager& gui = *theButtonManager;
    buttonGUI::button* entry =
        gui.createWindow("classficador", "butTime", 0, 0, 0, false, true, position(buttonGUI::CENTER, 0, 0));
    mScoreTable = new ScoreTable(entry, number, static_cast<double>(mLevelTime));
    if (!mScoreTable->finished)
        gui.createWindow("record", "textRecord", 0, 0, 0, false, true, position(buttonGUI::CENTER, 0, -150))
            ->show(true, fadeMs);
    return false;
}

void MainScene::play(float dt, InputState& input)
{
    std::array<PlayerTurn, 2> turns;
    for (int number = 1; number <= mNumPlayers; ++number)
    {
        Player* player = mPlayers[number - 1];
        turns[static_cast<std::size_t>(number - 1)] = {
            player, player->feetBody(),
            int(input.isDown(number, action::moveRight)) - int(input.isDown(number, action::moveLeft)),
            input.isDown(number, action::jump), input.tilt(number)};
    }
    const PlayFrameOutcome outcome = runPlayFrame(*thePhysicsWorld, turns, dt);
    for (int number = 1; number <= mNumPlayers; ++number)
        if (outcome.tookLog[static_cast<std::size_t>(number - 1)])
            input.rumble(number, rumbleSeconds);
}

// An orthographic camera that keeps every player in view, easing its width and position towards the
// players' bounds; its bottom edge never goes below y = -7.
void MainScene::followPlayers(double dt)
{
    const float spanX = mPlayerMax.x - mPlayerMin.x;
    const float spanY = mPlayerMax.y - mPlayerMin.y;
    const float width0 = theCamera->getOrthoWindowWidth();
    const float ratio = width0 / theCamera->getOrthoWindowHeight();
    const float needed = spanY > 0 && ratio > spanX / spanY ? ratio * spanY : spanX;
    const float wanted = std::max(needed + mCameraMargin, mCameraMargin + 66);
    theCamera->setOrthoWindowWidth(width0 + (wanted - width0) * 2 * static_cast<float>(dt));

    const float targetX = (mPlayerMax.x + mPlayerMin.x) * 0.5f;
    const float targetY = (mPlayerMax.y + mPlayerMin.y) / 1.8f;
    Ogre::SceneNode& node = cameraNode();
    Ogre::Vector3 c = node.getPosition();
    c.x += (targetX - c.x) * 2 * static_cast<float>(dt);
    c.y += (targetY + mCameraYOffset - c.y) * 6 * static_cast<float>(dt);
    const float lowest = theCamera->getOrthoWindowHeight() * 0.5f - 7;
    c.y = std::max(c.y, lowest);
    node.setPosition(c);
}
