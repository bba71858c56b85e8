#pragma once

// Platforms: the planks the players stand on. Each lives in ManagedClass<Platform*> from construction to
// destruction; the main scene updates them every frame and deletes them all when it unloads. Every platform
// is a dynamic Box2D plank welded to an anchor body; the anchor decides how the plank moves (static: never;
// kinematic: turned by the tilt control, carried along a rail). Physics and scene share units one to one in
// the x-y plane, y up.
//
// Frame order, driven by the main scene: checkContact (player 1, then player 2 if player 1 was refused),
// then update with the standing player's tilt, then the world's Step. update therefore reads the contacts
// and the plank pose left by the previous frame's Step, and the node shows that pose.

#include <vector>

#include <box2d/box2d.h>

#include "world/managed_class.h"
#include "world/plank.h"

namespace Ogre
{
class Entity;
class ParticleSystem;
class SceneNode;
} // namespace Ogre

class Platform : public ManagedClass<Platform*>
{
  public:
    // Builds the plank (mesh, node, particles, dynamic body) at (x, y, z), rolled by angleDegrees; the
    // derived class adds and welds the anchor. length is at least minPlankLength (the level reader refuses
    // shorter planks).
    Platform(float x, float y, float z, int length, PlankKind kind, bool particles, float angleDegrees);
    // Destroys the plank and anchor bodies; the scene manager's clean-up takes the engine objects.
    virtual ~Platform();

    // Once per frame before the world's Step. tilt: degrees (within +-35) of the standing player, or 0;
    // player: 1, 2 or 0 for nobody; dt: frame time in seconds.
    virtual void update(float tilt, int player, float dt);

    // Whether playerNumber, whose feet are feetBody, holds this platform. The first player whose feet
    // touch a free platform holds it until 0.5 s pass without a touching contact of those feet; taking it
    // sets off the landing burst in that player's colours. Reads the contacts of the last Step; feetBody is
    // only compared, never kept past the platform's life.
    bool checkContact(b2Body* feetBody, int playerNumber);

    // The platform's own bodies and engine objects, valid while it lives (the bodies die with it, the
    // engine objects with the scene).
    b2Body* plankBody() const { return mPlankBody; }
    b2Body* anchorBody() const { return mAnchorBody; }
    Ogre::SceneNode* node() const { return mNode; }
    Ogre::Entity* entity() const { return mEntity; }
    PlankKind kind() const { return mKind; }

    // Player number whose colour a moving log shows (0 none). The main scene compares it around update to
    // rumble the player who just took a log.
    int colourOwner = 0;

  protected:
    // The pieces rotating and sliding platforms share.
    // Releases the occupant after its grace time and ends the landing burst.
    void beginUpdate(float dt);
    // Turns the anchor so the plank's roll approaches the tilt, at a rate of rotationGain x the error in
    // degrees (the error clamped to +-5), read as radians per second.
    void steerTowardsTilt(float tilt, bool invertTilt, double rotationGain);
    // The node shows the plank's pose left by the last Step.
    void followPlank();
    // The axle picture at the turning point: a child of the plank node that does not inherit its scale,
    // drawn at the physics axle whatever the plank's scale.
    void createAxle(const char* meshName, AxleSide side, int length);
    // With a side the plank's centre sits a quarter of its length from the axle at (x, y), and lies level.
    void offsetPlankBySide(float x, float y, AxleSide side, int length);
    // The log material for player 1, 2 or nobody.
    void tintLog(int player);
    // The kinematic anchor at (x, y), welded to the plank at that point.
    void weldToKinematicAnchor(float x, float y);
    // The plank's roll as its node shows it, in degrees.
    float nodeRollDegrees() const;

    b2Body* mPlankBody = nullptr;
    b2Body* mAnchorBody = nullptr;
    Ogre::Entity* mEntity = nullptr;
    Ogre::SceneNode* mNode = nullptr;
    PlankKind mKind = PlankKind::box;
    // Four systems on log platforms with particles: 0 and 1 at z -10, 2 and 3 at z -15.
    std::vector<Ogre::ParticleSystem*> mParticles;
    double mParticleTimer = 0.0;
    // Whether the sparks were last switched on: they are switched off once, not every frame (a level has
    // hundreds of them, and each switch visits every emitter).
    bool mSparksOn = false;
    // Feet body of the holder; compared, never dereferenced.
    b2Body* mOccupant = nullptr;
    double mOccupancyTimer = 0.0;
};
