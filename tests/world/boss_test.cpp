#include <algorithm>
#include <cmath>
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
    void SetUp() override
    {
        LevelObjectsTest::SetUp();
        using Box = Ogre::AxisAlignedBox;
        // Body, bow tie and hat share one set of animations; the hat and monocle fly off in 1.5 s.
        const std::vector<standin::Animation> bodyAnimations = {
            {"respirar", 3.0f}, {"rebre", 1.0f}, {"morir", 2.0f}, {"perdre_elem", 1.5f}};
        standin::makeAnimatedMesh("octoboss.mesh", Box(-15, -11, -15, 15, 19, 15), "tex_octoboss",
                                  bodyAnimations);
        standin::makeAnimatedMesh("pajarita.mesh", Box(-3, -8, -14, 3, -4, -12), "tex_pajarita",
                                  bodyAnimations);
        standin::makeAnimatedMesh("hat.mesh", Box(-6, 17, -6, 6, 30, 6), "tex_hat", bodyAnimations);
        standin::makeAnimatedMesh("monoculo.mesh", Box(3, 6, -15, 7, 10, -13), "tex_monoculo",
                                  bodyAnimations);
        standin::makeAnimatedMesh("tentacle.mesh", Box(-3, 0, -3, 3, 40, 3), "tex_tentacle",
                                  {{"mou1", 3.0f}});
        for (const char* material : {"tex_octoboss_ouch", "tex_octoboss_ouch2", "tex_tentacle_far"})
            standin::makeMaterial(material);
    }

    Boss* makeBoss(int hitPoints, double speed = 0.0)
    {
        return new Boss(Ogre::Vector3(0, -20, 40), hitPoints, speed, 30.0);
    }

    // Puts a meteor of launcher just inside the top of the boss's head, falling at vy units/s; false if the
    // pool has no meteor left to send.
    static bool dropOnHead(const Boss& boss, PhysBadBall& launcher, float vy = -10.0f)
    {
        if (!launcher.launch(0, 0))
            return false;
        for (const PhysBadBall::Meteor& meteor : launcher.meteors())
            if (meteor.lifeLeft > 9.9)
            {
                const Ogre::Vector3 at = boss.node->getPosition() + Ogre::Vector3(0, 5 + 17, 0);
                meteor.body->SetTransform(b2Vec2(at.x, at.y), 0);
                meteor.body->SetLinearVelocity(b2Vec2(0, vy));
                meteor.picture.node->setPosition(at.x, at.y, 0);
                return true;
            }
        return false;
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

    // Launches made this frame by each of the boss's launchers, as 'P' (physical) or 'B' (ballistic) with
    // 'l' or 'r' for the side.
    struct LaunchWatch
    {
        std::vector<double> before[4];
        void snapshot(const Boss& boss)
        {
            fill(0, boss.physBallLeft->meteors());
            fill(1, boss.physBallRight->meteors());
            fill(2, boss.badBallLeft->meteors());
            fill(3, boss.badBallRight->meteors());
        }
        template <typename Meteors> void fill(int k, const Meteors& meteors)
        {
            before[k].clear();
            for (const auto& meteor : meteors)
                before[k].push_back(meteor.lifeLeft);
        }
        template <typename Meteors> bool launched(int k, const Meteors& meteors) const
        {
            for (size_t i = 0; i < meteors.size(); ++i)
                if (meteors[i].lifeLeft > before[k][i])
                    return true;
            return false;
        }
        std::string seen(const Boss& boss) const
        {
            std::string out;
            if (launched(0, boss.physBallLeft->meteors()))
                out += "Pl";
            if (launched(1, boss.physBallRight->meteors()))
                out += "Pr";
            if (launched(2, boss.badBallLeft->meteors()))
                out += "Bl";
            if (launched(3, boss.badBallRight->meteors()))
                out += "Br";
            return out;
        }
    };

    // Runs seconds of frames and returns each launch with the time it was made.
    std::vector<std::pair<float, std::string>> launchesOver(Boss& boss, float seconds)
    {
        std::vector<std::pair<float, std::string>> launches;
        LaunchWatch watch;
        for (int i = 1; i <= framesFor(seconds); ++i)
        {
            watch.snapshot(boss);
            frame();
            const std::string seen = watch.seen(boss);
            if (!seen.empty())
                launches.emplace_back(i * frameTime, seen);
        }
        return launches;
    }
};

