#include "world/player.h"

#include <cassert>

#include <Ogre.h>

#include "core/access_points.h"
#include "core/unique_name.h"
#include "world/animation_blender.h"
#include "world/enemic.h"
#include "world/physics.h"

namespace
{
// The picture: the pivot stands 1.5 above the feet's centre and the mesh 4 below the pivot, at 0.07 of the
// mesh's size; its quaternion (w, x, y, z) = (-0.5 x facing, 0, 1, 0) turns the bear three-quarters
// towards the camera and towards its walking side.
constexpr float pivotHeight = 1.5f;
constexpr float meshDrop = -4.0f;
constexpr float meshScale = 0.07f;
constexpr float feetRadius = 2.0f;
constexpr float torsoHalfWidth = 1.5f;
constexpr float torsoHalfHeight = 3.0f;
constexpr float torsoHeight = 2.0f;
// A struck player is thrown up and towards +x.
const b2Vec2 knockBack(5.0f, 15.0f);
constexpr float animationFade = 0.5f;

float pivotDepth(int playerNumber)
{
    return -10.0f * static_cast<float>(playerNumber);
}
} // namespace

Player::Player(float x, float y, float z, int number) : spawnPosition(x, y, z), mPlayerNumber(number)
{
    assert(theSceneManager && thePhysicsWorld);
    loadSounds();

    pivotNode =
        theSceneManager->getRootSceneNode()->createChildSceneNode(uniqueName(), Ogre::Vector3(x, y + 3, z));
    mEntity = theSceneManager->createEntity(uniqueName(), "Pimbear.mesh");
    if (number == 2)
        mEntity->setMaterialName("PimbearPanda_tex");
    mMeshNode = pivotNode->createChildSceneNode(uniqueName());
    mMeshNode->attachObject(mEntity);
    mMeshNode->setScale(meshScale, meshScale, meshScale);
    mMeshNode->setPosition(0, meshDrop, 0);
    mMeshNode->setOrientation(-0.5f, 0, 1, 0);

    buildBodies(x, y);
    mBlender = std::make_unique<AnimationBlender>(mEntity);
    mBlender->start("respirar");
}

Player::~Player()
{
    mBlender.reset();
    thePhysicsWorld->DestroyBody(mTorsoBody);
    thePhysicsWorld->DestroyBody(mFeetBody);
}

// A missing sound leaves the effect silent rather than stopping the game: the bear still plays.
void Player::loadSounds()
{
    const bool first = mPlayerNumber == 1;
    const std::pair<SoundEffect*, const char*> sounds[] = {
        {&mHurtSound, first ? "pupa.ogg" : "pupa2.ogg"},
        {&mJumpSound, first ? "jump.ogg" : "jump2.ogg"},
        {&checkpointSound, first ? "checkpoint.ogg" : "checkpoint2.ogg"}};
    for (const auto& [effect, file] : sounds)
    {
        try
        {
            effect->load(file);
        }
        catch (const Ogre::Exception&)
        {
            Ogre::LogManager::getSingleton().logMessage(std::string("Player sound missing: ") + file);
        }
    }
    for (const auto& sound : sounds)
        sound.first->acquireSource();
}

void Player::buildBodies(float x, float y)
{
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.allowSleep = false;
    def.fixedRotation = true;
    def.position.Set(x, y);
    mFeetBody = thePhysicsWorld->CreateBody(&def);
    physics::addCircle(*mFeetBody, feetRadius, {1.0f, 9999.0f, 0.0f});

    def.position.Set(x, y + torsoHeight);
    mTorsoBody = thePhysicsWorld->CreateBody(&def);
    physics::addBox(*mTorsoBody, torsoHalfWidth, torsoHalfHeight, {0.0f, 0.0f, 1.0f});

    physics::pinBodies(*thePhysicsWorld, *mFeetBody, *mTorsoBody, b2Vec2(x, y));
    setFilter(physics::playerFilter());
}

void Player::setFilter(const b2Filter& filter)
{
    physics::setFilter(*mFeetBody, filter);
    physics::setFilter(*mTorsoBody, filter);
}

