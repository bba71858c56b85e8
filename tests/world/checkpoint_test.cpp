#include "level_objects_fixture.h"
#include "world/checkpoint.h"
#include "world/player.h"

namespace
{

class CheckpointTest : public LevelObjectsTest
{
  protected:
    void TearDown() override
    {
        Checkpoint::deleteAll();
        LevelObjectsTest::TearDown();
    }
    static std::string materialOf(const Checkpoint::Balloon& balloon)
    {
        return balloon.entity->getSubEntity(0)->getMaterialName();
    }
};

TEST_F(CheckpointTest, BalloonsGoToPlayersInArrivalOrderInTheirOwnColours)
{
    auto* checkpoint = new Checkpoint(Ogre::Vector3(10, 5, 0));
    for (const auto& balloon : checkpoint->balloons)
    {
        EXPECT_EQ(balloon.owner, 0);
        EXPECT_FALSE(balloon.entity->isVisible());
    }
    EXPECT_EQ(checkpoint->balloons[0].entity->getMesh()->getName(), "globus1.mesh");

    checkpoint->activate(2);
    checkpoint->activate(2);
    EXPECT_EQ(checkpoint->balloons[0].owner, 2);
    EXPECT_EQ(checkpoint->balloons[1].owner, 0);
    EXPECT_EQ(materialOf(checkpoint->balloons[0]), "globus2");
    EXPECT_TRUE(checkpoint->balloons[0].entity->isVisible());
    EXPECT_FALSE(checkpoint->balloons[1].entity->isVisible());

    checkpoint->activate(1);
    EXPECT_EQ(checkpoint->balloons[1].owner, 1);
    EXPECT_EQ(materialOf(checkpoint->balloons[1]), "globus1");
    EXPECT_EQ(checkpoint->balloons[1].entity->getMesh()->getName(), "globus2.mesh");
}

TEST_F(CheckpointTest, ABalloonPopsOutOnceThenIdlesForEver)
{
    auto* checkpoint = new Checkpoint(Ogre::Vector3(0, 0, 0));
    Checkpoint::Balloon& balloon = checkpoint->balloons[0];
    checkpoint->activate(1);
    EXPECT_EQ(balloon.state->getAnimationName(), "sortir");
    EXPECT_TRUE(balloon.state->getEnabled());
    EXPECT_FALSE(balloon.state->getLoop());

    const float popLength = balloon.state->getLength();
    double elapsed = 0;
    while (balloon.state->getAnimationName() == "sortir" && elapsed < 10)
    {
        Checkpoint::update(checkpoint, 1.0 / 60.0);
        elapsed += 1.0 / 60.0;
    }
    EXPECT_NEAR(elapsed, popLength, 1.0 / 30.0);
    EXPECT_EQ(balloon.state->getAnimationName(), "repos");
    EXPECT_TRUE(balloon.state->getLoop());
    EXPECT_TRUE(balloon.state->getEnabled());
    EXPECT_FALSE(balloon.entity->getAnimationState("sortir")->getEnabled());

    for (int i = 0; i < 600; ++i)
        Checkpoint::update(checkpoint, 1.0 / 60.0);
    EXPECT_EQ(balloon.state->getAnimationName(), "repos");
    EXPECT_FALSE(checkpoint->balloons[1].entity->getAnimationState("sortir")->getEnabled());
}

TEST_F(CheckpointTest, APlayerTakesItOnceWithinReachInThePlane)
{
    auto* checkpoint = new Checkpoint(Ogre::Vector3(20, 5, 0));
    Player player(0, 0, 0, 1);

    // The pivot sits at the player's depth; only x and y count, and exactly 6 is out of reach.
    player.pivotNode->setPosition(26, 5, -10);
    EXPECT_FALSE(checkpoint->take(player));
    player.pivotNode->setPosition(25.99f, 5, -10);
    int taken = 0;
    for (int i = 0; i < 100; ++i)
        taken += checkpoint->take(player);
    EXPECT_EQ(taken, 1);
    EXPECT_EQ(player.spawnPosition, Ogre::Vector3(20, 20, 0));
    EXPECT_TRUE(checkpoint->isTakenBy(1));
    EXPECT_FALSE(checkpoint->isTakenBy(2));

    // A later checkpoint moves the respawn point again; going back to the first one does not.
    auto* later = new Checkpoint(Ogre::Vector3(-40, 0, 0));
    player.pivotNode->setPosition(-40, 3.5f, -10);
    EXPECT_TRUE(later->take(player));
    player.pivotNode->setPosition(20, 8.5f, -10);
    EXPECT_FALSE(checkpoint->take(player));
    EXPECT_EQ(player.spawnPosition, Ogre::Vector3(-40, 15, 0));
}

} // namespace
