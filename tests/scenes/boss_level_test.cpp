// The boss level with the real application, media and physics at 1/60 s: the recorded one-player route
// defeats the octopus and the game goes on to the name entry, the same way on every run; and the arena
// itself never hurts the boss, so only a player who tilts the logs can win.

#include <cstring>
#include <string>

#include <OgreSceneNode.h>
#include <box2d/box2d.h>

#include <gtest/gtest.h>

#include "scenes/main_scene.h"
#include "support/child_run.h"
#include "support/replay.h"
#include "support/test_paths.h"
#include "world/boss.h"
#include "world/player.h"

namespace
{
constexpr int framesPerSecond = 60;

// What one run saw. Plain values only: it crosses a pipe from the child process that ran it.
struct BossRun
{
    int failed = 0;
    int hitPointsAtStart = 0;
    int hitPointsLeft = 0;
    int defeated = 0;
    long defeatFrame = -1;
    int winner = 0;
    int reachedScoreEntry = 0;
    // Player 1 when the boss vanished: pivot x, y; feet x, y. Compared as raw bytes.
    float playerAtDefeat[4] = {};
};

// Plays the route, then waits (nothing held) for at most `waitFrames` until the name entry opens.
BossRun playBossLevel(const Route& route, long waitFrames)
{
    GameDriver game(new MainScene("boss1.imf", 1));
    auto* scene = &game.current<MainScene>();
    BossRun run;
    if (!scene->boss())
        return run;
    run.hitPointsAtStart = scene->boss()->maxHitPoints;
    const auto watch = [&]()
    {
        const Boss* boss = scene->boss();
        if (!boss || !boss->defeated || run.defeated)
            return;
        run.defeated = 1;
        run.defeatFrame = game.frameCount();
        const Player& player = *scene->player(1);
        const b2Vec2 feet = player.feetBody()->GetPosition();
        const Ogre::Vector3 pivot = player.pivotNode->getPosition();
        const float state[4] = {pivot.x, pivot.y, feet.x, feet.y};
        std::memcpy(run.playerAtDefeat, state, sizeof state);
    };
    for (const ReplayFrame& frame : route.frames)
    {
        game.step(frame);
        if (game.scene() != scene)
            return run;
        watch();
    }
    const ReplayFrame none;
    const ReplayFrame back = ReplayFrame::holding("B");
    bool skipped = false;
    bool backHeld = false;
    for (long i = 0; i < waitFrames && game.scene() == scene && !scene->scoreTable(); ++i)
    {
        // The jingle plays in real time: Escape skips it. Had it already ended, Escape opened the pause
        // menu instead, and another one closes it.
        const bool press = !backHeld && scene->winner() != 0 && (!skipped || scene->paused());
        skipped = skipped || press;
        backHeld = press;
        game.step(press ? back : none);
        watch();
    }
    if (game.scene() != scene)
        return run;
    run.hitPointsLeft = scene->boss() ? scene->boss()->hitPoints : -1;
    run.winner = scene->winner();
    run.reachedScoreEntry = scene->scoreTable() != nullptr;
    return run;
}

} // namespace

TEST(BossLevel, TheRecordedRouteDefeatsTheBossAndOpensTheNameEntryTheSameWayTwice)
{
    const Route route = Route::load(testing_paths::sourceDir() + "/tests/routes/boss1_1p.route");
    // The jingle lasts a few seconds; the name entry follows it.
    const long waitFrames = 20 * framesPerSecond;

    const BossRun first = runInChild<BossRun>([&] { return playBossLevel(route, waitFrames); });
    ASSERT_FALSE(first.failed);
    EXPECT_EQ(first.hitPointsAtStart, 5);
    ASSERT_TRUE(first.defeated) << "the route ends with " << first.hitPointsLeft << " hit points left";
    // A skilled player needs one to three minutes.
    EXPECT_GE(first.defeatFrame, 60 * framesPerSecond);
    EXPECT_LE(first.defeatFrame, 180 * framesPerSecond);
    EXPECT_EQ(first.winner, 1) << "the vanished boss is the goal";
    EXPECT_TRUE(first.reachedScoreEntry) << "the boss level is the last: the name entry follows";

    const BossRun second = runInChild<BossRun>([&] { return playBossLevel(route, waitFrames); });
    ASSERT_FALSE(second.failed);
    ASSERT_TRUE(second.defeated);
    EXPECT_EQ(second.defeatFrame, first.defeatFrame);
    EXPECT_EQ(0, std::memcmp(first.playerAtDefeat, second.playerAtDefeat, sizeof first.playerAtDefeat))
        << "player 1 stands elsewhere on the second run";
}

// Green meteors that bounce off level logs must fall wide of the octopus: if the arena sent them back on
// its own, the boss would die while the player watched.
TEST(BossLevel, LeftAloneForThreeMinutesTheBossKeepsEveryHitPoint)
{
    const BossRun idle = runInChild<BossRun>([&] { return playBossLevel(Route(), 180 * framesPerSecond); });
    ASSERT_FALSE(idle.failed);
    EXPECT_FALSE(idle.defeated);
    EXPECT_EQ(idle.hitPointsLeft, idle.hitPointsAtStart);
    EXPECT_EQ(idle.winner, 0);
}
