// What a level's platforms and meteors cost per frame, headless (no rendering). Not part of the test run;
// measured in a build without sanitizers with
//   test_world --gtest_also_run_disabled_tests --gtest_filter='*FrameCost*'

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "level_objects_fixture.h"
#include "world/bad_ball.h"
#include "world/phys_bad_ball.h"
#include "world/rotating_platform.h"
#include "world/sliding_platform.h"
#include "world/static_platform.h"

namespace
{

using FrameCostTest = LevelObjectsTest;

TEST_F(FrameCostTest, DISABLED_LevelOfPlatformsAndMeteors)
{
    // Bigger than any of the game's levels: 40 planks, 13 launchers with 55 meteors, two players.
    for (int i = 0; i < 20; ++i)
        new StaticPlatform(i * 40.0f, 0, 0, 20 + i % 4 * 10, i % 3, 0.0);
    for (int i = 0; i < 10; ++i)
        new RotatingPlatform(i * 40.0f + 20, 30, 0, 30, Platform::kindLog, i % 2, i % 3);
    for (int i = 0; i < 10; ++i)
        new SlidingPlatform(i * 40.0f, 60, 0, 20, Platform::kindLog, true, "4442", false, i % 2, i % 3 == 0,
                            false, 0, 8.0, 0.0);
    for (int i = 0; i < 10; ++i)
        new BadBall({i * 40.0f, 120, -50}, i % 2, i % 2, -5, 10, 4, 1, i * 0.1);
    for (int i = 0; i < 3; ++i)
        new PhysBadBall({i * 100.0f, 100, -50}, i % 2, true, -5, 0, 5, 1, 0);
    b2Body* feet[2] = {makeFeet(0, 4), makeFeet(40, 4)};
    const Ogre::AxisAlignedBox hurtBox(-2, 0, -12, 2, 7, -8);

    std::vector<double> micros;
    int strikes = 0;
    for (int i = 0; i < 1200; ++i)
    {
        const auto start = std::chrono::steady_clock::now();
        frame(feet[0], 20.0f, feet[1], -20.0f);
        for (Enemic* enemy : Enemic::instances())
            strikes += enemy->hitsBox(hurtBox) + enemy->hitsBox(hurtBox);
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(micros.begin(), micros.end());
    std::printf("frame (platforms, meteors, strike tests, step): median %.0f us, 99th percentile %.0f us, "
                "max %.0f us; %d strikes\n",
                micros[micros.size() / 2], micros[micros.size() * 99 / 100], micros.back(), strikes);
}

} // namespace
