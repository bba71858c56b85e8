#pragma once

#include <vector>

#include <Ogre.h>

#include "world/enemic.h"

// What the two meteor launchers share: pool sizing, the meteor picture and the strike point.
namespace meteor
{
// Meteors a level launcher needs so that one leaves every interval while each flies life seconds:
// ceil(life / interval). An interval that is not positive (or not a number) gives one meteor at a time,
// and the pool is capped at maxPool so bad level data cannot exhaust memory.
constexpr int maxPool = 256;
int poolSizeFor(double life, double interval);

// The two kinds of meteor a player must tell apart at a glance: scenery meteors (orange-hot) and the
// physical ones that bounce (green).
enum class Look
{
    Molten,
    Green,
};

// A hidden meteor ("meteor.mesh" scaled 0.1, in the look's material) on its own child of the scene root
// at position, with a halo in the look's colour just behind it (it reads at any zoom, against sky and
// hills alike), trailing a non-emitting "meteor_smoke" system 10 mesh units behind it, tinted to match.
// Only the picture: the meteor's size in play is its body or its strike point.
struct Picture
{
    Ogre::SceneNode* node;
    Ogre::ParticleSystem* smoke;
};
Picture createPicture(const Ogre::Vector3& position, Look look);
void hide(const Picture& picture);
void show(const Picture& picture);

// The strike test of one meteor: its centre, as a sphere of radius 0.05 in the plane z = 0.
Ogre::Sphere strikePoint(const Ogre::SceneNode& node);
// Players' boxes extend over every depth the meteors fly at: z is tested over [-5, 5].
Ogre::AxisAlignedBox flattened(Ogre::AxisAlignedBox box);
} // namespace meteor

// A launcher with a fixed pool of scenery meteors that fly a ballistic path of their own (no physics
// body). Level launchers relaunch their meteors for ever; boss pools launch on request and follow the
// boss's node.
class BadBall : public Enemic
{
  public:
    // Level launcher at position (the level gives z -50): each meteor flies life seconds at the launch
    // velocity (units/s, varied per launch when varySpeed), one leaving every interval seconds after a first
    // delay of firstDelay; with gravity the meteors fall.
    BadBall(const Ogre::Vector3& position, bool gravity, bool varySpeed, double launchVx, double launchVy,
            double life, double interval, double firstDelay);
    // Boss pool of trunc(count) meteors flying life seconds, launched from offset relative to parent, which
    // must outlive the launcher (the scene clears both together).
    BadBall(const Ogre::Vector3& offset, Ogre::SceneNode* parent, double life, double count);

    void update(float dt) override;
    bool hitsSphere(Ogre::Sphere sphere) override;
    bool hitsBox(Ogre::AxisAlignedBox box) override;

    // Sends the first idle meteor at (vx, vy) units/s (varied when varySpeed); false, changing nothing,
    // if every meteor is in flight.
    bool launch(double vx, double vy);

    struct Meteor
    {
        meteor::Picture picture;
        // Units per second.
        double vx;
        double vy;
        // Seconds of flight left; a level meteor waiting for its first launch counts down its delay.
        double lifeLeft;
    };
    const std::vector<Meteor>& meteors() const { return mMeteors; }

  private:
    void createPool(int count, const Ogre::Vector3& position, double firstDelay);
    void relaunch(Meteor& meteor);
    // An idle pool meteor lies where its last flight ended, unseen: it strikes nobody.
    bool isIdlePoolMeteor(const Meteor& meteor) const { return !mAutoRelaunch && meteor.lifeLeft <= 0.0; }

    // Launch point relative to the parent node's position.
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
