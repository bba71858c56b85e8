#pragma once

// One frame of play, in the order the game runs it; every caller that plays the world (the main scene,
// the world tests, tools that replay routes) goes through here, so that they all play the same game:
//   1. each player steers its bear, from the contacts and the pose the last step left;
//   2. each platform asks player 1, then player 2, whether they stand on it, and turns or slides by the
//      tilt of the one who does;
//   3. every enemy moves its meteors;
//   4. the world steps once by the frame time (physics::step).
// The main scene takes the checkpoints, falls, lives and the goal before it, and moves the camera after.

#include <array>

class Player;
class b2Body;
class b2World;

// What one player does in a frame.
struct PlayerTurn
{
    // The bear to steer; null when the caller moves a stand-in body of its own (or there is no player).
    Player* player = nullptr;
    // The feet the platforms look for: the bear's own, or the stand-in's; null for no player.
    b2Body* feet = nullptr;
    int direction = 0; // +1 right, -1 left, 0 none
    bool jump = false; // jump held
    float tilt = 0.0f; // degrees within +-35, for the platform the player stands on
};

struct PlayFrameOutcome
{
    // Whether player 1 or 2 took a log this frame that now shows their colour: the main scene rumbles
    // that player's remote.
    std::array<bool, 2> tookLog{false, false};
};

// turns[0] is player 1, turns[1] player 2; dt is the frame time in seconds.
PlayFrameOutcome runPlayFrame(b2World& world, const std::array<PlayerTurn, 2>& turns, float dt);
