#include "tolerance_run.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include <OgreSceneNode.h>
#include <box2d/box2d.h>

#include "scenes/main_scene.h"
#include "world/platform.h"
#include "world/player.h"
#include "world/rotating_platform.h"
#include "world/sliding_platform.h"

namespace
{
// What the watcher remembers of one player between frames.
struct PlayerWatch
{
    PlatformSpot footing;
    float footX = 0;
    float footY = 0;
    bool knockedOut = false;
    bool waiting = false;
};

PlatformSpot spotOf(const Platform& platform, int index)
{
    PlatformSpot spot;
    spot.index = index;
    if (dynamic_cast<const SlidingPlatform*>(&platform))
        spot.kind = PlatformClass::Sliding;
    else if (dynamic_cast<const RotatingPlatform*>(&platform))
        spot.kind = PlatformClass::Rotating;
    else
        spot.kind = PlatformClass::Static;
    const b2Vec2 anchor = platform.anchorBody()->GetPosition();
    spot.x = anchor.x;
    spot.y = anchor.y;
    return spot;
}

// The platform whose plank the feet touch, if any.
bool findFooting(const Player& player, PlatformSpot& spot)
{
    for (const b2ContactEdge* edge = player.feetBody()->GetContactList(); edge; edge = edge->next)
    {
        if (!edge->contact->IsTouching())
            continue;
        int index = 0;
        for (const Platform* platform : Platform::instances())
        {
            if (platform->plankBody() == edge->other)
            {
                spot = spotOf(*platform, index);
                return true;
            }
            ++index;
        }
    }
    return false;
}

class Watcher
{
  public:
    explicit Watcher(RunOutcome& outcome) : mOutcome(outcome) {}

    // line: the route file's line being played, 0 if none.
    void look(const MainScene& scene, int line)
    {
        mLine = line;
        for (int number = 1; number <= scene.numPlayers(); ++number)
            lookAt(*scene.player(number), mPlayers[number - 1]);
    }

    // A run that ends without a mishap is placed where player 1 last stood: where it was left stranded, or
    // where it won.
    void finish()
    {
        if (mOutcome.mishap == Mishap::None)
        {
            mOutcome.x = mPlayers[0].footX;
            mOutcome.y = mPlayers[0].footY;
            mOutcome.footing = mPlayers[0].footing;
        }
    }

  private:
    void lookAt(const Player& player, PlayerWatch& watch)
    {
        const b2Vec2 feet = player.feetBody()->GetPosition();
        if (!player.isKnockedOut() && !player.respawnCountdown && findFooting(player, watch.footing))
        {
            watch.footX = feet.x;
            watch.footY = feet.y;
        }
        if (player.isKnockedOut() && !watch.knockedOut)
            note(Mishap::MeteorHit, player.playerNumber(), feet.x, feet.y, watch.footing);
        const bool waiting = player.respawnCountdown.has_value();
        if (waiting && !watch.waiting)
        {
            ++mOutcome.falls;
            if (!player.isKnockedOut())
                note(Mishap::Fell, player.playerNumber(), watch.footX, watch.footY, watch.footing);
        }
        watch.knockedOut = player.isKnockedOut();
        watch.waiting = waiting;
    }

    void note(Mishap mishap, int player, float x, float y, const PlatformSpot& footing)
    {
        if (mOutcome.mishap != Mishap::None)
            return;
        mOutcome.mishap = mishap;
        mOutcome.mishapPlayer = player;
        mOutcome.mishapLine = mLine;
        mOutcome.x = x;
        mOutcome.y = y;
        mOutcome.footing = footing;
    }

    RunOutcome& mOutcome;
    PlayerWatch mPlayers[2];
    int mLine = 0;
};

bool won(const MainScene& scene, const std::string& level)
{
    return scene.winner() != 0 || scene.levelFile() != level;
}
} // namespace

RecordedRoute loadRecordedRoute(const std::string& sourceDir, const std::string& nameOrPath)
{
    const bool path = nameOrPath.size() > 6 && nameOrPath.compare(nameOrPath.size() - 6, 6, ".route") == 0;
    const std::string name = path ? std::filesystem::path(nameOrPath).stem().string() : nameOrPath;
    const std::size_t split = name.rfind('_');
    if (split == std::string::npos || name.size() != split + 3 || name[split + 2] != 'p' ||
        (name[split + 1] != '1' && name[split + 1] != '2'))
        throw std::runtime_error("a route is named <level>_1p or <level>_2p, not " + name);
    return {name, name.substr(0, split) + ".imf", name[split + 1] - '0',
            Route::load(path ? nameOrPath : sourceDir + "/tests/routes/" + name + ".route")};
}

std::vector<std::string> recordedRouteNames(const std::string& sourceDir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(sourceDir + "/tests/routes"))
        if (entry.path().extension() == ".route")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

PlatformSpot footingOf(const Player& player)
{
    PlatformSpot spot;
    findFooting(player, spot);
    return spot;
}

RunOutcome playWatched(const std::string& level, int players, const Route& route,
                       const std::vector<GameDriver::LevelText>& extraLevels, const FrameObserver& observe)
{
    GameDriver game(new MainScene(level, players), extraLevels);
    auto* scene = &game.current<MainScene>();
    if (scene->levelRefused())
        throw std::runtime_error(level + " cannot be read");
    RunOutcome outcome;
    Watcher watcher(outcome);
    const long closingFrames = std::lround(closingWaitSeconds / GameDriver::frameSeconds);
    const long lastFrame = static_cast<long>(route.frames.size()) + closingFrames;
    for (long i = 0; i < lastFrame; ++i)
    {
        const bool onRoute = i < static_cast<long>(route.frames.size());
        game.step(onRoute ? route.frames[static_cast<std::size_t>(i)] : ReplayFrame());
        ++outcome.frames;
        if (game.scene() != scene)
        {
            // Only a lost fifth life names another scene before the level is won.
            outcome.outOfLives = 1;
            break;
        }
        if (won(*scene, level))
        {
            outcome.reachedGoal = 1;
            break;
        }
        const bool hasLine = i < static_cast<long>(route.lines.size());
        const int line = hasLine ? route.lines[static_cast<std::size_t>(i)] : 0;
        watcher.look(*scene, line);
        if (observe)
            observe(*scene, i, line);
    }
    watcher.finish();
    return outcome;
}

const char* mishapName(Mishap mishap)
{
    switch (mishap)
    {
    case Mishap::Fell:
        return "fell off";
    case Mishap::MeteorHit:
        return "meteor hit";
    case Mishap::None:
        break;
    }
    return "";
}

const char* platformClassName(PlatformClass kind)
{
    switch (kind)
    {
    case PlatformClass::Static:
        return "static";
    case PlatformClass::Rotating:
        return "rotating";
    case PlatformClass::Sliding:
        return "sliding";
    case PlatformClass::None:
        break;
    }
    return "";
}
