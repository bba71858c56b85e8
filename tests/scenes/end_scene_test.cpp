// The credits with the real application and media, driven at 60 frames per second.

#include <cmath>

#include <OgreSceneNode.h>

#include <gtest/gtest.h>

#include "core/access_points.h"
#include "gui/button.h"
#include "gui/button_manager.h"
#include "scenes/end_scene.h"
#include "scenes/intro_scene.h"
#include "support/replay.h"
#include "world/animation_blender.h"

TEST(EndScene, WithoutInputTheLogoReachesTheTopWhenItsOffsetHasScrolledPastTheScreen)
{
    GameDriver game(new EndScene());
    auto& credits = game.current<EndScene>();
    const double height = theButtonManager->getScreenHeight();
    const double expectedSeconds = (height + 2300 - 198 - 30 - 30) / 50;
    int frames = 0;
    while (!credits.creditsDone() && frames < 6000)
    {
        game.idle(1);
        ++frames;
    }
    ASSERT_TRUE(credits.creditsDone());
    EXPECT_NEAR(frames * GameDriver::frameSeconds, expectedSeconds, 0.05);
    EXPECT_LE(credits.creditsPanel(3)->getPosition().y, 30);

    // The panels stop; the cat comes to the middle and jumps.
    const float offset = credits.creditsOffset();
    game.idle(600);
    EXPECT_FLOAT_EQ(credits.creditsOffset(), offset);
    EXPECT_EQ(credits.catDirection(), 0);
    EXPECT_LE(std::abs(credits.catNode()->getPosition().z), 1.0f);
    EXPECT_EQ(credits.catBlender().getAnimationName(), "saltar");
}

TEST(EndScene, APressOfAcceptOrJumpSpeedsTheCreditsUpForThatFrameOnly)
{
    GameDriver game(new EndScene());
    auto& credits = game.current<EndScene>();
    game.idle(1);
    const float start = credits.creditsOffset();
    const float slowStep = static_cast<float>(50 * GameDriver::frameSeconds);
    for (int frame = 0; frame < 30; ++frame)
        game.step(ReplayFrame::holding("A"));
    EXPECT_NEAR(credits.creditsOffset() - start, 31 * slowStep, 0.01) << "held: one fast frame";
    game.step(ReplayFrame::holding("J"));
    EXPECT_NEAR(credits.creditsOffset() - start, 33 * slowStep, 0.01);
}

TEST(EndScene, TheCatRunsPastTheFirstBearToBePettedByTheSecond)
{
    GameDriver game(new EndScene());
    auto& credits = game.current<EndScene>();
    game.idle(1);
    EXPECT_EQ(credits.catDirection(), 1);
    EXPECT_EQ(credits.catBlender().getAnimationName(), "correr_d");
    int frames = 0;
    while (credits.catDirection() != 0 && frames++ < 1200)
        game.idle(1);
    const float z = credits.catNode()->getPosition().z;
    EXPECT_GT(z, 13);
    EXPECT_LT(z, 13.5f);
    EXPECT_EQ(credits.catBlender().getAnimationName(), "rebre_caricia");

    // Petted for 4 s, then off to bear 1.
    game.idle(230);
    EXPECT_EQ(credits.catDirection(), 0);
    game.idle(20);
    EXPECT_EQ(credits.catDirection(), -1);
    EXPECT_EQ(credits.catBlender().getAnimationName(), "correr_e");
}

TEST(EndScene, BackReturnsToTheTitleBeforeTheCreditsEnd)
{
    GameDriver game(new EndScene());
    game.idle(10);
    game.step(ReplayFrame::holding("B"));
    EXPECT_NE(game.sceneAs<IntroScene>(), nullptr);
}
