#include "builtin_route.h"

#include <cmath>

namespace
{
constexpr int moveRight = 4;
constexpr int jump = 6;
constexpr int beatFrames = 90;
constexpr int jumpFrames = 30;
} // namespace

Route runAndJumpRoute(int players, double seconds)
{
    Route route;
    const long frames = std::lround(seconds / GameDriver::frameSeconds);
    route.frames.resize(static_cast<std::size_t>(frames));
    for (long i = 0; i < frames; ++i)
        for (int p = 0; p < players; ++p)
        {
            const long beat = (i + p * beatFrames / 2) % beatFrames;
            std::uint16_t held = 1u << moveRight;
            if (beat < jumpFrames)
                held |= 1u << jump;
            route.frames[static_cast<std::size_t>(i)].held[p] = held;
        }
    return route;
}

std::string routePath(const std::string& sourceDir, const std::string& levelFile, int players)
{
    const std::string stem = levelFile.substr(0, levelFile.rfind(".imf"));
    return sourceDir + "/tests/routes/" + stem + "_" + std::to_string(players) + "p.route";
}
