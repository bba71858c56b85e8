#include "world/checkpoint.h"

#include <Ogre.h>

#include "core/access_points.h"
#include "core/unique_name.h"
#include "world/player.h"

Checkpoint::Checkpoint(const Ogre::Vector3& position)
{
    for (const char* material : {"globus1", "globus2"})
        if (Ogre::MaterialPtr loaded = Ogre::MaterialManager::getSingleton().getByName(material))
            loaded->load();

    Ogre::SceneNode* root = theSceneManager->getRootSceneNode();
    node = root->createChildSceneNode(uniqueName(), position);
    postEntity = theSceneManager->createEntity(uniqueName(), "checkpoint.mesh");
    node->attachObject(postEntity);

    const char* meshes[2] = {"globus1.mesh", "globus2.mesh"};
    for (int slot = 0; slot < 2; ++slot)
    {
        Balloon& balloon = balloons[slot];
        balloon.entity = theSceneManager->createEntity(uniqueName(), meshes[slot]);
        balloon.node = root->createChildSceneNode(uniqueName(), position);
        balloon.node->attachObject(balloon.entity);
        balloon.node->setVisible(false, true);
        balloon.state = balloon.entity->getAnimationState("repos");
    }
}

void Checkpoint::activate(int player)
{
    if (isTakenBy(player))
        return;
    for (Balloon& balloon : balloons)
    {
        if (balloon.owner != 0)
            continue;
        play(balloon, "sortir", false);
        balloon.node->setVisible(true, true);
        // The colour tells whose balloon it is, whichever slot it took.
        balloon.entity->setMaterialName(player == 1 ? "globus1" : "globus2");
        balloon.owner = player;
        return;
    }
}

void Checkpoint::update(Checkpoint* checkpoint, double dt)
{
    for (Balloon& balloon : checkpoint->balloons)
    {
        if (balloon.owner == 0)
            continue;
        balloon.state->addTime(static_cast<float>(dt));
        if (balloon.state->getAnimationName() == "sortir" && balloon.state->hasEnded())
            play(balloon, "repos", true);
    }
}

bool Checkpoint::isTakenBy(int player) const
{
    return balloons[0].owner == player || balloons[1].owner == player;
}

bool Checkpoint::isWithinReach(const Ogre::Vector3& pivot) const
{
    const Ogre::Vector3& here = node->getPosition();
    return here.distance(Ogre::Vector3(pivot.x, pivot.y, here.z)) < reachDistance;
}

Ogre::Vector3 Checkpoint::respawnPoint() const
{
    return node->getPosition() + Ogre::Vector3(0, respawnHeight, 0);
}

bool Checkpoint::take(Player& player)
{
    if (isTakenBy(player.playerNumber()) || !isWithinReach(player.pivotNode->getPosition()))
        return false;
    activate(player.playerNumber());
    player.spawnPosition = respawnPoint();
    player.checkpointSound.play();
    return true;
}

void Checkpoint::play(Balloon& balloon, const char* animation, bool loop)
{
    balloon.state->setEnabled(false);
    balloon.state = balloon.entity->getAnimationState(animation);
    balloon.state->setEnabled(true);
    balloon.state->setTimePosition(0.0f);
    balloon.state->setLoop(loop);
}
