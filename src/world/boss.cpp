#include "world/boss.h"

#include <cassert>

#include "core/access_points.h"
#include "core/unique_name.h"
#include "world/animation_blender.h"
#include "world/bad_ball.h"
#include "world/phys_bad_ball.h"

namespace
{
constexpr float nodeScale = 1.2f;
constexpr double flinchSeconds = 3.0;
// The death clock starts here at the killing hit and the boss vanishes when it reaches deathEnd: 6.5 s.
constexpr double deathStart = 0.5;
constexpr double deathEnd = 7.0;
// Seconds between launches at full health; scaled by the share of hit points left.
constexpr double fullHealthAttackInterval = 1.2;
constexpr float blendSeconds = 0.2f;
// The head, in world units relative to the node, that a falling meteor must strike.
constexpr float targetRadius = 18.0f;
constexpr float targetHeight = 5.0f;
// Launch velocities, units/s; each side throws outwards.
constexpr double throwVx = 5.0;
constexpr double throwVy = 20.0;
constexpr double ballisticLife = 5.0;
constexpr double physicalLife = 10.0;
constexpr double poolSize = 10.0;

Ogre::MaterialPtr loadMaterial(const std::string& name)
{
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(name);
    if (!material)
        throw std::string("Material " + name + " is missing");
    material->load();
    return material;
}

Ogre::Entity* attachEntity(Ogre::SceneNode* node, const char* mesh)
{
    Ogre::Entity* entity = theSceneManager->createEntity(uniqueName(), mesh);
    node->attachObject(entity);
    return entity;
}

std::unique_ptr<AnimationBlender> breathing(Ogre::Entity* entity)
{
    auto blender = std::make_unique<AnimationBlender>(entity);
    blender->start("respirar");
    return blender;
}
} // namespace

Boss::Boss(const Ogre::Vector3& position, int hitPointsAtStart, double patrolSpeed, double patrolRange)
    : startPosition(position), speed(patrolSpeed), range(patrolRange), hitPoints(hitPointsAtStart),
      maxHitPoints(hitPointsAtStart)
{
    assert(hitPointsAtStart >= 1);
    node = theSceneManager->getRootSceneNode()->createChildSceneNode(uniqueName());
    node->setScale(nodeScale, nodeScale, nodeScale);
    node->setPosition(startPosition);

    body = attachEntity(node, "octoboss.mesh");
    bodyBlender = breathing(body);
    mNormalMaterial = loadMaterial("tex_octoboss");
    mOuchMaterial = loadMaterial("tex_octoboss_ouch");
    mOuch2Material = loadMaterial("tex_octoboss_ouch2");
    bowTie = attachEntity(node, "pajarita.mesh");
    bowTieBlender = breathing(bowTie);
    hat = attachEntity(node, "hat.mesh");
    hatBlender = breathing(hat);
    monocle = attachEntity(node, "monoculo.mesh");
    monocleBlender = breathing(monocle);

    badBallLeft = new BadBall(Ogre::Vector3(-8, 25, 0), node, ballisticLife, poolSize);
    badBallRight = new BadBall(Ogre::Vector3(8, 25, 0), node, ballisticLife, poolSize);
    physBallLeft = new PhysBadBall(Ogre::Vector3(-14, 20, 0), node, physicalLife, poolSize);
    physBallRight = new PhysBadBall(Ogre::Vector3(14, 20, 0), node, physicalLife, poolSize);

    // Two arms in front (z -50) and two behind (z 50) on each side, fanned outwards; the back ones darker.
    for (int i = 0; i < 8; ++i)
    {
        const float s = 60.0f - 20.0f * static_cast<float>(i);
        const bool plusSide = i < 4;
        const bool front = i < 2 || i >= 6;
        Tentacle& tentacle = tentacles[i];
        tentacle.node = node->createChildSceneNode(uniqueName());
        tentacle.entity = attachEntity(tentacle.node, "tentacle.mesh");
        tentacle.node->setPosition(plusSide ? s + 20.0f : s, -5.0f, front ? -50.0f : 50.0f);
        const float rollDegrees = plusSide ? (front ? -45.0f : -30.0f) : (front ? 45.0f : 30.0f);
        const float yawDegrees = plusSide ? (front ? -40.0f : -35.0f) : (front ? 40.0f : 35.0f);
        tentacle.node->roll(Ogre::Degree(rollDegrees));
        tentacle.node->yaw(Ogre::Degree(yawDegrees));
        if (!front)
            tentacle.entity->setMaterialName("tex_tentacle_far");
        tentacle.animation = tentacle.entity->getAnimationState("mou1");
        tentacle.animation->setEnabled(true);
        tentacle.animation->setLoop(true);
        tentacle.animation->setTimePosition(tentacle.animation->getLength() / static_cast<float>(i % 4 + 1));
    }
}

// The launchers are registry members and may already be gone: they are not touched here.
Boss::~Boss() = default;

bool Boss::hitsSphere(Ogre::Sphere)
{
    return false;
}

bool Boss::hitsBox(Ogre::AxisAlignedBox)
{
    return false;
}

void Boss::update(float dt)
{
    if (hitPoints > 0)
        updateAlive(dt);
    else
        updateDying(dt);
}