void Player::update(float dt, int direction, bool jumpHeld)
{
    mBlender->update(dt);
    if (mGroundTimer >= 0.0)
        mGroundTimer -= dt;
    if (mJumpTimer >= 0.0)
        mJumpTimer -= dt;

    if (!mKnockedOut && !mFinished)
    {
        steer(dt, direction, jumpHeld);
        testEnemies();
        if (direction != 0 && direction != mFacing)
        {
            mFacing = direction;
            mMeshNode->setOrientation(-0.5f * static_cast<float>(direction), 0, 1, 0);
        }
    }
    if (waitForRespawn(dt))
        return;
    physics::follow(*pivotNode, *mFeetBody, 0.0f, pivotHeight, pivotDepth(mPlayerNumber));
}

void Player::steer(float dt, int direction, bool jumpHeld)
{
    if (physics::touchesAnything(*mFeetBody))
        mGroundTimer = groundGraceSeconds;

    bool animationChosen = false;
    b2Vec2 velocity = mFeetBody->GetLinearVelocity();
    if (mJumpTimer < 0.0 && mGroundTimer > 0.0 && jumpHeld)
    {
        velocity.y = jumpSpeed;
        mFeetBody->SetLinearVelocity(velocity);
        mJumpTimer = jumpRepeatSeconds;
        mJumpSound.play();
        mBlender->blend("saltar", AnimationBlender::FadeWhilePlaying, animationFade, true);
        animationChosen = true;
    }
    if (velocity.y > 0.0f && !jumpHeld)
    {
        velocity.y -= shortJumpBrake * dt;
        mFeetBody->SetLinearVelocity(velocity);
    }

    if (mGroundTimer <= 0.0 || mJumpTimer >= 0.0)
    {
        // Air control speeds the player up to the limit but never brakes a faster body.
        const float vx = velocity.x;
        if (direction < 0 && velocity.x < airSpeedLimit)
            velocity.x += airAcceleration * dt;
        if (direction > 0 && velocity.x > -airSpeedLimit)
            velocity.x -= airAcceleration * dt;
        if (velocity.x != vx)
            mFeetBody->SetLinearVelocity(velocity);
        if (!animationChosen)
            mBlender->blend(velocity.y < 0.0f ? "caure" : "saltar", AnimationBlender::FadeWhilePlaying,
                            animationFade, true);
        animationChosen = true;
    }

    // Clockwise (negative) spin rolls towards +x, which is left on screen.
    float spin = mFeetBody->GetAngularVelocity();
    if (direction < 0 && spin > -wheelSpeedLimit)
        spin -= wheelAcceleration * dt;
    else if (direction > 0 && spin < wheelSpeedLimit)
        spin += wheelAcceleration * dt;
    else if (direction == 0)
        spin = 0.0f;
    mFeetBody->SetAngularVelocity(spin);

    if (!animationChosen)
        mBlender->blend(direction != 0 ? "correr" : "respirar", AnimationBlender::FadeWhilePlaying,
                        animationFade, true);
}

void Player::testEnemies()
{
    const Ogre::AxisAlignedBox box = mEntity->getWorldBoundingBox(true);
    for (Enemic* enemy : Enemic::instances())
    {
        if (!enemy->hitsBox(box))
            continue;
        setFilter(physics::knockedOutFilter());
        mKnockedOut = true;
        mBlender->blend("rebre_front", AnimationBlender::FadeWhilePlaying, animationFade, true);
        mFeetBody->SetLinearVelocity(knockBack);
        mFeetBody->SetAngularVelocity(0.0f);
        mHurtSound.play();
        return;
    }
}

bool Player::waitForRespawn(float dt)
{
    if (!respawnCountdown)
        return false;
    *respawnCountdown -= dt;
    if (*respawnCountdown > 0.0)
        return true;

    mKnockedOut = false;
    setFilter(physics::playerFilter());
    const b2Vec2 spawn(spawnPosition.x, spawnPosition.y);
    mFeetBody->SetTransform(spawn, 0.0f);
    mTorsoBody->SetTransform(spawn, 0.0f);
    mFeetBody->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    mFeetBody->SetAngularVelocity(0.0f);
    // A player whose level is over keeps cheering or sulking where it comes back.
    if (!mFinished)
        mBlender->blend("caure", AnimationBlender::Cut, 0.2f, true);
    respawnCountdown.reset();
    return false;
}

void Player::finish(bool won)
{
    mFinished = true;
    mFeetBody->SetAngularVelocity(0.0f);
    if (won)
        mFeetBody->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    mBlender->blend(won ? "win" : "lose", AnimationBlender::FadeWhilePlaying, animationFade, true);
}
