#include "scenes/level_file.h"

#include <algorithm>
#include <cctype>

#include "scenes/level_fields.h"

namespace
{
constexpr const char* headerName = "header";
constexpr int headerFields = 5;

PlankKind kindFor(const std::string& word)
{
    return word == "tronc" ? PlankKind::log : word == "terra" ? PlankKind::ground : PlankKind::box;
}

AxleSide sideFor(const std::string& word)
{
    return word == "L" ? AxleSide::left : word == "R" ? AxleSide::right : AxleSide::centre;
}

// The field kinds every record shares.
double coordinate(FieldReader& in, const char* name)
{
    return in.real(name, -levelBounds::maxCoordinate, levelBounds::maxCoordinate);
}
double speed(FieldReader& in, const char* name)
{
    return in.real(name, -levelBounds::maxSpeed, levelBounds::maxSpeed);
}
double angle(FieldReader& in)
{
    return in.real("angle", -levelBounds::maxAngle, levelBounds::maxAngle);
}
int length(FieldReader& in)
{
    return in.integer("length", minPlankLength, levelBounds::maxLength);
}

LevelRecord readStaticPlatform(FieldReader& in)
{
    StaticPlatformRecord r{};
    r.x = coordinate(in, "x");
    r.y = coordinate(in, "y");
    r.length = length(in);
    r.angle = angle(in);
    r.label = in.word();
    r.kind = kindFor(in.word());
    return r;
}

LevelRecord readSlidingPlatform(FieldReader& in)
{
    SlidingPlatformRecord r{};
    r.x = coordinate(in, "x");
    r.y = coordinate(in, "y");
    r.length = length(in);
    r.speed = speed(in, "speed");
    r.rail = in.word();
    if (r.rail.size() > levelBounds::maxRailDigits)
        in.refuse("rail has " + std::to_string(r.rail.size()) + " digits, more than " +
                  std::to_string(levelBounds::maxRailDigits));
    r.invertTilt = in.flag("invertTilt");
    r.tiltDriven = in.flag("tiltDriven");
    r.circular = in.flag("circular");
    r.reverseSlide = in.flag("reverseSlide");
    r.tiltable = in.flag("tiltable");
    r.angle = angle(in);
    r.label = in.word();
    r.kind = kindFor(in.word());
    r.side = sideFor(in.word());
    return r;
}

LevelRecord readRotatingPlatform(FieldReader& in)
{
    RotatingPlatformRecord r{};
    r.x = coordinate(in, "x");
    r.y = coordinate(in, "y");
    r.length = length(in);
    r.invertTilt = in.flag("invertTilt");
    r.label = in.word();
    r.kind = kindFor(in.word());
    r.side = sideFor(in.word());
    return r;
}

// The throw both launcher records share: launch velocity, gravity, meteor life and launch interval.
template <typename Record> void readThrow(FieldReader& in, Record& r)
{
    r.launchVx = speed(in, "launchVx");
    r.launchVy = speed(in, "launchVy");
    r.gravity = in.flag("gravity");
    // A launcher with no life or no interval would fire every frame.
    r.life = in.positive("life", levelBounds::maxSeconds);
    r.interval = in.positive("interval", levelBounds::maxSeconds);
}

LauncherRecord readLauncher(FieldReader& in, bool physical)
{
    LauncherRecord r{};
    r.physical = physical;
    r.x = coordinate(in, "x");
    r.y = coordinate(in, "y");
    readThrow(in, r);
    r.firstDelay = in.real("firstDelay", -levelBounds::maxSeconds, levelBounds::maxSeconds);
    r.varySpeed = in.flag("varySpeed");
    return r;
}

LevelRecord readEmitterRow(FieldReader& in)
{
    EmitterRowRecord r{};
    r.x1 = coordinate(in, "x1");
    r.x2 = coordinate(in, "x2");
    r.y = coordinate(in, "y");
    readThrow(in, r);
    r.count = in.integer("count", 0, levelBounds::maxEmitterCount);
    return r;
}

LevelRecord readStaticDecor(FieldReader& in)
{
    StaticDecorRecord r{};
    r.x = coordinate(in, "x");
    r.y = coordinate(in, "y");
    r.scale = in.positive("scale", levelBounds::maxScale);
    r.mesh = in.word();
    r.front = in.flag("front");
    return r;
}

LevelRecord readStatic2dDecor(FieldReader& in)
{
    Static2dDecorRecord r{};
    r.x = coordinate(in, "x");
    r.y = coordinate(in, "y");
    r.size = in.positive("size", levelBounds::maxScale);
    r.material = in.word();
    return r;
}

LevelRecord readBoss(FieldReader& in)
{
    BossRecord r{};
    r.x = coordinate(in, "x");
    r.y = coordinate(in, "y");
    r.speed = speed(in, "speed");
    r.hp = in.integer("hp", 1, levelBounds::maxBossHitPoints);
    r.range = in.real("range", 0, levelBounds::maxCoordinate);
    return r;
}

// Every record the format knows, by keyword.
const struct
{
    const char* keyword;
    LevelRecord (*read)(FieldReader&);
} recordReaders[] = {
    {"StaticPlatform", readStaticPlatform},
    {"SlidingPlatform", readSlidingPlatform},
    {"RotatingPlatform", readRotatingPlatform},
    {"BadBall", [](FieldReader& in) -> LevelRecord { return readLauncher(in, false); }},
    {"PhysBadBall", [](FieldReader& in) -> LevelRecord { return readLauncher(in, true); }},
    {"BadBallEmitter", readEmitterRow},
    {"Butterfly",
     [](FieldReader& in) -> LevelRecord {
         return ButterflyRecord{coordinate(in, "x"), coordinate(in, "y")};
     }},
    {"StaticDecor", readStaticDecor},
    {"Static2dDecor", readStatic2dDecor},
    {"Checkpoint",
     [](FieldReader& in) -> LevelRecord {
         return CheckpointRecord{coordinate(in, "x"), coordinate(in, "y")};
     }},
    {"Boss", readBoss},
};

bool isKeyword(std::string_view word)
{
    return std::any_of(std::begin(recordReaders), std::end(recordReaders),
                       [&](const auto& reader) { return word == reader.keyword; });
}

bool sameLetters(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char p, char q) {
                                                  return std::tolower(static_cast<unsigned char>(p)) ==
                                                         std::tolower(static_cast<unsigned char>(q));
                                              });
}

