#pragma once

// A post that moves a player's respawn point when the player walks past it. It carries two hidden
// balloons; the first player to arrive releases the first, the second player the second, each balloon
// painted in the colour of the player who released it. Checkpoints have no physics body: the main scene
// measures the distance and calls take() (or activate()) itself, and calls update() every frame.
// Lives in ManagedClass<Checkpoint*> from construction to destruction; deleted as a Checkpoint*.
// The engine objects belong to the scene manager and go with the scene's clean-up.

#include <OgreVector.h>

#include "world/managed_class.h"

namespace Ogre
{
class AnimationState;
class Entity;
class SceneNode;
} // namespace Ogre
class Player;

class Checkpoint : public ManagedClass<Checkpoint*>
{
  public:
    struct Balloon
    {
        // The animation playing ("repos" before the balloon is released, not enabled).
        Ogre::AnimationState* state = nullptr;
        // Hidden with its children until the balloon is released.
        Ogre::SceneNode* node = nullptr;
        Ogre::Entity* entity = nullptr;
        // Number of the player who released the balloon; 0 while the slot is free.
        int owner = 0;
    };

    // A player's pivot closer than this (world units, in the x-y plane) takes the checkpoint.
    static constexpr float reachDistance = 6.0f;
    // The respawn point stands this far above the checkpoint, so the player drops onto it.
    static constexpr float respawnHeight = 15.0f;

    // position: the post's base; the level loader passes (x, y, 0).
    explicit Checkpoint(const Ogre::Vector3& position);

    // Releases the first free balloon for player (1 or 2), once per player; does nothing when the
    // player already owns a balloon here or both are taken.
    void activate(int player);
    // Advances both released balloons by dt seconds; a balloon that has popped out goes on to idle.
    static void update(Checkpoint* checkpoint, double dt);

    // True when the player owns a balloon here.
    bool isTakenBy(int player) const;
    // True when pivot (the player's pivot position) lies within reach, measured in the x-y plane.
    bool isWithinReach(const Ogre::Vector3& pivot) const;
    // Where a player who took this checkpoint comes back.
    Ogre::Vector3 respawnPoint() const;
    // The main scene's per-frame test for one player: when the player is within reach and has not taken
    // this checkpoint yet, releases its balloon, moves its respawn point and plays its checkpoint sound.
    // Returns true on that frame only.
    bool take(Player& player);

    Ogre::SceneNode* node = nullptr;
    Ogre::Entity* postEntity = nullptr;
    Balloon balloons[2];

  private:
    static void play(Balloon& balloon, const char* animation, bool loop);
};
