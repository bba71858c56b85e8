#include "level_sketch.h"

#include <cmath>

#include "world/bad_ball_emitter.h"
#include "world/physics.h"
#include "world/sliding_platform.h"

const Colour startColour = rgb(0x2f6fd8);
const Colour goalColour = rgb(0xf08a24);

namespace
{
using Kind = SketchShape::Kind;

// Planks are boxes two units thick, as their bodies are; the tilt turns a plank at most this far.
constexpr double pi = 3.14159265358979323846;
constexpr double plankThickness = 2.0;
constexpr double tiltReachDegrees = 35.0;
// Meteor paths are followed at the game's frame rate, and cut once they have fallen well out of the level.
constexpr double pathStepSeconds = 1.0 / 60.0;
constexpr double pathFloorY = fallLineY - 12.0;
// A checkpoint takes a player within this distance, and sends a fallen player back this far above it.
constexpr double checkpointReach = 6.0;
constexpr double respawnHeight = 15.0;

const Colour ink = rgb(0x2a2f3a);
const Colour labelInk = rgb(0x56606e);

struct PlankLook
{
    Colour fill;
    Colour edge;
};

PlankLook lookOf(PlankKind kind)
{
    switch (kind)
    {
    case PlankKind::log:
        return {rgb(0xa8703a), rgb(0x5a3414)};
    case PlankKind::ground:
        return {rgb(0x7fa23e), rgb(0x46601c)};
    case PlankKind::box:
        break;
    }
    return {rgb(0x98a4b6), rgb(0x4a5468)};
}

LevelPoint turned(LevelPoint p, LevelPoint about, double degrees)
{
    const double a = degrees * pi / 180.0;
    const double dx = p.x - about.x;
    const double dy = p.y - about.y;
    return {about.x + dx * std::cos(a) - dy * std::sin(a), about.y + dx * std::sin(a) + dy * std::cos(a)};
}

SketchShape shape(Kind kind, std::vector<LevelPoint> points, double size, const Colour& colour)
{
    SketchShape s;
    s.kind = kind;
    s.points = std::move(points);
    s.size = size;
    s.colour = colour;
    return s;
}

SketchShape label(LevelPoint at, const std::string& text, double pixels, const Colour& colour)
{
    SketchShape s = shape(Kind::label, {at}, pixels, colour);
    s.text = text;
    s.framed = false;
    return s;
}

// The drawing, layer by layer: each layer is drawn over the ones before it.
struct Layers
{
    std::vector<SketchShape> ground, travel, paths, planks, marks, labels;

    // A plank of `length` centred at `centre`, turned by `degrees`; faint when it only shows where the
    // plank can go.
    void plank(LevelPoint centre, int length, double degrees, PlankKind kind, bool ghost)
    {
        const double h = length / 2.0;
        const double t = plankThickness / 2.0;
        std::vector<LevelPoint> corners;
        for (const LevelPoint& c :
             {LevelPoint{-h, -t}, LevelPoint{h, -t}, LevelPoint{h, t}, LevelPoint{-h, t}})
            corners.push_back(turned({centre.x + c.x, centre.y + c.y}, centre, degrees));
        const PlankLook look = lookOf(kind);
        std::vector<SketchShape>& layer = ghost ? travel : planks;
        layer.push_back(shape(Kind::fill, corners, 0, ghost ? look.fill.withAlpha(0.22f) : look.fill));
        if (ghost)
            return;
        corners.push_back(corners.front());
        layer.push_back(shape(Kind::stroke, corners, 0.35, look.edge));
    }

    // The plank at every tilt the players can give it, about its axle.
    void tiltRange(LevelPoint axle, LevelPoint centre, int length, double degrees, PlankKind kind)
    {
        for (const double tilt : {-tiltReachDegrees, tiltReachDegrees})
            plank(turned(centre, axle, tilt), length, degrees + tilt, kind, true);
    }

    void axle(LevelPoint at)
    {
        marks.push_back(shape(Kind::disc, {at}, 1.1, ink));
        marks.push_back(shape(Kind::disc, {at}, 0.45, rgb(0xffffff)));
    }

