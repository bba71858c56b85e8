#pragma once

// One bear: an animated mesh on two bodies, a circle for the feet and a box for the torso, pinned
// together at the feet's centre. The scene that makes a player owns it and deletes it before it unloads;
// nobody keeps a pointer to it beyond that.
//
// Movement mixes driving the feet like a wheel (angular velocity against a friction of 9999, so the
// circle rolls along whatever it stands on) with direct changes of the feet's linear velocity for jumps
// and air control. Each frame update() runs before the physics step and places the picture where the
// previous step left the feet.
//
// States: playing -> knocked out (struck: control lost, falls through everything) -> waiting (the scene
// set respawnCountdown after the player fell below the level; the picture stays where it was) -> playing
// again at spawnPosition when the countdown runs out. finish() ends control for good.

#include <memory>
#include <optional>

#include <OgreVector.h>

#include "audio/sound_effect.h"

namespace Ogre
{
class Entity;
class SceneNode;
} // namespace Ogre
class AnimationBlender;
class b2Body;
struct b2Filter;

class Player
{
  public:
    // Vertical speed of a jump, units per second: about 16 units high under the world's gravity of 70.
    static constexpr float jumpSpeed = 48.0f;
    // Extra downward acceleration while rising with the jump button released (units/s^2).
    static constexpr float shortJumpBrake = 240.0f;
    // After leaving the ground the player may still jump for this long (s).
    static constexpr double groundGraceSeconds = 0.1;
    // Least time between two jumps (s).
    static constexpr double jumpRepeatSeconds = 0.15;
    // Air control pushes |vx| up to this (units/s) and no further.
    static constexpr float airSpeedLimit = 15.0f;
    static constexpr float airAcceleration = 100.0f;
    // The feet spin at most this fast (rad/s): 20 units/s on the ground with their radius of 2.
    static constexpr float wheelSpeedLimit = 10.0f;
    static constexpr float wheelAcceleration = 100.0f;

    // Builds the bear standing with its feet's centre at (x, y); z is only the first picture's depth
    // (the pivot stands at z = -10 x playerNumber once updated). playerNumber 1 or 2: player 2 wears the
    // panda coat and its own sounds. Needs theSceneManager and thePhysicsWorld.
    Player(float x, float y, float z, int playerNumber);
    // Destroys the two bodies and gives the sound sources back; the entity and the nodes go with the
    // scene manager's clean-up.
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Once per frame, before the physics step. dt: frame time in seconds. direction: +1 right on screen
    // (towards -x), -1 left (towards +x), 0 none. jumpHeld: the jump button is held down.
    void update(float dt, int direction, bool jumpHeld);
    // Ends control for this player: cheers when won, sulks otherwise.
    void finish(bool won);

    int playerNumber() const { return mPlayerNumber; }
    bool isKnockedOut() const { return mKnockedOut; }
    bool isFinished() const { return mFinished; }
    b2Body* feetBody() const { return mFeetBody; }
    b2Body* torsoBody() const { return mTorsoBody; }
    Ogre::Entity* entity() const { return mEntity; }
    Ogre::SceneNode* meshNode() const { return mMeshNode; }
    const AnimationBlender& blender() const { return *mBlender; }

    // Followed by the camera; its position decides falls and checkpoints.
    Ogre::SceneNode* pivotNode = nullptr;
    // Where the player comes back; moved by checkpoints.
    Ogre::Vector3 spawnPosition;
    // Played by the scene when the player takes a checkpoint.
    SoundEffect checkpointSound;
    // Seconds until the player comes back at spawnPosition; set by the scene once the player has fallen
    // out of the level, absent otherwise.
    std::optional<double> respawnCountdown;

  private:
    void loadSounds();
    void buildBodies(float x, float y);
    // Jump, air control, wheel drive and the animation that goes with them.
    void steer(float dt, int direction, bool jumpHeld);
    void testEnemies();
    // Counts the respawn countdown down; true while the player must keep waiting.
    bool waitForRespawn(float dt);
    void setFilter(const b2Filter& filter);

    Ogre::Entity* mEntity = nullptr;
    // Scaled, lowered and turned to face the walking direction; child of pivotNode.
    Ogre::SceneNode* mMeshNode = nullptr;
    // The walking direction the mesh faces (+1 or -1). The node is turned only when it changes: every turn
    // costs the engine's scene graph some bookkeeping, even to the same orientation.
    int mFacing = 1;
    b2Body* mTorsoBody = nullptr;
    b2Body* mFeetBody = nullptr;
    SoundEffect mJumpSound;
    SoundEffect mHurtSound;
    // Seconds the player still counts as standing; renewed on every frame with a touching feet contact.
    double mGroundTimer = 0.0;
    // Seconds until the next jump is allowed, counted down below 0.
    double mJumpTimer = 0.0;
    bool mKnockedOut = false;
    bool mFinished = false;
    int mPlayerNumber;
    std::unique_ptr<AnimationBlender> mBlender;
};
