#pragma once

// The chain of levels a game plays: each level file names the one that follows in its header, and "end"
// closes the game. A game checks its whole chain before the first level starts, so that a missing or
// unreadable level is reported before play rather than after a won level; the level checker reports the
// same problems to authors.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "scenes/level_error.h"

// The next-level name that closes a game.
extern const std::string endOfGame;

// The level a game of `players` plays after a level whose header names `named`: two-player games end
// instead of playing the boss level.
std::string levelAfter(const std::string& named, int players);

// The text of the level file `name`; nothing when no such level exists.
using LevelSource = std::function<std::optional<std::string>(const std::string& name)>;

struct LevelChain
{
    std::vector<std::string> files;     // the levels read, in the order a game plays them
    std::vector<LevelProblem> problems; // each level's own, then the chain's: missing levels, loops
};

// Reads `first` and every level its chain leads to in a game of `players`. Headers name bare file names,
// found beside `first`: when first is "levels/mapa1.imf", its next level "mapa2.imf" is read as
// "levels/mapa2.imf", and the problems name the files so. A chain that comes back to a level it has
// already passed is a problem: such a game could never end.
LevelChain readLevelChain(const std::string& first, int players, const LevelSource& source);

// The check a game makes before it starts: throws LevelError with the chain's first problem.
void checkLevelChain(const std::string& first, int players, const LevelSource& source);
