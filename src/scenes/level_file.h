#pragma once

// The level file (".imf"): a header (player 1's start, the goal, the next level's file name) followed by
// one record per line, each a keyword and its fields. This file only reads the text; the main scene turns
// the records into game objects.
//
// Tokens are read as formatted extraction reads them in the classic locale: any white space separates
// tokens; reals are decimal with optional sign, point and exponent; flags are 0 or 1. The header and the
// keywords are tokens of the whole text; a record's fields come from the rest of its keyword's line only,
// and tokens after the last field are ignored.
//
// A file the game could not build sensibly is refused with the text "Error reading map data!" (thrown as a
// plain string, like the game's other fatal data errors): an unknown keyword (they are case-sensitive),
// a header or a field that is missing, unreadable or not finite, and values outside the bounds below.

#include <string>
#include <variant>
#include <vector>

// Plank kind codes and axle side codes, as the platforms take them.
int plankKindCode(const std::string& word); // "tronc" 1 (log), "terra" 2 (earth), else 0 (box)
int axleSideCode(const std::string& word);  // "L" 1, "R" 2, else 0 (centre)

struct LevelHeader
{
    float startX = 0;
    float startY = 0;
    float goalX = 0;
    float goalY = 0;
    std::string nextLevel; // a file name, or "end"
};

struct StaticPlatformRecord
{
    double x, y;
    int length;
    double angle; // degrees
    int kind;
};

struct SlidingPlatformRecord
{
    double x, y;
    int length;
    double speed;
    std::string rail; // keypad digits, one 10-unit segment each
    bool invertTilt, tiltDriven, circular, reverseSlide, tiltable;
    double angle; // degrees
    int kind;
    int side;
};

struct RotatingPlatformRecord
{
    double x, y;
    int length;
    bool invertTilt;
    int kind;
    int side;
};

// "BadBall" and "PhysBadBall" (physical is true for the latter).
struct LauncherRecord
{
    bool physical;
    double x, y;
    double launchVx, launchVy;
    bool gravity;
    double life, interval, firstDelay; // seconds
    bool varySpeed;
};

struct EmitterRowRecord
{
    double x1, x2, y;
    double launchVx, launchVy;
    bool gravity;
    double life, interval; // seconds
    int count;
};

struct ButterflyRecord
{
    double x, y;
};

struct StaticDecorRecord
{
    double x, y;
    double scale;
    std::string mesh;
    bool front;
};

struct Static2dDecorRecord
{
    double x, y;
    double size;
    std::string material;
};

struct CheckpointRecord
{
    double x, y;
};

struct BossRecord
{
    double x, y;
    double speed;
    int hp;
    double range;
};

using LevelRecord = std::variant<StaticPlatformRecord, SlidingPlatformRecord, RotatingPlatformRecord,
                                 LauncherRecord, EmitterRowRecord, ButterflyRecord, StaticDecorRecord,
                                 Static2dDecorRecord, CheckpointRecord, BossRecord>;

struct LevelDescription
{
    LevelHeader header;
    std::vector<LevelRecord> records; // in file order
};

// Bounds of a sensible level. Coordinates and speeds far beyond any screen, planks longer than a level,
// and pools or rows big enough to stall the game are refused rather than built.
namespace levelBounds
{
constexpr double maxCoordinate = 100000; // |x|, |y| in world units
constexpr double maxSpeed = 10000;       // launch and slide speeds, world units per second
constexpr double maxAngle = 3600;        // |angle| in degrees
constexpr int maxLength = 1000;          // plank length in world units (at least 1)
constexpr std::size_t maxRailDigits = 500;
constexpr double maxSeconds = 3600;    // launcher life, interval and first delay
constexpr int maxEmitterCount = 1000;  // launchers in one row (0 makes an empty row)
constexpr double maxScale = 1000;      // decoration scale and size (above 0)
constexpr int maxBossHitPoints = 1000; // at least 1
} // namespace levelBounds

// Reads a whole level file's text. Throws the text "Error reading map data!" on a file it refuses.
LevelDescription parseLevel(const std::string& text);
