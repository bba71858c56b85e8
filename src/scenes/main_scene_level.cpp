// Turning a level file into the level: players, every record's object, the goal cat, sky, birds, clouds.

#include <cstdlib>

#include <Ogre.h>

#include "core/access_points.h"
#include "core/camera_rig.h"
#include "decor/bird_emitter.h"
#include "decor/butterfly.h"
#include "decor/cat.h"
#include "decor/cloud_emitter.h"
#include "decor/fons.h"
#include "decor/static_decor.h"
#include "scenes/level_file.h"
#include "scenes/main_scene.h"
#include "world/bad_ball.h"
#include "world/bad_ball_emitter.h"
#include "world/boss.h"
#include "world/checkpoint.h"
#include "world/phys_bad_ball.h"
#include "world/physics.h"
#include "world/player.h"
#include "world/rotating_platform.h"
#include "world/sliding_platform.h"
#include "world/static_platform.h"

namespace
{
constexpr float playerSpacing = 5.0f;
constexpr float bossCameraYOffset = -30.0f;
constexpr float bossCameraMargin = 120.0f;
constexpr unsigned levelSeed = 1;
// Backdrop pictures lie behind everything else; each one a little nearer than the one before it in the file,
// so where two overlap the later one is in front, decided by depth like any other geometry.
constexpr float backdropZ = 200.0f;
constexpr float backdropStepZ = 0.1f;

float f(double value)
{
    return static_cast<float>(value);
}

// Builds one record's object; the object registers itself in its family.
struct RecordBuilder
{
    // Where the boss goes, if the level has one.
    Boss** boss;
    // Backdrop pictures placed so far.
    int* backdrops;

    void operator()(const StaticPlatformRecord& r) const
    {
        new StaticPlatform(f(r.x), f(r.y), 0, r.length, r.kind, r.angle);
    }
    void operator()(const SlidingPlatformRecord& r) const
    {
        new SlidingPlatform(f(r.x), f(r.y), 0, r.length, r.kind, r.tiltable, r.rail, r.invertTilt,
                            r.tiltDriven, r.circular, r.reverseSlide, r.side, r.speed, r.angle);
    }
    void operator()(const RotatingPlatformRecord& r) const
    {
        new RotatingPlatform(f(r.x), f(r.y), 0, r.length, r.kind, r.invertTilt, r.side);
    }
    void operator()(const LauncherRecord& r) const
    {
        const Ogre::Vector3 where(f(r.x), f(r.y), -50);
        if (r.physical)
            new PhysBadBall(where, r.gravity, r.varySpeed, r.launchVx, r.launchVy, r.life, r.interval,
                            r.firstDelay);
        else
            new BadBall(where, r.gravity, r.varySpeed, r.launchVx, r.launchVy, r.life, r.interval,
                        r.firstDelay);
    }
    void operator()(const EmitterRowRecord& r) const
    {
        buildMeteorEmitter(r.x1, r.x2, r.y, r.launchVx, r.launchVy, r.gravity, r.life, r.interval, r.count);
    }
    void operator()(const ButterflyRecord& r) const { new Butterfly(Ogre::Vector3(f(r.x), f(r.y), -40)); }
    void operator()(const StaticDecorRecord& r) const
    {
        new StaticDecor(Ogre::Vector3(f(r.x), f(r.y), r.front ? -50.0f : 100.0f), f(r.scale), r.mesh);
    }
    void operator()(const Static2dDecorRecord& r) const
    {
        const float z = backdropZ - backdropStepZ * static_cast<float>((*backdrops)++);
        new Static2dDecor(Ogre::Vector3(f(r.x), f(r.y), z), f(r.size), r.material);
    }
    void operator()(const CheckpointRecord& r) const { new Checkpoint(Ogre::Vector3(f(r.x), f(r.y), 0)); }
    void operator()(const BossRecord& r) const
    {
        *boss = new Boss(Ogre::Vector3(f(r.x), f(r.y), 40), r.hp, r.speed, r.range);
    }
};
} // namespace

std::optional<std::string> MainScene::readLevelResource(const std::string& fileName)
{
    auto& resources = Ogre::ResourceGroupManager::getSingleton();
    if (!resources.resourceExistsInAnyGroup(fileName))
        return std::nullopt;
    const std::string& group = resources.findGroupContainingResource(fileName);
    return resources.openResource(fileName, group)->getAsString();
}

void MainScene::loadLevel(const std::string& fileName, int players)
{
    const std::optional<std::string> text = readLevelResource(fileName);
    if (!text)
        throw LevelError(LevelProblem::missingFile(fileName));
    const LevelDescription level = parseLevel(*text, fileName);
    startFromTheSameState();
    const LevelHeader& header = level.header;
    mStartX = header.startX;
    mStartY = header.startY;
    mGoalX = header.goalX;
    mGoalY = header.goalY;
    mNextLevel = header.nextLevel;

    for (int i = 1; i <= players; ++i)
        mPlayers[i - 1] = new Player(mStartX - playerSpacing * static_cast<float>(i - 1), mStartY, 0, i);

    int backdrops = 0;
    for (const LevelRecord& record : level.records)
        std::visit(RecordBuilder{&mBoss, &backdrops}, record);

    if (mBoss)
    {
        mCameraYOffset = bossCameraYOffset;
        mCameraMargin = bossCameraMargin;
    }
    else
        mGoalCat = new Cat(Ogre::Vector3(mGoalX, mGoalY, -80));
    new Fons;
    new BirdEmitter(5.0);
    const int cloudLength = static_cast<int>(mStartX - mGoalX + 200);
    new CloudEmitter(Ogre::Vector3(mStartX + 100, -7, -90), cloudLength, "cloud1", 0.4, 1.0, 25.0);
    new CloudEmitter(Ogre::Vector3(mStartX + 100, -7, -70), cloudLength, "cloud2", 0.4, 0.8, 50.0);
    cameraNode().setPosition(mPlayers[0]->pivotNode->getPosition() + Ogre::Vector3(0, 11, -100));
}

// Every play of a level starts from the same state, wherever it comes in a game: a fresh physics world
// (an emptied one keeps internal orderings from the level before, which change how contacts resolve) and
// the same random draws for meteor speeds and scenery. Best times then compare players, not luck, and a
// recorded route replays exactly.
void MainScene::startFromTheSameState()
{

    if (thePhysicsWorld->GetBodyCount() == 0)
    {
        delete thePhysicsWorld;
        thePhysicsWorld = physics::createWorld();
    }
    std::srand(levelSeed);
}
