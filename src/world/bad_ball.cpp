#include "world/bad_ball.h"

#include <cmath>
#include <cstdlib>

#include "core/access_points.h"
#include "core/unique_name.h"
#include "world/physics.h"

namespace meteor
{

int poolSizeFor(double life, double interval)
{
    if (!(interval > 0.0))
        return 1;
    const double size = std::ceil(life / interval);
    if (!(size > 0.0))
        return 0;
    return size < maxPool ? static_cast<int>(size) : maxPool;
}

namespace
{
struct LookMaterials
{
    const char* mesh; // empty: the mesh's own
    const char* glow;
    Ogre::ColourValue smoke; // the trail's colour as it leaves the meteor
};

const LookMaterials& materialsOf(Look look)
{
    static const LookMaterials molten = {"", "meteor_glow", Ogre::ColourValue(1.0f, 0.72f, 0.3f, 0.9f)};
    static const LookMaterials green = {"green_meteor_tex", "green_meteor_glow",
                                        Ogre::ColourValue(0.6f, 1.0f, 0.35f, 0.9f)};
    return look == Look::Green ? green : molten;
}

// World units across; the meteor itself is 2 across.
constexpr float glowSize = 6.0f;
// Behind the meteor, in the meteor node's (scaled) units: 1 world unit.
constexpr float glowDepth = 10.0f;
} // namespace

Picture createPicture(const Ogre::Vector3& position, Look look)
{
    const LookMaterials& materials = materialsOf(look);
    Ogre::SceneManager* scene = theSceneManager;
    Ogre::Entity* entity = scene->createEntity(uniqueName(), "meteor.mesh");
    if (*materials.mesh)
        entity->setMaterialName(materials.mesh);
    Ogre::SceneNode* node = scene->getRootSceneNode()->createChildSceneNode(uniqueName(), position);
    node->attachObject(entity);
    node->setScale(0.1f, 0.1f, 0.1f);

    Ogre::BillboardSet* glow = scene->createBillboardSet(uniqueName(), 1);
    glow->setMaterialName(materials.glow);
    glow->setDefaultDimensions(glowSize, glowSize);
    glow->createBillboard(Ogre::Vector3::ZERO);
    Ogre::SceneNode* glowNode = node->createChildSceneNode(uniqueName(), Ogre::Vector3(0, 0, glowDepth));
    glowNode->setInheritScale(false);
    glowNode->attachObject(glow);

    Ogre::ParticleSystem* smoke = scene->createParticleSystem(uniqueName(), "meteor_smoke");
    for (unsigned short i = 0; i < smoke->getNumEmitters(); ++i)
        smoke->getEmitter(i)->setColour(materials.smoke);
    node->createChildSceneNode(uniqueName(), Ogre::Vector3(0, 0, -10))->attachObject(smoke);
    const Picture picture{node, smoke};
    hide(picture);
    return picture;
}

void hide(const Picture& picture)
{
    picture.node->setVisible(false);
    picture.smoke->setEmitting(false);
}

void show(const Picture& picture)
{
    picture.node->setVisible(true);
    picture.smoke->setEmitting(true);
}

Ogre::Sphere strikePoint(const Ogre::SceneNode& node)
{
    const Ogre::Vector3& position = node.getPosition();
    return Ogre::Sphere(Ogre::Vector3(position.x, position.y, 0.0f), 0.05f);
}

Ogre::AxisAlignedBox flattened(Ogre::AxisAlignedBox box)
{
    // A null box stays null (touches nothing) and an infinite one stays infinite.
    if (box.isFinite())
    {
        box.setMinimumZ(-5.0f);
        box.setMaximumZ(5.0f);
    }
    return box;
}

} // namespace meteor

namespace
{
// 1 to 1 + 29/60, from the runtime library's unseeded generator, so runs repeat.
double speedVariation()
{
    return 1.0 + (std::rand() % 30) / 60.0;
}
} // namespace

