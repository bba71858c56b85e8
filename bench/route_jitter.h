#pragma once

// Routes played the way a person would play them: every run of identical frames (a segment: one line of
// a route file) lasts a few frames more or less than recorded. The change of each segment is a whole
// number of frames in [-k, k] drawn from a generator seeded per run, so any run can be played again.

#include <cstdint>
#include <vector>

#include "support/replay.h"

struct RouteSegment
{
    long frames;
    ReplayFrame actions;
    int line; // of the route file where the segment starts; 0 for a route made in code
};

// The route as runs of identical frames, in order. Adjacent lines with the same actions make one segment.
std::vector<RouteSegment> segmentsOf(const Route& route);

// The seed of run number `run` (0, 1, ...) at jitter k, from the batch's base seed. The same three
// numbers give the same seed on every machine and build.
std::uint32_t runSeed(std::uint32_t baseSeed, int k, int run);

// `route` with every segment's length changed by a whole number of frames in [-k, k], drawn in segment
// order from a generator seeded with `seed`. A segment keeps at least one frame, so no press is lost.
// k = 0 gives the route itself.
Route jitteredRoute(const Route& route, int k, std::uint32_t seed);

// `route` with segment number `segment` (0 for the first) lasting `change` frames more (fewer when
// negative; at least one frame) and everything after it moved by as much.
Route shiftedRoute(const Route& route, std::size_t segment, long change);

// Route file text for `route`, one line per segment: jittered routes can be replayed and shown.
std::string routeText(const Route& route);
