#include "decor/cat.h"

#include <cmath>

#include <Ogre.h>

#include "core/access_points.h"
#include "core/unique_name.h"
#include "world/animation_blender.h"

namespace
{
constexpr float hearingDistance = 40.0f;
constexpr float paceHalfWidth = 4.0f;
constexpr double restSeconds = 3.0;
constexpr float celebrationHalfWidth = 2.0f;
constexpr float runSpeed = 10.0f;

const Ogre::Quaternion facingPlusX(Ogre::Degree(90), Ogre::Vector3::UNIT_Y);
const Ogre::Quaternion facingMinusX(Ogre::Degree(-90), Ogre::Vector3::UNIT_Y);
} // namespace

Cat::Cat(const Ogre::Vector3& position) : mHome(position.x, position.y - 0.35f, position.z)
{
    mMiaow.load("miaw.ogg");
    mMiaow.acquireSource();
    Ogre::Entity* entity = theSceneManager->createEntity(
        uniqueName(), "cat.mesh", Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME);
    mNode = theSceneManager->getRootSceneNode()->createChildSceneNode();
    mNode->setPosition(position);
    mNode->setScale(1.3f, 1.3f, 1.3f);
    mNode->setOrientation(facingPlusX);
    mNode->attachObject(entity);
    mBlender = std::make_unique<AnimationBlender>(entity);
    mBlender->start("respirar_e");
}

Cat::~Cat()
{
    mMiaow.releaseSource();
}

const Ogre::Vector3& Cat::position() const
{
    return mNode->getPosition();
}

void Cat::update(const std::vector<Ogre::Vector3>& playerPositions, double frameTime)
{
    mBlender->update(static_cast<float>(frameTime));
    if (celebrating)
        runAboutTarget();
    else
        pace(playerPositions, frameTime);
    animate();
    if (mDirection == 1)
        mNode->setOrientation(facingPlusX);
    else if (mDirection == -1)
        mNode->setOrientation(facingMinusX);
    mNode->translate(static_cast<Ogre::Real>(mDirection) * runSpeed * static_cast<Ogre::Real>(frameTime), 0,
                     0);
}

void Cat::pace(const std::vector<Ogre::Vector3>& playerPositions, double frameTime)
{
    const Ogre::Vector3& here = mNode->getPosition();
    if (!mMiaow.isPlaying())
    {
        for (const Ogre::Vector3& player : playerPositions)
        {
            if (here.distance(Ogre::Vector3(player.x, player.y, here.z)) < hearingDistance)
            {
                mMiaow.play();
                break;
            }
        }
    }
    mRestTimer -= frameTime;
    const std::string& animation = mBlender->getAnimationName();
    if (mRestTimer <= 0 && (animation == "respirar_e" || animation == "respirar_d"))
        mDirection = mHome.x > here.x ? 1 : -1;
    const float fromHome = mHome.x - here.x;
    if ((fromHome > paceHalfWidth && mDirection == -1) || (fromHome < -paceHalfWidth && mDirection == 1))
    {
        mDirection = 0;
        mRestTimer = restSeconds;
    }
}

// Within two units of the target the cat keeps going, so it crosses the winner to and fro and never stops.
void Cat::runAboutTarget()
{
    const float x = mNode->getPosition().x;
    if (mDirection == 0)
        mDirection = 1;
    if (x - celebrationHalfWidth > target.x)
        mDirection = -1;
    else if (target.x > x + celebrationHalfWidth)
        mDirection = 1;
}

void Cat::animate()
{
    const std::string& animation = mBlender->getAnimationName();
    if (mDirection == 1 && animation != "correr_e")
        mBlender->blend("correr_e", AnimationBlender::Cut, 0.0f, true);
    else if (mDirection == -1 && animation != "correr_d")
        mBlender->blend("correr_d", AnimationBlender::Cut, 0.0f, true);
    else if (mDirection == 0 && animation == "correr_e")
        mBlender->blend("respirar_e", AnimationBlender::Cut, 0.0f, true);
    else if (mDirection == 0 && animation == "correr_d")
        mBlender->blend("respirar_d", AnimationBlender::Cut, 0.0f, true);
}
