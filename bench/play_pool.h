#pragma once

// Plays of the real game in child processes, a few at a time: the game window can be made only once per
// process, and plays of different routes are independent, so each runs in a fork of its own.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "tolerance_run.h"

struct PlayRequest
{
    std::string level;
    int players = 1;
    Route route;
};

// Plays `count` requests, `jobs` at a time, and returns their outcomes in request order. request(i) is
// called in this process just before play i starts. A play that crashes, throws or runs past the time limit
// (it has hung: minutes of game time take seconds) comes back with `failed` set. progress(done) is called
// after each play ends.
std::vector<RunOutcome> playInChildren(std::size_t count,
                                       const std::function<PlayRequest(std::size_t)>& request, int jobs,
                                       const std::function<void(std::size_t)>& progress = {});
