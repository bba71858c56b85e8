#include "world/platform.h"

#include <algorithm>
#include <cassert>

#include <Ogre.h>

#include "core/access_points.h"
#include "core/unique_name.h"
#include "world/physics.h"

namespace
{
// Material names built once: update swaps materials without building strings.
const std::string logMaterial = "tronc";
const std::string logMaterials[3] = {"tronc0", "tronc1", "tronc2"};
const std::string particleMaterials[4] = {"platf_particle1", "platf_particle2", "platf_particle1b",
                                          "platf_particle2b"};

const char* logMeshFor(int length)
{
    if (length < 25)
        return "tronc_20.mesh";
    if (length < 35)
        return "tronc_30.mesh";
    if (length < 45)
        return "tronc_40.mesh";
    return "tronc_50.mesh";
}

void loadMaterial(const std::string& name)
{
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(name);
    if (material)
        material->load();
}
} // namespace

Platform::Platform(float x, float y, float z, int length, PlankKind kind, bool particles, float angleDegrees)
    : mKind(kind)
{
    assert(length >= minPlankLength);

    Ogre::SceneManager* scene = theSceneManager;
    const Ogre::Radian angle(angleDegrees * Ogre::Math::fDeg2Rad);
    mNode = scene->getRootSceneNode()->createChildSceneNode(uniqueName());
    if (kind == PlankKind::log || kind == PlankKind::ground)
    {
        if (kind == PlankKind::log)
        {
            loadMaterial(logMaterial);
            for (const std::string& name : logMaterials)
                loadMaterial(name);
        }
        mEntity =
            scene->createEntity(uniqueName(), kind == PlankKind::log ? logMeshFor(length) : "terra.mesh");
        const float meshLength = mEntity->getBoundingBox().getSize().x;
        mNode->attachObject(mEntity);
        mNode->roll(angle);
        mNode->setScale(length / meshLength, 1.0f, 1.0f);
        mNode->setPosition(x, y, z);
        if (kind == PlankKind::log && particles)
        {
            // Emitters two mesh units in from each end, in the node's scaled space.
            const float endX = meshLength * 0.5f - 2.0f;
            const char* templates[4] = {"platf_particle1", "platf_particle1", "platf_particle2",
                                        "platf_particle2"};
            const Ogre::Vector3 offsets[4] = {
                {-endX, 0, -10}, {endX, 0, -10}, {-endX, 0, -15}, {endX, 0, -15}};
            for (int i = 0; i < 4; ++i)
            {
                Ogre::ParticleSystem* system = scene->createParticleSystem(uniqueName(), templates[i]);
                mNode->createChildSceneNode(uniqueName(), offsets[i])->attachObject(system);
                system->setEmitting(false);
                mParticles.push_back(system);
            }
            // checkContact switches the sparks to the standing player's colours: their textures load now,
            // not at a player's first landing in the middle of play.
            for (const std::string& material : particleMaterials)
                if (const Ogre::MaterialPtr colours =
                        Ogre::MaterialManager::getSingleton().getByName(material))
                    colours->load();
        }
    }
    else
    {
        mEntity = scene->createEntity(uniqueName(), "box.mesh");
        mNode->attachObject(mEntity);
        mNode->roll(angle);
        mNode->setScale(length / 10.0f, 0.15f, 0.5f);
        mNode->setPosition(x, y, z);
    }

    b2BodyDef bodyDef;
    bodyDef.type = b2_dynamicBody;
    bodyDef.position.Set(x, y);
    bodyDef.angle = angle.valueRadians();
    mPlankBody = thePhysicsWorld->CreateBody(&bodyDef);
    physics::FixtureMaterial material;
    material.density = 1.0f;
    // Feet drive by rolling: the plank must not let them slip.
    material.friction = 9999.0f;
    physics::addBox(*mPlankBody, length / 2.1f, 1.0f, material);
}

Platform::~Platform()
{
    thePhysicsWorld->DestroyBody(mPlankBody);
    if (mAnchorBody)
        thePhysicsWorld->DestroyBody(mAnchorBody);
}

void Platform::update(float, int, float) {}

bool Platform::checkContact(b2Body* feetBody, int playerNumber)
{
    if (mOccupant)
    {
        if (physics::touches(*mPlankBody, *mOccupant))
            mOccupancyTimer = 0.5;
        return mOccupant == feetBody;
    }
    if (!feetBody || !physics::touches(*mPlankBody, *feetBody))
        return false;

    // Systems 0 and 1 take the second flavour's colour, 2 and 3 the first's.
    const int playerOffset = playerNumber == 1 ? 0 : 2;
    for (size_t i = 0; i < mParticles.size(); ++i)
    {
        mParticles[i]->setEmitting(true);
        mParticles[i]->setMaterialName(particleMaterials[playerOffset + (i < 2 ? 1 : 0)]);
    }
    mParticleTimer = 0.2;
    mSparksOn = true;
    mOccupant = feetBody;
    mOccupancyTimer = 0.5;
    return true;
}

void Platform::beginUpdate(float dt)
{
    if (mOccupancyTimer <= 0.0)
        mOccupant = nullptr;
    else
        mOccupancyTimer -= dt;

    if (mParticleTimer <= 0.0)
    {
        if (mSparksOn)
            for (Ogre::ParticleSystem* system : mParticles)
                system->setEmitting(false);
        mSparksOn = false;
    }
    else
        mParticleTimer -= dt;
}

float Platform::nodeRollDegrees() const
{
    return mNode->getOrientation().getRoll().valueDegrees();
}

void Platform::steerTowardsTilt(float tilt, bool invertTilt, double rotationGain)
{
    float target = std::clamp(tilt, -45.0f, 45.0f);
    if (invertTilt)
        target = -target;
    const float error = std::clamp(target - nodeRollDegrees(), -5.0f, 5.0f);
    mAnchorBody->SetAngularVelocity(static_cast<float>(rotationGain * error));
}

void Platform::followPlank()
{
    physics::followWithRoll(*mNode, *mPlankBody, 0.0f, 0.0f, mNode->getPosition().z);
}

void Platform::createAxle(const char* meshName, AxleSide side, int length)
{
    const auto axleX = static_cast<float>(-plankCentreOffset(side, length));
    // The node's scale still multiplies a child's position when the child ignores it for its size: undo
    // it, so the axle sits a quarter length from the centre and 10 units in front, as the physics turns.
    const Ogre::Vector3& scale = mNode->getScale();
    Ogre::SceneNode* axle =
        mNode->createChildSceneNode(uniqueName(), {axleX / scale.x, 0.0f, -10.0f / scale.z});
    axle->setInheritScale(false);
    axle->attachObject(theSceneManager->createEntity(uniqueName(), meshName));
}

void Platform::offsetPlankBySide(float x, float y, AxleSide side, int length)
{
    if (side != AxleSide::centre)
        mPlankBody->SetTransform(b2Vec2(x + static_cast<float>(plankCentreOffset(side, length)), y), 0.0f);
}

void Platform::weldToKinematicAnchor(float x, float y)
{
    b2BodyDef anchorDef;
    anchorDef.type = b2_kinematicBody;
    anchorDef.position.Set(x, y);
    mAnchorBody = thePhysicsWorld->CreateBody(&anchorDef);
    physics::weldBodies(*thePhysicsWorld, *mPlankBody, *mAnchorBody, b2Vec2(x, y));
}

void Platform::tintLog(int player)
{
    mEntity->setMaterialName(logMaterials[player == 1 || player == 2 ? player : 0]);
    colourOwner = player;
}