    void plankLabel(LevelPoint centre, const std::string& text)
    {
        labels.push_back(label({centre.x, centre.y - 3.6}, text, 11, labelInk));
    }

    // The path a meteor flies from `from` at (vx, vy) for `life` seconds, falling when gravity is set
    // (a floating physical meteor's lift nearly cancels its weight: it flies straight).
    void meteorPath(LevelPoint from, double vx, double vy, bool gravity, double life, const Colour& colour)
    {
        std::vector<LevelPoint> path{from};
        LevelPoint p = from;
        for (double t = 0; t < life && p.y > pathFloorY; t += pathStepSeconds)
        {
            if (gravity)
                vy += physics::gravityY * pathStepSeconds;
            p = {p.x + vx * pathStepSeconds, p.y + vy * pathStepSeconds};
            path.push_back(p);
        }
        paths.push_back(shape(Kind::stroke, path, 0.6, colour.withAlpha(0.75f)));
        marks.push_back(shape(Kind::disc, {from}, 1.5, shade(colour, 0.7f)));
    }

    void staticPlatform(const StaticPlatformRecord& r)
    {
        plank({r.x, r.y}, r.length, r.angle, r.kind, false);
        plankLabel({r.x, r.y}, r.label);
    }

    void rotatingPlatform(const RotatingPlatformRecord& r)
    {
        const LevelPoint axleAt{r.x, r.y};
        const LevelPoint centre{r.x + plankCentreOffset(r.side, r.length), r.y};
        tiltRange(axleAt, centre, r.length, 0, r.kind);
        plank(centre, r.length, 0, r.kind, false);
        axle(axleAt);
        plankLabel(centre, r.label);
    }

    void slidingPlatform(const SlidingPlatformRecord& r)
    {
        std::vector<LevelPoint> rail{{r.x, r.y}};
        for (char digit : r.rail)
        {
            const b2Vec2 d = SlidingPlatform::digitDirection(digit);
            rail.push_back({rail.back().x + d.x * SlidingPlatform::segmentLength,
                            rail.back().y + d.y * SlidingPlatform::segmentLength});
        }
        // A plank held off-centre is laid level, whatever its angle.
        const double degrees = r.side == AxleSide::centre ? r.angle : 0.0;
        const double offset = plankCentreOffset(r.side, r.length);
        if (rail.size() > 1)
        {
            ground.push_back(shape(Kind::stroke, rail, 1.0, rgb(0x5a6270)));
            for (const LevelPoint& end : {rail.front(), rail.back()})
                ground.push_back(shape(Kind::disc, {end}, 1.0, rgb(0x3a404c)));
            plank({rail.back().x + offset, rail.back().y}, r.length, degrees, r.kind, true);
        }
        const LevelPoint centre{r.x + offset, r.y};
        if (r.tiltable)
            tiltRange({r.x, r.y}, centre, r.length, degrees, r.kind);
        plank(centre, r.length, degrees, r.kind, false);
        if (r.tiltable)
            axle({r.x, r.y});
        plankLabel(centre, r.label);
    }

    void launcher(const LauncherRecord& r)
    {
        meteorPath({r.x, r.y}, r.launchVx, r.launchVy, r.gravity, r.life,
                   r.physical ? rgb(0x3aa02a) : rgb(0xd2452a));
    }

    void emitterRow(const EmitterRowRecord& r)
    {
        ground.push_back(shape(Kind::stroke, {{r.x1, r.y}, {r.x2, r.y}}, 0.4, rgb(0x8a94a4)));
        for (int i = 0; i < r.count; ++i)
        {
            const RowLauncher at = rowLauncher(r.x1, r.x2, r.launchVy, r.interval, r.count, i);
            meteorPath({at.x, r.y}, r.launchVx, at.launchVy, r.gravity, r.life, rgb(0xd2452a));
            marks.push_back(shape(Kind::disc, {{at.x, r.y + 2}}, 2.4, rgb(0xffffff, 0.85f)));
        }
    }