BadBall::BadBall(const Ogre::Vector3& position, bool gravity, bool varySpeed, double launchVx,
                 double launchVy, double life, double interval, double firstDelay)
    : mOrigin(position), mParentNode(theSceneManager->getRootSceneNode()), mLaunchVx(launchVx),
      mLaunchVy(launchVy), mLife(life), mGravity(gravity), mVarySpeed(varySpeed), mAutoRelaunch(true)
{
    createPool(meteor::poolSizeFor(life, interval), position, firstDelay);
}

BadBall::BadBall(const Ogre::Vector3& offset, Ogre::SceneNode* parent, double life, double count)
    : mOrigin(offset), mParentNode(parent), mLaunchVx(0.0), mLaunchVy(0.0), mLife(life), mGravity(false),
      mVarySpeed(true), mAutoRelaunch(false)
{
    createPool(count > 0.0 ? static_cast<int>(std::fmin(count, meteor::maxPool)) : 0, offset, 0.0);
}

void BadBall::createPool(int count, const Ogre::Vector3& position, double firstDelay)
{
    mMeteors.reserve(count);
    for (int i = 0; i < count; ++i)
    {
        // Level meteors leave evenly spread over one life; pool meteors wait for launch.
        const double delay = mAutoRelaunch ? firstDelay + i * mLife / count : 0.0;
        mMeteors.push_back(Meteor{meteor::createPicture(position, meteor::Look::Molten), 0.0, 0.0, delay});
    }
}

void BadBall::relaunch(Meteor& meteor)
{
    meteor::show(meteor.picture);
    const Ogre::Vector3& parent = mParentNode->_getDerivedPosition();
    meteor.picture.node->setPosition(mOrigin.x + parent.x, mOrigin.y + parent.y, 0.0f);
    meteor.lifeLeft = mLife;
    if (mVarySpeed)
    {
        meteor.vx = mLaunchVx * speedVariation();
        meteor.vy = mLaunchVy * speedVariation();
    }
    else
    {
        meteor.vx = mLaunchVx;
        meteor.vy = mLaunchVy;
    }
}

void BadBall::update(float dt)
{
    const Ogre::Radian spin(Ogre::Math::TWO_PI * dt);
    for (Meteor& meteor : mMeteors)
    {
        if (meteor.lifeLeft > 0.0)
        {
            // Also runs, unseen, while a level meteor waits for its first launch.
            meteor.lifeLeft -= dt;
            if (mGravity)
                meteor.vy += physics::gravityY * dt;
            meteor.picture.node->translate(static_cast<float>(dt * meteor.vx),
                                           static_cast<float>(dt * meteor.vy), 0.0f);
            meteor.picture.node->roll(spin);
        }
        else
        {
            meteor::hide(meteor.picture);
            meteor.vx = 0.0;
            meteor.vy = 0.0;
            if (mAutoRelaunch)
                relaunch(meteor);
        }
    }
}

bool BadBall::launch(double vx, double vy)
{
    for (Meteor& meteor : mMeteors)
    {
        if (meteor.lifeLeft <= 0.0)
        {
            mLaunchVx = vx;
            mLaunchVy = vy;
            relaunch(meteor);
            return true;
        }
    }
    return false;
}

bool BadBall::hitsBox(Ogre::AxisAlignedBox box)
{
    const Ogre::AxisAlignedBox flat = meteor::flattened(box);
    for (const Meteor& meteor : mMeteors)
        if (!isIdlePoolMeteor(meteor) && meteor::strikePoint(*meteor.picture.node).intersects(flat))
            return true;
    return false;
}

bool BadBall::hitsSphere(Ogre::Sphere sphere)
{
    const Ogre::Vector3& centre = sphere.getCenter();
    sphere.setCenter(Ogre::Vector3(centre.x, centre.y, 0.0f));
    for (const Meteor& meteor : mMeteors)
        if (!isIdlePoolMeteor(meteor) && meteor::strikePoint(*meteor.picture.node).intersects(sphere))
            return true;
    return false;
}
