#include "scenes/level_file.h"

#include <cmath>
#include <locale>
#include <sstream>

namespace
{
[[noreturn]] void refuse()
{
    throw "Error reading map data!";
}

// Reads the fields of one record, in order, from the rest of its keyword's line.
class FieldReader
{
  public:
    explicit FieldReader(const std::string& line) : mStream(line) { mStream.imbue(std::locale::classic()); }

    double real(double low, double high)
    {
        double value = 0;
        if (!(mStream >> value) || !std::isfinite(value) || value < low || value > high)
            refuse();
        return value;
    }
    double coordinate() { return real(-levelBounds::maxCoordinate, levelBounds::maxCoordinate); }
    double speed() { return real(-levelBounds::maxSpeed, levelBounds::maxSpeed); }
    double angle() { return real(-levelBounds::maxAngle, levelBounds::maxAngle); }
    // Strictly positive durations: a launcher with no life or no interval would fire every frame.
    double duration()
    {
        const double value = real(0, levelBounds::maxSeconds);
        if (value <= 0)
            refuse();
        return value;
    }

    int integer(int low, int high)
    {
        int value = 0;
        if (!(mStream >> value) || value < low || value > high)
            refuse();
        return value;
    }
    int length() { return integer(1, levelBounds::maxLength); }

    bool flag()
    {
        bool value = false;
        if (!(mStream >> value))
            refuse();
        return value;
    }

    std::string word()
    {
        std::string value;
        if (!(mStream >> value))
            refuse();
        return value;
    }

  private:
    std::istringstream mStream;
};

StaticPlatformRecord readStaticPlatform(FieldReader& in)
{
    StaticPlatformRecord r{};
    r.x = in.coordinate();
    r.y = in.coordinate();
    r.length = in.length();
    r.angle = in.angle();
    in.word(); // label, for the level's author only
    r.kind = plankKindCode(in.word());
    return r;
}

SlidingPlatformRecord readSlidingPlatform(FieldReader& in)
{
    SlidingPlatformRecord r{};
    r.x = in.coordinate();
    r.y = in.coordinate();
    r.length = in.length();
    r.speed = in.speed();
    r.rail = in.word();
    if (r.rail.size() > levelBounds::maxRailDigits)
        refuse();
    r.invertTilt = in.flag();
    r.tiltDriven = in.flag();
    r.circular = in.flag();
    r.reverseSlide = in.flag();
    r.tiltable = in.flag();
    r.angle = in.angle();
    in.word(); // label
    r.kind = plankKindCode(in.word());
    r.side = axleSideCode(in.word());
    return r;
}

RotatingPlatformRecord readRotatingPlatform(FieldReader& in)
{
    RotatingPlatformRecord r{};
    r.x = in.coordinate();
    r.y = in.coordinate();
    r.length = in.length();
    r.invertTilt = in.flag();
    in.word(); // label
    r.kind = plankKindCode(in.word());
    r.side = axleSideCode(in.word());
    return r;
}

// The throw both launcher records share: launch velocity, gravity, meteor life and launch interval.
template <typename Record> void readThrow(FieldReader& in, Record& r)
{
    r.launchVx = in.speed();
    r.launchVy = in.speed();
    r.gravity = in.flag();
    r.life = in.duration();
    r.interval = in.duration();
}

LauncherRecord readLauncher(FieldReader& in, bool physical)
{
    LauncherRecord r{};
    r.physical = physical;
    r.x = in.coordinate();
    r.y = in.coordinate();
    readThrow(in, r);
    r.firstDelay = in.real(-levelBounds::maxSeconds, levelBounds::maxSeconds);
    r.varySpeed = in.flag();
    return r;
}

EmitterRowRecord readEmitterRow(FieldReader& in)
{
    EmitterRowRecord r{};
    r.x1 = in.coordinate();
    r.x2 = in.coordinate();
    r.y = in.coordinate();
    readThrow(in, r);
    r.count = in.integer(0, levelBounds::maxEmitterCount);
    return r;
}

StaticDecorRecord readStaticDecor(FieldReader& in)
{
    StaticDecorRecord r{};
    r.x = in.coordinate();
    r.y = in.coordinate();
    r.scale = in.real(0, levelBounds::maxScale);
    r.mesh = in.word();
    r.front = in.flag();
    if (r.scale <= 0)
        refuse();
    return r;
}

Static2dDecorRecord readStatic2dDecor(FieldReader& in)
{
    Static2dDecorRecord r{};
    r.x = in.coordinate();
    r.y = in.coordinate();
    r.size = in.real(0, levelBounds::maxScale);
    r.material = in.word();
    if (r.size <= 0)
        refuse();
    return r;
}

BossRecord readBoss(FieldReader& in)
{
    BossRecord r{};
    r.x = in.coordinate();
    r.y = in.coordinate();
    r.speed = in.speed();
    r.hp = in.integer(1, levelBounds::maxBossHitPoints);
    r.range = in.real(0, levelBounds::maxCoordinate);
    return r;
}

LevelRecord readRecord(const std::string& keyword, const std::string& line)
{
    FieldReader in(line);
    if (keyword == "StaticPlatform")
        return readStaticPlatform(in);
    if (keyword == "SlidingPlatform")
        return readSlidingPlatform(in);
    if (keyword == "RotatingPlatform")
        return readRotatingPlatform(in);
    if (keyword == "BadBall" || keyword == "PhysBadBall")
        return readLauncher(in, keyword == "PhysBadBall");
    if (keyword == "BadBallEmitter")
        return readEmitterRow(in);
    if (keyword == "Butterfly")
        return ButterflyRecord{in.coordinate(), in.coordinate()};
    if (keyword == "StaticDecor")
        return readStaticDecor(in);
    if (keyword == "Static2dDecor")
        return readStatic2dDecor(in);
    if (keyword == "Checkpoint")
        return CheckpointRecord{in.coordinate(), in.coordinate()};
    if (keyword == "Boss")
        return readBoss(in);
    refuse();
}

LevelHeader readHeader(std::istream& in)
{
    LevelHeader header;
    double values[4] = {};
    for (double& value : values)
        if (!(in >> value) || !std::isfinite(value) || std::fabs(value) > levelBounds::maxCoordinate)
            refuse();
    if (!(in >> header.nextLevel))
        refuse();
    header.startX = static_cast<float>(values[0]);
    header.startY = static_cast<float>(values[1]);
    header.goalX = static_cast<float>(values[2]);
    header.goalY = static_cast<float>(values[3]);
    return header;
}
} // namespace

int plankKindCode(const std::string& word)
{
    return word == "tronc" ? 1 : word == "terra" ? 2 : 0;
}

int axleSideCode(const std::string& word)
{
    return word == "L" ? 1 : word == "R" ? 2 : 0;
}

LevelDescription parseLevel(const std::string& text)
{
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    LevelDescription level;
    level.header = readHeader(in);
    std::string keyword;
    std::string line;
    while (in >> keyword)
    {
        std::getline(in, line);
        level.records.push_back(readRecord(keyword, line));
    }
    return level;
}
