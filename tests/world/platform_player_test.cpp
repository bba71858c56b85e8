// Platforms and meteors with the real player bear standing on them or struck by them.

#include "level_objects_fixture.h"
#include "world/bad_ball.h"
#include "world/player.h"
#include "world/rotating_platform.h"
#include "world/sliding_platform.h"

namespace
{

class WithPlayerTest : public LevelObjectsTest
{
  protected:
    // The main scene's order: the player, then the platforms and enemies, then the step.
    void run(Player& player, float seconds, float tilt)
    {
        for (int i = 0; i < framesFor(seconds); ++i)
        {
            player.update(frameTime, 0, false);
            frame(player.feetBody(), tilt);
        }
    }
};

TEST_F(WithPlayerTest, BearRidesASlidingPlankAlongItsRail)
{
    auto* slider = new SlidingPlatform(0, 0, 0, 20, Platform::kindBox, false, "44", false, false, false,
                                       false, 0, 5.0, 0.0);
    Player bear(0, 3, 0, 1);
    run(bear, 0.5f, 0);
    EXPECT_TRUE(slider->checkContact(bear.feetBody(), 1));
    run(bear, 2.5f, 0);
    const float plankX = slider->plankBody()->GetPosition().x;
    EXPECT_GT(plankX, 8.0f);
    EXPECT_NEAR(bear.feetBody()->GetPosition().x, plankX, 0.5f);
    EXPECT_TRUE(slider->checkContact(bear.feetBody(), 1));
}

TEST_F(WithPlayerTest, BearTiltsTheLogItStandsOnAndStaysOnIt)
{
    auto* log = new RotatingPlatform(0, 0, 0, 30, Platform::kindLog, false, 0);
    Player bear(0, 3, 0, 1);
    run(bear, 3.0f, 20.0f);
    EXPECT_NEAR(log->plankBody()->GetAngle() * Ogre::Math::fRad2Deg, 20.0f, 1.0f);
    EXPECT_EQ(log->colourOwner, 1);
    EXPECT_TRUE(physics::touches(*log->plankBody(), *bear.feetBody()));
    EXPECT_LT(std::fabs(bear.feetBody()->GetPosition().x), 10.0f);
}

TEST_F(WithPlayerTest, WaitingMeteorAtTheBearKnocksItOut)
{
    // The bear stands at depth -10 and the meteor waits at -50: the strike test ignores depth.
    Player bear(0, 3, 0, 1);
    new BadBall({0, 4, -50}, false, false, 0, 0, 4, 4, 10);
    run(bear, 0.1f, 0);
    EXPECT_TRUE(bear.isKnockedOut());
}

} // namespace
