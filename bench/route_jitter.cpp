#include "route_jitter.h"

#include <algorithm>
#include <random>
#include <sstream>

namespace
{
bool sameActions(const ReplayFrame& a, const ReplayFrame& b)
{
    return a.held[0] == b.held[0] && a.held[1] == b.held[1];
}
} // namespace

std::vector<RouteSegment> segmentsOf(const Route& route)
{
    std::vector<RouteSegment> segments;
    for (const ReplayFrame& frame : route.frames)
    {
        if (segments.empty() || !sameActions(segments.back().actions, frame))
            segments.push_back({0, frame});
        ++segments.back().frames;
    }
    return segments;
}

std::uint32_t runSeed(std::uint32_t baseSeed, int k, int run)
{
    // seed_seq's mixing is fixed by the language standard, unlike the distributions.
    std::seed_seq mix{baseSeed, static_cast<std::uint32_t>(k), static_cast<std::uint32_t>(run)};
    std::uint32_t seed = 0;
    mix.generate(&seed, &seed + 1);
    return seed;
}

Route jitteredRoute(const Route& route, int k, std::uint32_t seed)
{
    // mt19937's output is fixed by the standard; the modulo keeps the draw the same everywhere (its bias,
    // a few parts in a billion, does not matter here).
    std::mt19937 generator(seed);
    const std::uint32_t choices = 2 * static_cast<std::uint32_t>(std::max(k, 0)) + 1;
    Route jittered;
    for (const RouteSegment& segment : segmentsOf(route))
    {
        const long change = static_cast<long>(generator() % choices) - std::max(k, 0);
        const long frames = std::max(1L, segment.frames + change);
        jittered.frames.insert(jittered.frames.end(), static_cast<std::size_t>(frames), segment.actions);
    }
    return jittered;
}

std::string routeText(const Route& route)
{
    std::ostringstream text;
    for (const RouteSegment& segment : segmentsOf(route))
        text << segment.frames << ' ' << segment.actions.letters(0) << ' ' << segment.actions.letters(1)
             << '\n';
    return text.str();
}
