#pragma once

// The one physics world and the conventions every world object follows in it.
//
// Units: physics x and y are scene x and y, one to one, y up; scene z is depth and never simulated.
// Angles inside the world are radians, counter-clockwise; level files and the tilt speak degrees.
// The world belongs to the application (thePhysicsWorld) from start-up to shut-down and is shared by all
// scenes, so a scene destroys every body it made before it unloads. Only the main scene steps it, once
// per frame, after every world object has been updated; a scene node therefore shows the state of the
// previous frame's step. Main thread only; no listeners or contact filters are installed.
//
// Each object builds its bodies from Box2D's default definitions, changing only what it needs; every
// colliding body has exactly one fixture; user data is never set (objects keep their own body pointers).
// Contacts are found by walking a body's contact list, never through callbacks.
//
// Box2D 2.4 against the older calls the game was first written for, all kept to the old behaviour:
//   b2World(gravity, doSleep)       -> b2World(gravity) then SetAllowSleeping(doSleep)      (createWorld)
//   b2BodyDef::active               -> b2BodyDef::enabled
//   b2Body::SetActive / IsActive    -> SetEnabled / IsEnabled                         (setActive, isActive)
//   b2Body::ApplyForce(f, p)        -> ApplyForce(f, p, true): the old call always woke the body
//   b2WeldJointDef (always rigid)   -> stiffness 0, the default, keeps it rigid                (weldBodies)
//   void* user data                 -> b2BodyUserData / b2FixtureUserData; unused here
//   global restitution threshold    -> b2FixtureDef::restitutionThreshold, default 1 unit/s as before
//   dynamic body of density 0: mass 1 -> mass 0, which the solver treats as immovable; addCircle and
//                                         addBox give such a body mass 1 again
// Unchanged: Step, CreateBody, DestroyBody, CreateJoint, CreateFixture, SetTransform, Set/GetLinearVelocity
// and Set/GetAngularVelocity (setting a non-zero value wakes the body), GetPosition, GetAngle,
// GetContactList with b2ContactEdge::next, b2Contact::IsTouching, GetFixtureA/B, SetFilterData,
// b2PolygonShape::SetAsBox, b2CircleShape, b2RevoluteJointDef::Initialize, b2WeldJointDef::Initialize.

#include <cstdint>

#include <box2d/box2d.h>

namespace Ogre
{
class SceneNode;
}

namespace physics
{

// Units per second squared.
constexpr float gravityY = -70.0f;
constexpr int velocityIterations = 6;
constexpr int positionIterations = 2;

// The world with gravity (0, gravityY) and sleeping allowed. The caller owns it (the application).
b2World* createWorld();

// One step of frameTime seconds (already clamped to at most 0.04 by the frame loop): no fixed step, no
// sub-stepping.
void step(b2World& world, float frameTime);

// Surface values of a fixture; Box2D's own defaults are density 0, friction 0.2, restitution 0.
struct FixtureMaterial
{
    float density = 0.0f;
    float friction = 0.2f;
    float restitution = 0.0f;
};

// The body's only fixture: a circle of radius (units) centred on the body, or a box of the given
// half-extents centred on the body. The body owns the fixture. A dynamic body left without mass (density 0)
// gets a mass of 1 and no rotational inertia.
b2Fixture* addCircle(b2Body& body, float radius, const FixtureMaterial& material);
b2Fixture* addBox(b2Body& body, float halfWidth, float halfHeight, const FixtureMaterial& material);

// Collision filters. Everything but the players keeps Box2D's default (category 1, mask 0xFFFF, group 0).
// Players share the negative group, so the two players never collide with each other and a player's feet
// never collide with its own torso, while the mask still accepts everything of category 1.
constexpr std::uint16_t worldCategory = 0x0001;
constexpr std::uint16_t playerMask = 0x00FF;
constexpr std::int16_t playerGroup = -2;
b2Filter playerFilter();
// A struck player falls through everything until it respawns.
b2Filter knockedOutFilter();
// Applies filter to every fixture of body.
void setFilter(b2Body& body, const b2Filter& filter);

// A revolute joint at anchor (world units): no limit, no motor, the two bodies do not collide.
// The world owns the joint; destroying either body destroys it.
b2Joint* pinBodies(b2World& world, b2Body& bodyA, b2Body& bodyB, const b2Vec2& anchor);
// A rigid weld at anchor (world units). The world owns the joint.
b2Joint* weldBodies(b2World& world, b2Body& bodyA, b2Body& bodyB, const b2Vec2& anchor);

// A deactivated body keeps its place in memory but takes no part in the simulation and has no contacts.
inline void setActive(b2Body& body, bool active)
{
    body.SetEnabled(active);
}
inline bool isActive(const b2Body& body)
{
    return body.IsEnabled();
}
// Force in mass x units / s^2 at a world point; always wakes the body.
inline void applyForce(b2Body& body, const b2Vec2& force, const b2Vec2& point)
{
    body.ApplyForce(force, point, true);
}

// True if any contact left on body by the last step is touching, whatever the other body is.
bool touchesAnything(const b2Body& body);
// True if a touching contact of body has other as its other body.
bool touches(const b2Body& body, const b2Body& other);

// Places node at (body x + offsetX, body y + offsetY, z); the node's orientation is left alone.
void follow(Ogre::SceneNode& node, const b2Body& body, float offsetX, float offsetY, float z);
// As follow, and turns node to a roll about the scene z axis by the body's angle.
void followWithRoll(Ogre::SceneNode& node, const b2Body& body, float offsetX, float offsetY, float z);

// Level files give degrees; the world wants radians.
float degreesToRadians(float degrees);

} // namespace physics
