#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "level_objects_fixture.h"
#include "world/animation_blender.h"
#include "world/bad_ball.h"
#include "world/boss.h"
#include "world/phys_bad_ball.h"

namespace
{

class BossTest : public LevelObjectsTest
{
  protected:
    Boss* makeBoss(int hitPoints) { return new Boss(Ogre::Vector3(0, -20, 40), hitPoints, 0.0, 30.0); }

    // Puts a meteor of launcher just inside the top of the boss's head, falling at vy units/s; its body, or
    // null if the pool has no meteor left to send.
    static b2Body* dropOnHead(const Boss& boss, PhysBadBall& launcher, float vy = -10.0f)
    {
        if (!launcher.launch(0, 0))
            return nullptr;
        const auto& meteors = launcher.meteors();
        const auto& meteor =
            *std::max_element(meteors.begin(), meteors.end(),
                              [](const auto& a, const auto& b) { return a.lifeLeft < b.lifeLeft; });
        const Ogre::Vector3 at = boss.node->getPosition() + Ogre::Vector3(0, 5 + 17, 0);
        meteor.body->SetTransform(b2Vec2(at.x, at.y), 0);
        meteor.body->SetLinearVelocity(b2Vec2(0, vy));
        meteor.picture.node->setPosition(at.x, at.y, 0);
        return meteor.body;
    }

    // Moves every physical meteor in flight far from the boss, so a bounced one cannot come back down on it.
    static void clearMeteors(const Boss& boss)
    {
        for (const PhysBadBall* launcher : {boss.physBallLeft, boss.physBallRight})
            for (const PhysBadBall::Meteor& meteor : launcher->meteors())
            {
                meteor.body->SetTransform(b2Vec2(1000, 1000), 0);
                meteor.body->SetLinearVelocity(b2Vec2(0, 0));
                meteor.picture.node->setPosition(1000, 1000, 0);
            }
    }

    void runFor(float seconds)
    {
        for (int i = 0; i < framesFor(seconds); ++i)
            frame();
    }

    template <typename Pool> static double lifeIn(const Pool* pool)
    {
        double sum = 0;
        for (const auto& meteor : pool->meteors())
            sum += meteor.lifeLeft;
        return sum;
    }

