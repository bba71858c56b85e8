#pragma once

#include <vector>

#include <box2d/box2d.h>

#include "world/bad_ball.h"

// A launcher whose meteors ("green_meteor_tex") are dynamic Box2D circles that collide with the planks
// and the players. Without gravity a meteor is held up by a force that nearly cancels its weight, so it
// drifts almost straight; with gravity it falls like any body. A meteor that drops below y -21 after the
// first quarter of its flight is put away until its life ends. Boss pools also bounce meteors off the
// boss (deflect).
class PhysBadBall : public Enemic
{
  public:
    // Level launcher; the arguments mean what they mean for BadBall.
    PhysBadBall(const Ogre::Vector3& position, bool gravity, bool varySpeed, double launchVx, double launchVy,
                double life, double interval, double firstDelay);
    // Boss pool of trunc(count) meteors, launched from offset relative to parent.
    PhysBadBall(const Ogre::Vector3& offset, Ogre::SceneNode* parent, double life, double count);
    // Destroys every meteor body.
    ~PhysBadBall() override;
    PhysBadBall(const PhysBadBall&) = delete;
    PhysBadBall& operator=(const PhysBadBall&) = delete;

    void update(float dt) override;
    // Only meteors in the world (active bodies) strike.
    bool hitsSphere(Ogre::Sphere sphere) override;
    bool hitsBox(Ogre::AxisAlignedBox box) override;

    // Sends the first meteor that is out of the world at (vx, vy) units/s; false, changing nothing, if
    // every meteor is in flight.
    bool launch(double vx, double vy);
    // Bounces the first meteor that falls (faster than 3 units/s) onto the upper half of sphere: it leaves
    // radially from the sphere's centre at its former speed. The sphere's z is ignored.
    bool deflect(Ogre::Sphere sphere);

    struct Meteor
    {
        meteor::Picture picture;
        double lifeLeft;
        b2Body* body;
    };
    const std::vector<Meteor>& meteors() const { return mMeteors; }

  private:
    void createPool(int count, const Ogre::Vector3& position, double firstDelay);
    void relaunch(size_t index);
    void putAway(Meteor& meteor);

    Ogre::Vector3 mOrigin;
    Ogre::SceneNode* mParentNode;
    double mLaunchVx;
    double mLaunchVy;
    double mLife;
    bool mGravity;
    bool mVarySpeed;
    bool mAutoRelaunch;
    std::vector<Meteor> mMeteors;
};
