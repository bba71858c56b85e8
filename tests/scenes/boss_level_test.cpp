// The boss level with the real application, media and physics at 1/60 s: the recorded one-player route
// defeats the octopus and the game goes on to the name entry, the same way on every run; and the arena
// itself never hurts the boss, so only a player who tilts the logs can win.

#include <algorithm>
#include <cmath>
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
#include "world/phys_bad_ball.h"
#include "world/platform.h"
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

// Green meteors that bounce off untilted logs must fall wide of the octopus: if the arena sent them back on
// its own, the boss would die while the player watched. A rising meteor that strikes a log's flat underside
// falls away outwards; one that strikes a log by its end, at the gap to the next log, is thrown back
// inwards onto the octopus. Where the meteors meet the logs depends on where the patrol had taken the boss
// when it threw: at full strength its throws keep finding it at the same few points, at one hit point left
// they leave from all along the patrol. Whether such a strike costs a hit point depends on the boss's
// phase as the meteor comes down, so every strike is measured too. A player standing on a log without
// tilting it must change none of this.
namespace
{
// The nearest a green meteor may strike a log's end: its diameter.
constexpr float strikeClearance = 2.0f;

struct Calm
{
    const char* what;
    // Followed first, at full strength; "" leaves the player at the start.
    const char* walk;
    // Then the boss is left with this many (fewer than its full strength make it throw faster), and
    // nothing is held for `seconds`.
    int hitPoints;
    int seconds;
    // Where the player must be standing at the end, so that the case tests what it says.
    float playerMinX;
    float playerMaxX;
};

struct CalmRun
{
    int failed = 0;
    int hitPointsBefore = 0;
    int hitPointsAfter = 0;
    int knockedOut = 0;
    float playerX = 0;
    int strikeFrames = 0;
    // Over every frame in which a green meteor touched a plank: the least distance, along the plank, from
    // the meteor's centre to the plank's nearer end.
    float closestToAnEnd = 1e9f;
};

// The plank half-length of platform, from its box.
float halfLength(const Platform& platform)
{
    const auto& box = static_cast<const b2PolygonShape&>(*platform.plankBody()->GetFixtureList()->GetShape());
    float half = 0;
    for (int i = 0; i < box.m_count; ++i)
        half = std::max(half, std::abs(box.m_vertices[i].x));
    return half;
}

void measureStrikes(const Boss& boss, CalmRun& run)
{
    for (const PhysBadBall* launcher : {boss.physBallLeft, boss.physBallRight})
        for (const PhysBadBall::Meteor& meteor : launcher->meteors())
            for (const b2ContactEdge* edge = meteor.body->GetContactList(); edge; edge = edge->next)
            {
                if (!edge->contact->IsTouching())
                    continue;
                for (const Platform* platform : Platform::instances())
                {
                    if (edge->other != platform->plankBody())
                        continue;
                    const b2Vec2 along = platform->plankBody()->GetLocalPoint(meteor.body->GetPosition());
                    ++run.strikeFrames;
                    run.closestToAnEnd =
                        std::min(run.closestToAnEnd, halfLength(*platform) - std::abs(along.x));
                }
            }
}

CalmRun leaveAlone(const Calm& calm)
{
    GameDriver game(new MainScene("boss1.imf", 1));
    auto& scene = game.current<MainScene>();
    Boss& boss = *scene.boss();
    const Player& player = *scene.player(1);
    CalmRun run;
    game.play(Route::parse(calm.walk));
    if (calm.hitPoints < boss.maxHitPoints)
        boss.hitPoints = calm.hitPoints;
    run.hitPointsBefore = boss.hitPoints;
    for (int i = 0; i < calm.seconds * framesPerSecond && game.scene() == &scene; ++i)
    {
        game.step(ReplayFrame());
        run.knockedOut |= player.isKnockedOut();
        measureStrikes(boss, run);
    }
    if (game.scene() != &scene)
        return run;
    run.hitPointsAfter = boss.hitPoints;
    run.playerX = player.pivotNode->getPosition().x;
    return run;
}
} // namespace

TEST(BossLevel, LeftAloneOrBesideAStillPlayerTheBossKeepsEveryHitPoint)
{
    // The logs lie across x 15.7 to 44.3 (near), -14.3 to 14.3 and -44.3 to -15.7 (far); the player
    // starts at x 64 and walks towards -x.
    const Calm cases[] = {
        {"nobody plays for three minutes", "", 5, 180, 63.0f, 65.0f},
        {"throwing at its fastest", "", 1, 90, 63.0f, 65.0f},
        {"a player stands still on the near log", "49 -\n75 R", 1, 90, 15.7f, 44.3f},
        {"a player stands still on the far log", "49 -\n310 R", 1, 90, -44.3f, -15.7f},
    };
    for (const Calm& calm : cases)
    {
        SCOPED_TRACE(calm.what);
        const CalmRun run = runInChild<CalmRun>([&] { return leaveAlone(calm); });
        ASSERT_FALSE(run.failed);
        EXPECT_EQ(run.hitPointsAfter, run.hitPointsBefore);
        EXPECT_GT(run.strikeFrames, 0) << "no green meteor met a log";
        EXPECT_GE(run.closestToAnEnd, strikeClearance) << "a green meteor struck a log by its end";
        EXPECT_FALSE(run.knockedOut) << "the player was struck, so the case tested less than it says";
        EXPECT_GE(run.playerX, calm.playerMinX);
        EXPECT_LE(run.playerX, calm.playerMaxX);
    }
}