    void checkpoint(const CheckpointRecord& r)
    {
        travel.push_back(shape(Kind::ring, {{r.x, r.y}}, checkpointReach, rgb(0xd8a417, 0.7f)));
        marks.push_back(shape(Kind::stroke, {{r.x, r.y}, {r.x, r.y + 7}}, 0.5, ink));
        marks.push_back(
            shape(Kind::fill, {{r.x, r.y + 7}, {r.x, r.y + 4.5}, {r.x - 3, r.y + 5.75}}, 0, rgb(0xe8b820)));
        marks.push_back(shape(Kind::disc, {{r.x, r.y + respawnHeight}}, 0.8, rgb(0xd8a417)));
    }

    void boss(const BossRecord& r)
    {
        travel.push_back(
            shape(Kind::stroke, {{r.x - r.range, r.y}, {r.x + r.range, r.y}}, 0.6, rgb(0xd8579c)));
        marks.push_back(shape(Kind::disc, {{r.x, r.y}}, 5, rgb(0xd8579c)));
        labels.push_back(label({r.x, r.y + 8}, "boss", 13, ink));
    }

    void operator()(const StaticPlatformRecord& r) { staticPlatform(r); }
    void operator()(const SlidingPlatformRecord& r) { slidingPlatform(r); }
    void operator()(const RotatingPlatformRecord& r) { rotatingPlatform(r); }
    void operator()(const LauncherRecord& r) { launcher(r); }
    void operator()(const EmitterRowRecord& r) { emitterRow(r); }
    void operator()(const CheckpointRecord& r) { checkpoint(r); }
    void operator()(const BossRecord& r) { boss(r); }
    // Scenery takes no part in play.
    void operator()(const ButterflyRecord&) {}
    void operator()(const StaticDecorRecord&) {}
    void operator()(const Static2dDecorRecord&) {}
};

// A rule or a shaded area at height y, named by text at the picture's left edge.
SketchShape heightMark(Kind kind, double y, double width, const Colour& colour, const std::string& text)
{
    SketchShape s = shape(kind, {{0, y}}, width, colour);
    s.text = text;
    return s;
}
} // namespace

std::vector<SketchShape> sketchLevel(const LevelDescription& level)
{
    Layers layers;
    bool hasBoss = false;
    for (const LevelRecord& record : level.records)
    {
        hasBoss = hasBoss || std::holds_alternative<BossRecord>(record);
        std::visit(layers, record);
    }

    std::vector<SketchShape> shapes;
    shapes.push_back(
        heightMark(Kind::below, fallLineY, 0, rgb(0xd33a2a, 0.12f), "fall line: a player below is out"));
    shapes.push_back(heightMark(Kind::rule, fallLineY, 0.4, rgb(0xd33a2a), ""));
    shapes.push_back(heightMark(Kind::rule, cameraFloorY, 0.3, rgb(0x3b6fb0), "lowest the camera shows"));
    const LevelHeader& h = level.header;
    // The goal: a player above its line and within 3 units of the cat's x.
    if (!hasBoss)
    {
        shapes.push_back(shape(Kind::column, {{h.goalX - 3, h.goalY - 0.35}, {h.goalX + 3, h.goalY}}, 0,
                               goalColour.withAlpha(0.18f)));
        shapes.back().framed = false;
    }
    for (auto* layer :
         {&layers.ground, &layers.travel, &layers.paths, &layers.planks, &layers.marks, &layers.labels})
        shapes.insert(shapes.end(), layer->begin(), layer->end());

    // Player 2 starts 5 units towards -x.
    shapes.push_back(shape(Kind::disc, {{h.startX - 5, h.startY}}, 1.4, rgb(0x7a8a9a)));
    shapes.back().framed = false;
    shapes.push_back(label({h.startX, h.startY + 5}, "start", 13, startColour));
    shapes.push_back(shape(Kind::disc, {{h.startX, h.startY}}, 2.2, startColour));
    if (!hasBoss)
    {
        shapes.push_back(label({h.goalX, h.goalY + 5}, "goal", 13, shade(goalColour, 0.8f)));
        shapes.push_back(shape(Kind::disc, {{h.goalX, h.goalY}}, 2.2, goalColour));
    }
    return shapes;
}
