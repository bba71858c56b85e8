#pragma once

#include <memory>

#include <Ogre.h>

#include "world/enemic.h"

class AnimationBlender;
class BadBall;
class PhysBadBall;

// The octopus of the last level. It patrols a stretch of the level in the plane z = 40 and throws meteors
// at the players from four launchers that ride on its node (two ballistic, two physical); the launchers
// are enemies of their own in the registry and are deleted with the family, never by the boss. Touching
// the boss is harmless: only one of its own physical meteors falling onto its head hurts it. Each hit
// costs a hit point and starts a 3 s flinch in which it blinks and cannot be hit; the first two hits
// knock off its hat and then its monocle. It attacks faster as it weakens. After the last hit it sinks
// for 6.5 s, then hides and raises `defeated`. Its scene nodes and entities belong to the scene manager
// and go when the scene is cleared.
class Boss : public Enemic
{
  public:
    // position: the node's start (world units, the level gives z 40); hitPoints at least 1; speed in
    // units/s; range: half-width of the patrol around position.x. Needs theSceneManager, the boss media
    // and thePhysicsWorld (for the physical launchers).
    Boss(const Ogre::Vector3& position, int hitPoints, double speed, double range);
    ~Boss() override;
    Boss(const Boss&) = delete;
    Boss& operator=(const Boss&) = delete;

    // Once per frame before the physics step; dt in seconds.
    void update(float dt) override;
    // Always false: the boss never hurts a player by touch.
    bool hitsSphere(Ogre::Sphere sphere) override;
    bool hitsBox(Ogre::AxisAlignedBox box) override;

    struct Tentacle
    {
        Ogre::SceneNode* node;
        Ogre::Entity* entity;
        Ogre::AnimationState* animation;
    };

    Ogre::Vector3 startPosition;
    // Units per second.
    double speed;
    // Half-width of the patrol, units.
    double range;
    // Alive: seconds left of the flinch (below 0 when not flinching). Dying: the death clock, from 0.5.
    double hurtTimer = 0.0;
    // +1 towards +x, -1 towards -x.
    int direction = 1;
    int hitPoints;
    int maxHitPoints;
    Ogre::SceneNode* node = nullptr;
    // Set once the death has run its course; the main scene then ends the level.
    bool defeated = false;
    Ogre::Entity* body = nullptr;
    Ogre::Entity* bowTie = nullptr;
    Ogre::Entity* hat = nullptr;
    Ogre::Entity* monocle = nullptr;
    // Owned; released with the boss.
    std::unique_ptr<AnimationBlender> bodyBlender;
    std::unique_ptr<AnimationBlender> bowTieBlender;
    std::unique_ptr<AnimationBlender> hatBlender;
    std::unique_ptr<AnimationBlender> monocleBlender;
    // Not owned: members of the Enemic registry.
    BadBall* badBallLeft = nullptr;
    PhysBadBall* physBallLeft = nullptr;
    BadBall* badBallRight = nullptr;
    PhysBadBall* physBallRight = nullptr;
    // Seconds since the last launch.
    double attackTimer = 0.0;
    // Pairs of ballistic launches since the last pair of physical ones.
    int volleyCounter = 0;
    bool throwLeft = true;
    Tentacle tentacles[8] = {};

  private:
    enum class Look
    {
        Normal,
        Ouch,
        Ouch2
    };
    void updateAlive(float dt);
    void updateDying(float dt);
    void takeHit();
    void attack(float dt);
    // Swaps the body's material only when the look changes, so a steady look costs nothing per frame.
    void showLook(Look look);

    Look mLook = Look::Normal;
    Ogre::MaterialPtr mNormalMaterial;
    Ogre::MaterialPtr mOuchMaterial;
    Ogre::MaterialPtr mOuch2Material;
};