void Boss::updateAlive(float dt)
{
    const float x = node->getPosition().x;
    if (direction == 1 && x > startPosition.x + range)
        direction = -1;
    else if (direction == -1 && x < startPosition.x - range)
        direction = 1;

    node->translate(static_cast<float>(direction * speed * dt), 0, 0);
    // The arms lag behind the body and swing back when it turns.
    for (int i = 0; i < 8; ++i)
        tentacles[i].node->translate(static_cast<float>(-direction * speed / (i % 2 + 2) * dt), 0, 0);

    hurtTimer -= dt;
    if (hurtTimer < 0)
    {
        const Ogre::Vector3 at = node->getPosition();
        const Ogre::Sphere target(Ogre::Vector3(at.x, at.y + targetHeight, 0), targetRadius);
        if (physBallLeft->deflect(target) || physBallRight->deflect(target))
            takeHit();
        showLook(Look::Normal);
    }
    else
        showLook(static_cast<int>(hurtTimer * 10) % 2 == 0 ? Look::Ouch2 : Look::Ouch);

    attack(dt);

    if (hitPoints <= maxHitPoints - 1 && hatBlender->complete() &&
        hatBlender->getAnimationName() == "perdre_elem")
        hat->setVisible(false);
    if (hitPoints <= maxHitPoints - 2 && monocleBlender->complete() &&
        monocleBlender->getAnimationName() == "perdre_elem")
        monocle->setVisible(false);

    for (AnimationBlender* blender :
         {bodyBlender.get(), hatBlender.get(), monocleBlender.get(), bowTieBlender.get()})
        if (blender->complete())
            blender->blend("respirar", AnimationBlender::FadeWhilePlaying, blendSeconds, true);
    for (AnimationBlender* blender :
         {bodyBlender.get(), bowTieBlender.get(), hatBlender.get(), monocleBlender.get()})
        blender->update(dt);
    for (int i = 0; i < 8; ++i)
        tentacles[i].animation->addTime(dt * (i % 2 == 0 ? 0.5f : 0.8f));
}

void Boss::takeHit()
{
    --hitPoints;
    if (hitPoints <= 0)
    {
        bodyBlender->blend("morir", AnimationBlender::FadeThenPlay, blendSeconds, true);
        bowTieBlender->blend("morir", AnimationBlender::FadeThenPlay, blendSeconds, true);
        hurtTimer = deathStart;
        return;
    }
    bodyBlender->blend("rebre", AnimationBlender::Cut, 0, false);
    hatBlender->blend(hitPoints == maxHitPoints - 1 ? "perdre_elem" : "rebre", AnimationBlender::Cut, 0,
                      false);
    monocleBlender->blend(hitPoints == maxHitPoints - 2 ? "perdre_elem" : "rebre", AnimationBlender::Cut, 0,
                          false);
    bowTieBlender->blend("rebre", AnimationBlender::Cut, 0, false);
    hurtTimer = flinchSeconds;
}

// Physical pairs alternate with a run of ballistic pairs that grows by one per hit point lost; a flinching
// boss throws only ballistic meteors, so it can never be hit twice by one volley. A launch the pool cannot
// make is dropped.
void Boss::attack(float dt)
{
    attackTimer += dt;
    if (attackTimer <= fullHealthAttackInterval * hitPoints / maxHitPoints)
        return;
    if (hurtTimer < 0 && volleyCounter == 0)
    {
        if (throwLeft)
            physBallLeft->launch(-throwVx, throwVy);
        else
            physBallRight->launch(throwVx, throwVy);
    }
    else if (throwLeft)
        badBallLeft->launch(-throwVx, throwVy);
    else
        badBallRight->launch(throwVx, throwVy);
    throwLeft = !throwLeft;
    if (throwLeft)
    {
        if (volleyCounter > (maxHitPoints - hitPoints) + 3)
            volleyCounter = 0;
        else
            ++volleyCounter;
    }
    attackTimer = 0;
}

void Boss::updateDying(float dt)
{
    showLook(Look::Ouch);
    const double c = hurtTimer;
    node->translate(0, static_cast<float>(-(c + 2) * dt), 0);
    for (int i = 0; i < 8; ++i)
    {
        tentacles[i].node->translate(0, static_cast<float>(-(c + 4) * dt), 0);
        tentacles[i].node->roll(Ogre::Degree(i < 4 ? 5.0f * dt : -5.0f * dt));
    }
    hurtTimer += dt;
    // Everything plays faster as the death goes on.
    const float scaled = static_cast<float>(dt * hurtTimer);
    bodyBlender->update(scaled);
    bowTieBlender->update(scaled);
    for (Tentacle& tentacle : tentacles)
        tentacle.animation->addTime(scaled);
    if (hurtTimer >= deathEnd)
    {
        defeated = true;
        node->setVisible(false, true);
    }
}

void Boss::showLook(Look look)
{
    if (look == mLook)
        return;
    mLook = look;
    body->setMaterial(look == Look::Normal ? mNormalMaterial
                      : look == Look::Ouch ? mOuchMaterial
                                           : mOuch2Material);
}
