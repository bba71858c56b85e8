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
};

TEST_F(CheckpointTest, PlayersTakeItOnceWithinReachAndGetBalloonsInArrivalOrder)
{
    auto* checkpoint = new Checkpoint(Ogre::Vector3(20, 5, 0));
    Player first(0, 0, 0, 1);
    Player second(0, 0, 0, 2);
    // The pivot sits at the player's depth; only x and y count, and exactly 6 is out of reach.
    second.pivotNode->setPosition(26, 5, -10);
    EXPECT_FALSE(checkpoint->take(second));
    second.pivotNode->setPosition(25.99f, 5, -10);
    EXPECT_TRUE(checkpoint->take(second));
    EXPECT_FALSE(checkpoint->take(second));
    EXPECT_EQ(second.spawnPosition, Ogre::Vector3(20, 20, 0));
    first.pivotNode->setPosition(20, 5, -10);
    EXPECT_TRUE(checkpoint->take(first));

    const Checkpoint::Balloon& balloon = checkpoint->balloons[0];
    EXPECT_EQ(balloon.owner, 2);
    EXPECT_EQ(balloon.entity->getSubEntity(0)->getMaterialName(), "globus2");
    EXPECT_TRUE(balloon.entity->isVisible());
    EXPECT_EQ(checkpoint->balloons[1].owner, 1);
    EXPECT_EQ(checkpoint->balloons[1].entity->getSubEntity(0)->getMaterialName(), "globus1");

    // Each balloon pops out once, then idles for ever.
    EXPECT_EQ(balloon.state->getAnimationName(), "sortir");
    EXPECT_FALSE(balloon.state->getLoop());
    const float popLength = balloon.state->getLength();
    double elapsed = 0;
    while (balloon.state->getAnimationName() == "sortir" && elapsed < 10)
    {
        Checkpoint::update(checkpoint, 1.0 / 60.0);
        elapsed += 1.0 / 60.0;
    }
    EXPECT_NEAR(elapsed, popLength, 1.0 / 30.0);
    EXPECT_TRUE(balloon.state->getLoop());
    EXPECT_FALSE(balloon.entity->getAnimationState("sortir")->getEnabled());
    for (int i = 0; i < 600; ++i)
        Checkpoint::update(checkpoint, 1.0 / 60.0);
    EXPECT_EQ(balloon.state->getAnimationName(), "repos");
}

} // namespace
