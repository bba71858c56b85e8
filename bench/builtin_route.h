#pragma once

#include "support/replay.h"

// A route for any level when no recorded one exists: every player runs right on screen (towards -x) and
// jumps for half a second in every 1.5 s, player 2 half a beat later. It does not aim at the goal; it keeps
// the players moving, landing and falling, which is what a cost measure needs.
Route runAndJumpRoute(int players, double seconds);

// tests/routes/<level without ".imf">_<players>p.route under the source tree.
std::string routePath(const std::string& sourceDir, const std::string& levelFile, int players);
