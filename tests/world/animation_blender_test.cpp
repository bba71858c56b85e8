#include <cstdlib>
#include <memory>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "platform/headless_engine.h"
#include "support/stand_in_media.h"
#include "world/animation_blender.h"

namespace
{

constexpr float frame = 1.0f / 60.0f;

class AnimationBlenderTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        standin::makeAnimatedMesh("blended.mesh", Ogre::AxisAlignedBox(-1, -1, -1, 1, 1, 1), "blended",
                                  {{"A", 1.0f}, {"B", 1.0f}, {"C", 1.0f}, {"once", 0.5f}});
        entity = engine.sceneManager().createEntity("blended.mesh");
        blender = std::make_unique<AnimationBlender>(entity);
        blender->start("A");
    }
    Ogre::AnimationState* state(const char* name) { return entity->getAnimationState(name); }
    void run(float seconds)
    {
        for (int i = 0; i < static_cast<int>(seconds / frame + 0.5f); ++i)
            blender->update(frame);
    }

    platform::HeadlessEngine engine;
    Ogre::Entity* entity = nullptr;
    std::unique_ptr<AnimationBlender> blender;
};

TEST_F(AnimationBlenderTest, RequestingTheRunningAnimationAgainChangesNothing)
{
    // A twin entity fades once; ours is asked again every frame, with other arguments too.
    Ogre::Entity* twin = engine.sceneManager().createEntity("blended.mesh");
    AnimationBlender once(twin);
    once.start("A");
    once.blend("B", AnimationBlender::FadeWhilePlaying, 0.5f, true);
    blender->blend("B", AnimationBlender::FadeWhilePlaying, 0.5f, true);
    for (int i = 0; i < 45; ++i)
    {
        blender->blend("B", AnimationBlender::Cut, 0.1f, false);
        blender->update(frame);
        once.update(frame);
        ASSERT_EQ(state("B")->getWeight(), twin->getAnimationState("B")->getWeight()) << i;
        ASSERT_EQ(state("B")->getTimePosition(), twin->getAnimationState("B")->getTimePosition()) << i;
    }
    EXPECT_TRUE(state("B")->getLoop());
}

TEST_F(AnimationBlenderTest, FadesKeepTheirWeightsSummingToOne)
{
    // A random walk through requests and frames: the invariant holds after every call.
    std::srand(7);
    const char* names[] = {"A", "B", "C"};
    for (int step = 0; step < 2000; ++step)
    {
        if (std::rand() % 4 == 0)
            blender->blend(names[std::rand() % 3], 1 + std::rand() % 2, 0.1f + 0.1f * (std::rand() % 5),
                           true);
        else
            blender->update(frame);
        Ogre::AnimationState* source = blender->source();
        ASSERT_TRUE(source->getEnabled());
        if (blender->timeLeft() > 0.0f)
        {
            ASSERT_TRUE(blender->target()->getEnabled());
            ASSERT_NE(blender->target(), source);
            ASSERT_NEAR(source->getWeight() + blender->target()->getWeight(), 1.0f, 1e-5f) << step;
        }
        else
        {
            ASSERT_EQ(source->getWeight(), 1.0f) << step;
            for (const char* name : names)
                ASSERT_TRUE(state(name) == source || !state(name)->getEnabled()) << step;
        }
    }
}

TEST_F(AnimationBlenderTest, GoingBackDuringAFadeReversesItFromWhereItWas)
{
    blender->blend("B", AnimationBlender::FadeWhilePlaying, 0.5f, true);
    blender->update(0.3f);
    const float weightOfA = state("A")->getWeight();
    blender->blend("A", AnimationBlender::FadeWhilePlaying, 0.5f, true);
    EXPECT_NEAR(blender->timeLeft(), 0.3f, 1e-5f);
    EXPECT_EQ(blender->target(), state("A"));
    EXPECT_EQ(state("A")->getWeight(), weightOfA);
    blender->update(0.1f);
    EXPECT_NEAR(state("A")->getWeight(), 0.6f, 1e-5f);
    blender->update(0.25f);
    EXPECT_EQ(blender->source(), state("A"));
    EXPECT_FALSE(state("B")->getEnabled());
}

TEST_F(AnimationBlenderTest, CutAndZeroLengthFadesSwitchAtOnce)
{
    blender->blend("B", AnimationBlender::FadeWhilePlaying, 0.5f, true);
    blender->update(0.2f);
    const float weightOfB = state("B")->getWeight();
    blender->blend("C", AnimationBlender::Cut, 0.2f, true);
    EXPECT_EQ(blender->source(), state("C"));
    EXPECT_EQ(state("C")->getWeight(), 1.0f);
    EXPECT_FALSE(state("A")->getEnabled());
    run(0.5f);
    // The abandoned target stays where it was.
    EXPECT_TRUE(state("B")->getEnabled());
    EXPECT_EQ(state("B")->getWeight(), weightOfB);

    blender->start("A");
    blender->blend("B", AnimationBlender::FadeWhilePlaying, 0.0f, true);
    EXPECT_EQ(blender->source(), state("B"));
    EXPECT_EQ(state("B")->getWeight(), 1.0f);
    EXPECT_FALSE(state("A")->getEnabled());
}

TEST_F(AnimationBlenderTest, CompleteReportsTheEndOfANonLoopingSource)
{
    blender->blend("once", AnimationBlender::Cut, 0.0f, false);
    int firstComplete = -1;
    for (int i = 0; i < 60 && firstComplete < 0; ++i)
    {
        blender->update(frame);
        if (blender->complete())
            firstComplete = i;
    }
    // 0.5 s at 60 frames per second: the end is reached by the 30th frame's advance and seen by the next.
    EXPECT_NEAR(firstComplete, 30, 1);
    blender->blend("A", AnimationBlender::Cut, 0.0f, true);
    blender->update(frame);
    EXPECT_FALSE(blender->complete());
}

} // namespace
