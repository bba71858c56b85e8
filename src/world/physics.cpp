#include "world/physics.h"

#include <Ogre.h>

namespace physics
{

b2World* createWorld()
{
    auto* world = new b2World(b2Vec2(0.0f, gravityY));
    world->SetAllowSleeping(true);
    return world;
}

void step(b2World& world, float frameTime)
{
    world.Step(frameTime, velocityIterations, positionIterations);
}

namespace
{
b2Fixture* addFixture(b2Body& body, const b2Shape& shape, const FixtureMaterial& material)
{
    b2FixtureDef def;
    def.shape = &shape;
    def.density = material.density;
    def.friction = material.friction;
    def.restitution = material.restitution;
    b2Fixture* fixture = body.CreateFixture(&def);
    // The older Box2D gave a dynamic body without density a mass of 1; this one leaves it massless, which
    // the solver treats as immovable (a player's torso of density 0 would pin the whole player in place).
    if (body.GetType() == b2_dynamicBody && body.GetMass() <= 0.0f)
    {
        b2MassData unitMass;
        unitMass.mass = 1.0f;
        unitMass.center.SetZero();
        unitMass.I = 0.0f;
        body.SetMassData(&unitMass);
    }
    return fixture;
}
} // namespace

b2Fixture* addCircle(b2Body& body, float radius, const FixtureMaterial& material)
{
    b2CircleShape circle;
    circle.m_radius = radius;
    return addFixture(body, circle, material);
}

b2Fixture* addBox(b2Body& body, float halfWidth, float halfHeight, const FixtureMaterial& material)
{
    b2PolygonShape box;
    box.SetAsBox(halfWidth, halfHeight);
    return addFixture(body, box, material);
}

b2Filter playerFilter()
{
    b2Filter filter;
    filter.categoryBits = worldCategory;
    filter.maskBits = playerMask;
    filter.groupIndex = playerGroup;
    return filter;
}

b2Filter knockedOutFilter()
{
    b2Filter filter = playerFilter();
    filter.maskBits = 0;
    return filter;
}

void setFilter(b2Body& body, const b2Filter& filter)
{
    for (b2Fixture* fixture = body.GetFixtureList(); fixture; fixture = fixture->GetNext())
        fixture->SetFilterData(filter);
}

b2Joint* pinBodies(b2World& world, b2Body& bodyA, b2Body& bodyB, const b2Vec2& anchor)
{
    b2RevoluteJointDef def;
    def.Initialize(&bodyA, &bodyB, anchor);
    return world.CreateJoint(&def);
}

b2Joint* weldBodies(b2World& world, b2Body& bodyA, b2Body& bodyB, const b2Vec2& anchor)
{
    b2WeldJointDef def;
    def.Initialize(&bodyA, &bodyB, anchor);
    def.stiffness = 0.0f;
    def.damping = 0.0f;
    return world.CreateJoint(&def);
}

namespace
{
const b2Body* otherBody(const b2Contact& contact, const b2Body& body)
{
    const b2Body* a = contact.GetFixtureA()->GetBody();
    return a == &body ? contact.GetFixtureB()->GetBody() : a;
}
} // namespace

bool touchesAnything(const b2Body& body)
{
    for (const b2ContactEdge* edge = body.GetContactList(); edge; edge = edge->next)
        if (edge->contact->IsTouching())
            return true;
    return false;
}

bool touches(const b2Body& body, const b2Body& other)
{
    for (const b2ContactEdge* edge = body.GetContactList(); edge; edge = edge->next)
        if (edge->contact->IsTouching() && otherBody(*edge->contact, body) == &other)
            return true;
    return false;
}

void follow(Ogre::SceneNode& node, const b2Body& body, float offsetX, float offsetY, float z)
{
    const b2Vec2& position = body.GetPosition();
    node.setPosition(position.x + offsetX, position.y + offsetY, z);
}

void followWithRoll(Ogre::SceneNode& node, const b2Body& body, float offsetX, float offsetY, float z)
{
    follow(node, body, offsetX, offsetY, z);
    node.setOrientation(Ogre::Quaternion(Ogre::Radian(body.GetAngle()), Ogre::Vector3::UNIT_Z));
}

float degreesToRadians(float degrees)
{
    return degrees * Ogre::Math::fDeg2Rad;
}

} // namespace physics