    // Each launch made over seconds of frames, with the time it was made: "Pl" or "Pr" for the physical
    // launcher on the left or right, "Bl" or "Br" for the ballistic ones. Life left only grows at a launch.
    std::vector<std::pair<float, std::string>> launchesOver(const Boss& boss, float seconds)
    {
        const auto lives = [&boss]
        {
            return std::vector<double>{lifeIn(boss.physBallLeft), lifeIn(boss.physBallRight),
                                       lifeIn(boss.badBallLeft), lifeIn(boss.badBallRight)};
        };
        const char* names[] = {"Pl", "Pr", "Bl", "Br"};
        std::vector<std::pair<float, std::string>> launches;
        for (int i = 1; i <= framesFor(seconds); ++i)
        {
            const std::vector<double> before = lives();
            frame();
            const std::vector<double> after = lives();
            std::string seen;
            for (size_t k = 0; k < 4; ++k)
                if (after[k] > before[k])
                    seen += names[k];
            if (!seen.empty())
                launches.emplace_back(i * frameTime, seen);
        }
        return launches;
    }
};

TEST_F(BossTest, OneHitPointDiesAtTheFirstHitKeepingHatAndMonocle)
{
    Boss* boss = makeBoss(1);
    ASSERT_TRUE(dropOnHead(*boss, *boss->physBallRight));
    frame();
    EXPECT_EQ(boss->hitPoints, 0);
    EXPECT_EQ(boss->bodyBlender->getAnimationName(), "morir");
    runFor(3.0f);
    EXPECT_TRUE(boss->hat->isVisible());
    EXPECT_TRUE(boss->monocle->isVisible());
    // Sinking, faster and faster.
    EXPECT_LT(boss->node->getPosition().y, -20.0f - 6.0f);
}

TEST_F(BossTest, ThreeHitPointsLoseHatThenMonocleThenLife)
{
    Boss* boss = makeBoss(3);
    ASSERT_TRUE(dropOnHead(*boss, *boss->physBallLeft));
    frame();
    EXPECT_EQ(boss->hitPoints, 2);
    EXPECT_EQ(boss->hatBlender->getAnimationName(), "perdre_elem");
    clearMeteors(*boss);
    // The hat stays on while its flight plays out (1.5 s) and the body blinks; then the hat hides.
    runFor(1.4f);
    EXPECT_TRUE(boss->hat->isVisible());
    EXPECT_NE(boss->body->getSubEntity(0)->getMaterialName(), "tex_octoboss");
    runFor(0.2f);
    EXPECT_FALSE(boss->hat->isVisible());
    EXPECT_TRUE(boss->monocle->isVisible());
    runFor(1.6f);

    ASSERT_TRUE(dropOnHead(*boss, *boss->physBallLeft));
    frame();
    EXPECT_EQ(boss->hitPoints, 1);
    clearMeteors(*boss);
    runFor(1.6f);
    EXPECT_FALSE(boss->monocle->isVisible());
    EXPECT_TRUE(boss->bowTie->isVisible());
    runFor(1.5f);

    ASSERT_TRUE(dropOnHead(*boss, *boss->physBallRight));
    frame();
    EXPECT_EQ(boss->hitPoints, 0);
}

TEST_F(BossTest, AFlinchingBossThrowsNoPhysicalMeteorAndAnotherHitNeitherCountsNorBounces)
{
    Boss* boss = makeBoss(5);
    ASSERT_TRUE(dropOnHead(*boss, *boss->physBallLeft));
    // Due to throw a physical meteor this very frame.
    boss->volleyCounter = 0;
    boss->throwLeft = true;
    boss->attackTimer = 0;
    frame();
    ASSERT_EQ(boss->hitPoints, 4);
    clearMeteors(*boss);
    for (const auto& launch : launchesOver(*boss, 2.5f))
        EXPECT_EQ(launch.second[0], 'B') << launch.first;

    b2Body* second = dropOnHead(*boss, *boss->physBallRight, -12.0f);
    ASSERT_NE(second, nullptr);
    boss->update(frameTime);
    EXPECT_EQ(boss->hitPoints, 4);
    EXPECT_EQ(second->GetLinearVelocity().y, -12.0f);
}

TEST_F(BossTest, AttacksQuickenAsItWeakensAndTouchingItNeverHurts)
{
    Boss* boss = makeBoss(5);
    const Ogre::Vector3 centre = boss->node->getPosition();
    EXPECT_FALSE(boss->hitsSphere(Ogre::Sphere(centre, 50)));
    EXPECT_FALSE(boss->hitsBox(Ogre::AxisAlignedBox(centre - 50, centre + 50)));
    const auto launches = launchesOver(*boss, 13.5f);
    // One pair of physical meteors, four pairs of ballistic ones, then physical again; one every 1.2 s.
    const std::vector<std::string> expected = {"Pl", "Pr", "Bl", "Br", "Bl", "Br",
                                               "Bl", "Br", "Bl", "Br", "Pl"};
    ASSERT_EQ(launches.size(), expected.size());
    for (size_t i = 0; i < launches.size(); ++i)
    {
        EXPECT_EQ(launches[i].second, expected[i]) << i;
        EXPECT_NEAR(launches[i].first, 1.2f * (i + 1), 1.5f * (i + 1) * frameTime) << i;
    }

    boss->hitPoints = 1;
    boss->attackTimer = 0;
    const auto weak = launchesOver(*boss, 2.4f);
    EXPECT_NEAR(static_cast<float>(weak.size()), 10.0f, 1.0f);
    for (size_t i = 1; i < weak.size(); ++i)
        EXPECT_NEAR(weak[i].first - weak[i - 1].first, 0.24f, 1.5f * frameTime) << i;
}

TEST_F(BossTest, DefeatedSixAndAHalfSecondsAfterTheKillingHitAtAnyFrameRate)
{
    for (const float dt : {1.0f / 60.0f, 1.0f / 30.0f, 1.0f / 25.0f})
    {
        Boss* boss = makeBoss(1);
        ASSERT_TRUE(dropOnHead(*boss, *boss->physBallLeft));
        boss->update(dt);
        ASSERT_EQ(boss->hitPoints, 0);
        float elapsed = 0;
        while (!boss->defeated && elapsed < 10.0f)
        {
            boss->update(dt);
            elapsed += dt;
        }
        EXPECT_GE(elapsed, 6.5f - 1e-3f) << dt;
        EXPECT_LE(elapsed, 6.5f + dt + 1e-3f) << dt;
        EXPECT_FALSE(boss->body->isVisible()) << dt;
        EXPECT_FALSE(boss->tentacles[7].entity->isVisible()) << dt;
        Enemic::deleteAll();
    }
}

} // namespace
