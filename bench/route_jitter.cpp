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
    for (std::size_t i = 0; i < route.frames.size(); ++i)
    {
        const ReplayFrame& frame = route.frames[i];
        if (segments.empty() || !sameActions(segments.back().actions, frame))
            segments.push_back({0, frame, i < route.lines.size() ? route.lines[i] : 0});
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

namespace
{
Route joined(const std::vector<RouteSegment>& segments)
{
    Route route;
    for (const RouteSegment& segment : segments)
    {
        route.frames.insert(route.frames.end(), static_cast<std::size_t>(segment.frames), segment.actions);
        if (segment.line > 0)
            route.lines.insert(route.lines.end(), static_cast<std::size_t>(segment.frames), segment.line);
    }
    return route;
}
} // namespace

Route jitteredRoute(const Route& route, int k, std::uint32_t seed)
{
    // mt19937's output is fixed by the standard; the modulo keeps the draw the same everywhere (its bias,
    // a few parts in a billion, does not matter here).
    std::mt19937 generator(seed);
    const std::uint32_t choices = 2 * static_cast<std::uint32_t>(std::max(k, 0)) + 1;
    std::vector<RouteSegment> segments = segmentsOf(route);
    for (RouteSegment& segment : segments)
    {
        const long change = static_cast<long>(generator() % choices) - std::max(k, 0);
        segment.frames = std::max(1L, segment.frames + change);
    }
    return joined(segments);
}

Route shiftedRoute(const Route& route, std::size_t segment, long change)
{
    std::vector<RouteSegment> segments = segmentsOf(route);
    if (segment < segments.size())
        segments[segment].frames = std::max(1L, segments[segment].frames + change);
    return joined(segments);
}

std::string routeText(const Route& route)
{
    std::ostringstream text;
    for (const RouteSegment& segment : segmentsOf(route))
        text << segment.frames << ' ' << segment.actions.letters(0) << ' ' << segment.actions.letters(1)
             << '\n';
    return text.str();
}
