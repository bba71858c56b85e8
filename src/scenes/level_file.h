#pragma once

// The level file (".imf"): a header (player 1's start, the goal, the next level's file name) followed by
// one record per line, each a keyword and its fields. This file only reads the text; the main scene turns
// the records into game objects, and the level tools check and draw them.
//
// Tokens are read as formatted extraction reads them in the classic locale: any white space separates
// tokens; reals are decimal with optional sign, point and exponent; integers are reals without a fraction;
// flags are 0 or 1. The header and the keywords are tokens of the whole text; a record's fields come from
// the rest of its keyword's line only, and tokens after the last field are ignored. Each field is a whole
// token: "12.5" is not an integer and "3x" is not a number.
//
// A file the game could not build sensibly is refused: an unknown keyword (they are case-sensitive), a
// header or a field that is missing, unreadable or not finite, and values outside the bounds below. Every
// refusal is a LevelProblem naming the file, the line, the record and what was wrong.

#include <cstddef>
#include <string>
#include <variant>
#include <vector>

#include "scenes/level_error.h"
#include "world/plank.h"

struct LevelHeader
{
    float startX = 0;
    float startY = 0;
    float goalX = 0;
    float goalY = 0;
    std::string nextLevel; // a file name, or "end"
    int nextLevelLine = 1; // where the file names it
};

// The label word of the platform records is the author's name for the plank; the game ignores it.
struct StaticPlatformRecord
{
    double x, y;
    int length;
    double angle; // degrees
    std::string label;
    PlankKind kind;
};

struct SlidingPlatformRecord
{
    double x, y;
    int length;
    double speed;
    std::string rail; // keypad digits, one 10-unit segment each
    bool invertTilt, tiltDriven, circular, reverseSlide, tiltable;
    double angle; // degrees
    std::string label;
    PlankKind kind;
    AxleSide side;
};

struct RotatingPlatformRecord
{
    double x, y;
    int length;
    bool invertTilt;
    std::string label;
    PlankKind kind;
    AxleSide side;
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
constexpr int maxLength = 1000;          // plank length in world units (at least minPlankLength)
constexpr std::size_t maxRailDigits = 500;
constexpr double maxSeconds = 3600;    // launcher life, interval and first delay
constexpr int maxEmitterCount = 1000;  // launchers in one row (0 makes an empty row)
constexpr double maxScale = 1000;      // decoration scale and size (above 0)
constexpr int maxBossHitPoints = 1000; // at least 1
} // namespace levelBounds

// A level file as read: the records of every line that was read whole, and every problem found on the way.
struct LevelReading
{
    LevelDescription level;
    std::vector<LevelProblem> problems; // in file order; empty when the file is sound
};

// Reads a whole level file's text, going on past bad lines so that every problem is found. fileName is
// only used to name the file in the problems.
LevelReading readLevel(const std::string& text, const std::string& fileName);

// Reads a level the game is to play. Throws LevelError with the first problem of a file it refuses.
LevelDescription parseLevel(const std::string& text, const std::string& fileName);
