#include "world/phys_bad_ball.h"

#include <cmath>

#include "core/access_points.h"
#include "world/physics.h"

namespace
{
// Below this height a meteor past the first quarter of its flight has left the level.
constexpr float floorY = -21.0f;
// Upward force holding a weightless meteor: its weight is 2 x pi x 70, about 439.8.
constexpr float floatForce = 450.0f;
} // namespace

PhysBadBall::PhysBadBall(const Ogre::Vector3& position, bool gravity, bool varySpeed, double launchVx,
                         double launchVy, double life, double interval, double firstDelay)
    : mOrigin(position), mParentNode(theSceneManager->getRootSceneNode()), mLaunchVx(launchVx),
      mLaunchVy(launchVy), mLife(life), mGravity(gravity), mVarySpeed(varySpeed), mAutoRelaunch(true)
{
    createPool(meteor::poolSizeFor(life, interval), position, firstDelay);
}

PhysBadBall::PhysBadBall(const Ogre::Vector3& offset, Ogre::SceneNode* parent, double life, double count)
    : mOrigin(offset), mParentNode(parent), mLaunchVx(0.0), mLaunchVy(0.0), mLife(life), mGravity(false),
      mVarySpeed(true), mAutoRelaunch(false)
{
    createPool(count > 0.0 ? static_cast<int>(std::fmin(count, meteor::maxPool)) : 0, offset, 0.0);
}

PhysBadBall::~PhysBadBall()
{
    for (Meteor& meteor : mMeteors)
        thePhysicsWorld->DestroyBody(meteor.body);
}

void PhysBadBall::createPool(int count, const Ogre::Vector3& position, double firstDelay)
{
    mMeteors.reserve(count);
    for (int i = 0; i < count; ++i)
    {
        b2BodyDef bodyDef;
        bodyDef.type = b2_dynamicBody;
        bodyDef.position.Set(mOrigin.x, floorY);
        bodyDef.allowSleep = false;
        b2Body* body = thePhysicsWorld->CreateBody(&bodyDef);
        physics::FixtureMaterial material;
        material.friction = 999.0f;
        material.density = 2.0f;
        material.restitution = mGravity ? 0.0f : 0.9f;
        physics::addCircle(*body, 1.0f, material);
        physics::setActive(*body, false);
        const double delay = mAutoRelaunch ? firstDelay + i * mLife / count : 0.0;
        mMeteors.push_back(Meteor{meteor::createPicture(position, meteor::Look::Green), delay, body});
    }
}

void PhysBadBall::relaunch(size_t index)
{
    Meteor& meteor = mMeteors[index];
    physics::setActive(*meteor.body, true);
    meteor::show(meteor.picture);
    const Ogre::Vector3& parent = mParentNode->_getDerivedPosition();
    const b2Vec2 start(mOrigin.x + parent.x, mOrigin.y + parent.y);
    meteor.body->SetTransform(start, 0.0f);
    meteor.body->SetAngularVelocity(0.0f);
    // The picture starts at the launch point too, not where the last flight ended.
    meteor.picture.node->setPosition(start.x, start.y, meteor.picture.node->getPosition().z);
    meteor.lifeLeft = mLife;
    // Varied by the meteor's place in the pool, not at random.
    const double factor = mVarySpeed ? 1.0 + static_cast<double>(index % 3) / 6.0 : 1.0;
    meteor.body->SetLinearVelocity(
        b2Vec2(static_cast<float>(mLaunchVx * factor), static_cast<float>(mLaunchVy * factor)));
}

void PhysBadBall::putAway(Meteor& meteor)
{
    physics::setActive(*meteor.body, false);
    meteor::hide(meteor.picture);
}

void PhysBadBall::update(float dt)
{
    for (size_t i = 0; i < mMeteors.size(); ++i)
    {
        Meteor& meteor = mMeteors[i];
        meteor.lifeLeft -= dt;
        if (meteor.lifeLeft > 0.0)
        {
            Ogre::SceneNode& node = *meteor.picture.node;
            if (node.getPosition().y >= floorY || meteor.lifeLeft >= 0.75 * mLife)
            {
                if (!mGravity && physics::isActive(*meteor.body))
                    physics::applyForce(*meteor.body, b2Vec2(0.0f, floatForce), meteor.body->GetPosition());
                physics::followWithRoll(node, *meteor.body, 0.0f, 0.0f, node.getPosition().z);
            }
            else
                putAway(meteor);
        }
        else
        {
            putAway(meteor);
            if (mAutoRelaunch)
                relaunch(i);
        }
    }
}

bool PhysBadBall::launch(double vx, double vy)
{
    for (size_t i = 0; i < mMeteors.size(); ++i)
    {
        if (!physics::isActive(*mMeteors[i].body))
        {
            mLaunchVx = vx;
            mLaunchVy = vy;
            relaunch(i);
            return true;
        }
    }
    return false;
}

bool PhysBadBall::hitsBox(Ogre::AxisAlignedBox box)
{
    const Ogre::AxisAlignedBox flat = meteor::flattened(box);
    for (const Meteor& meteor : mMeteors)
        if (physics::isActive(*meteor.body) && meteor::strikePoint(*meteor.picture.node).intersects(flat))
            return true;
    return false;
}

bool PhysBadBall::hitsSphere(Ogre::Sphere sphere)
{
    const Ogre::Vector3& centre = sphere.getCenter();
    sphere.setCenter(Ogre::Vector3(centre.x, centre.y, 0.0f));
    for (const Meteor& meteor : mMeteors)
        if (physics::isActive(*meteor.body) && meteor::strikePoint(*meteor.picture.node).intersects(sphere))
            return true;
    return false;
}

bool PhysBadBall::deflect(Ogre::Sphere sphere)
{
    const Ogre::Vector3 centre(sphere.getCenter().x, sphere.getCenter().y, 0.0f);
    sphere.setCenter(centre);
    for (Meteor& meteor : mMeteors)
    {
        b2Body& body = *meteor.body;
        if (!physics::isActive(body) || body.GetPosition().y <= centre.y)
            continue;
        const Ogre::Sphere point = meteor::strikePoint(*meteor.picture.node);
        const b2Vec2 velocity = body.GetLinearVelocity();
        if (point.intersects(sphere) && velocity.y < -3.0f)
        {
            const Ogre::Vector3 away = (point.getCenter() - centre).normalisedCopy();
            const float speed = velocity.Length();
            body.SetLinearVelocity(b2Vec2(speed * away.x, speed * away.y));
            return true;
        }
    }
    return false;
}