TEST_F(BossTest, IsAnEnemyThatNeverHurtsByTouch)
{
    Boss* boss = makeBoss(5);
    EXPECT_EQ(Enemic::instances().size(), 5u); // the boss and its four launchers
    EXPECT_EQ(boss->node->getScale(), Ogre::Vector3(1.2f, 1.2f, 1.2f));
    const Ogre::Vector3 centre = boss->node->getPosition();
    EXPECT_FALSE(boss->hitsSphere(Ogre::Sphere(centre, 50)));
    EXPECT_FALSE(boss->hitsBox(Ogre::AxisAlignedBox(centre - 50, centre + 50)));
    EXPECT_EQ(boss->tentacles[0].entity->getSubEntity(0)->getMaterialName(), "tex_tentacle");
    EXPECT_EQ(boss->tentacles[3].entity->getSubEntity(0)->getMaterialName(), "tex_tentacle_far");
}

TEST_F(BossTest, PatrolsItsRangeWithTentaclesTrailing)
{
    Boss* boss = makeBoss(5, 20.0);
    float minX = 0, maxX = 0;
    for (int i = 0; i < framesFor(8.0f); ++i)
    {
        frame();
        minX = std::min(minX, boss->node->getPosition().x);
        maxX = std::max(maxX, boss->node->getPosition().x);
        // A tentacle drifts at most half the patrol speed against the body, in the node's space.
        EXPECT_LT(std::abs(boss->tentacles[0].node->getPosition().x - 80.0f), 30.0f / 2 + 1);
    }
    EXPECT_NEAR(maxX, 30.0f, 0.5f);
    EXPECT_NEAR(minX, -30.0f, 0.5f);
}

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
    EXPECT_EQ(boss->body->getSubEntity(0)->getMaterialName(), "tex_octoboss_ouch");
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
    EXPECT_EQ(boss->monocleBlender->getAnimationName(), "rebre");
    clearMeteors(*boss);
    // The hat stays on while its flight plays out (1.5 s) and the body blinks; then the hat hides.
    bool sawOuch = false, sawOuch2 = false;
    for (int i = 0; i < framesFor(1.4f); ++i)
    {
        frame();
        EXPECT_TRUE(boss->hat->isVisible());
        const std::string material = boss->body->getSubEntity(0)->getMaterialName();
        sawOuch = sawOuch || material == "tex_octoboss_ouch";
        sawOuch2 = sawOuch2 || material == "tex_octoboss_ouch2";
        EXPECT_NE(material, "tex_octoboss");
    }
    EXPECT_TRUE(sawOuch && sawOuch2);
    runFor(0.2f);
    EXPECT_FALSE(boss->hat->isVisible());
    EXPECT_TRUE(boss->monocle->isVisible());
    runFor(1.6f);
    EXPECT_LT(boss->hurtTimer, 0.0);
    EXPECT_EQ(boss->body->getSubEntity(0)->getMaterialName(), "tex_octoboss");

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

TEST_F(BossTest, AFlinchingBossCannotBeHitAndDoesNotBounceTheMeteor)
{
    Boss* boss = makeBoss(5);
    ASSERT_TRUE(dropOnHead(*boss, *boss->physBallLeft));
    frame();
    ASSERT_EQ(boss->hitPoints, 4);
    clearMeteors(*boss);
    runFor(2.5f);
    ASSERT_TRUE(dropOnHead(*boss, *boss->physBallRight, -12.0f));
    boss->update(frameTime);
    EXPECT_EQ(boss->hitPoints, 4);
    for (const PhysBadBall::Meteor& meteor : boss->physBallRight->meteors())
    {
        if (meteor.lifeLeft > 9.9)
        {
            EXPECT_EQ(meteor.body->GetLinearVelocity().y, -12.0f);
        }
    }
    clearMeteors(*boss);
    // A meteor that merely drifts down (slower than 3 units/s) does not hurt either.
    runFor(1.0f);
    ASSERT_LT(boss->hurtTimer, 0.0);
    ASSERT_TRUE(dropOnHead(*boss, *boss->physBallLeft, -2.0f));
    boss->update(frameTime);
    EXPECT_EQ(boss->hitPoints, 4);
}

TEST_F(BossTest, AttacksQuickenAsItWeakens)
{
    Boss* boss = makeBoss(5);
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

TEST_F(BossTest, NoPhysicalMeteorWhileFlinching)
{
    Boss* boss = makeBoss(5);
    ASSERT_TRUE(dropOnHead(*boss, *boss->physBallLeft));
    boss->volleyCounter = 0;
    boss->throwLeft = true;
    boss->attackTimer = 0;
    frame();
    ASSERT_EQ(boss->hitPoints, 4);
    clearMeteors(*boss);
    for (const auto& launch : launchesOver(*boss, 2.9f))
        EXPECT_EQ(launch.second[0], 'B') << launch.first;
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