std::string unknownRecord(std::string_view keyword)
{
    for (const auto& reader : recordReaders)
        if (sameLetters(keyword, reader.keyword))
            return std::string("unknown record (keywords are case-sensitive: ") + reader.keyword + ")";
    return "unknown record";
}

// The header is the first five tokens, unless a keyword comes sooner: the header then lacks fields, and
// the records start at that keyword. Returns the number of tokens the header took.
std::size_t readHeader(const std::vector<LevelToken>& tokens, const std::string& fileName, LevelReading& out)
{
    std::size_t count = 0;
    while (count < tokens.size() && count < headerFields && !isKeyword(tokens[count].text))
        ++count;
    const int line = count > 0 ? tokens[count - 1].line : tokens.empty() ? 1 : tokens[0].line;
    FieldReader in(tokens.data(), tokens.data() + count, {fileName, line, headerName, ""}, out.problems);
    LevelHeader& header = out.level.header;
    header.startX = static_cast<float>(coordinate(in, "startX"));
    header.startY = static_cast<float>(coordinate(in, "startY"));
    header.goalX = static_cast<float>(coordinate(in, "goalX"));
    header.goalY = static_cast<float>(coordinate(in, "goalY"));
    header.nextLevel = in.word();
    header.nextLevelLine = count == headerFields ? tokens[headerFields - 1].line : line;
    in.finish();
    return count;
}
} // namespace

LevelReading readLevel(const std::string& text, const std::string& fileName)
{
    LevelReading out;
    const std::vector<LevelToken> tokens = tokenizeLevel(text);
    std::size_t next = readHeader(tokens, fileName, out);
    while (next < tokens.size())
    {
        const LevelToken& keyword = tokens[next];
        std::size_t end = next + 1;
        while (end < tokens.size() && tokens[end].line == keyword.line)
            ++end;
        const LevelProblem where{fileName, keyword.line, std::string(keyword.text), ""};
        const auto reader = std::find_if(std::begin(recordReaders), std::end(recordReaders),
                                         [&](const auto& r) { return keyword.text == r.keyword; });
        if (reader == std::end(recordReaders))
        {
            LevelProblem problem = where;
            problem.reason = unknownRecord(keyword.text);
            out.problems.push_back(problem);
        }
        else
        {
            FieldReader in(tokens.data() + next + 1, tokens.data() + end, where, out.problems);
            LevelRecord record = reader->read(in);
            if (in.finish())
                out.level.records.push_back(std::move(record));
        }
        next = end;
    }
    return out;
}

LevelDescription parseLevel(const std::string& text, const std::string& fileName)
{
    LevelReading reading = readLevel(text, fileName);
    if (!reading.problems.empty())
        throw LevelError(reading.problems.front());
    return std::move(reading.level);
}
