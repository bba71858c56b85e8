#pragma once

// The chain of levels a game plays: each level file names the one that follows in its header, and "end"
// closes the game. A game checks its whole chain before the first level starts, so that a missing or
// unreadable level is reported before play rather than after a won level.

#include <functional>
#include <optional>
#include <string>

// The next-level name that closes a game.
extern const std::string endOfGame;

// The level a game of `players` plays after a level whose header names `named`: two-player games end
// instead of playing the boss level.
std::string levelAfter(const std::string& named, int players);

// The text of the level file `name`; nothing when no such level exists.
using LevelSource = std::function<std::optional<std::string>(const std::string& name)>;

// Reads `first` and every level its chain leads to in a game of `players`. Throws the level error when a
// level is missing or refused by the reader, or when the chain comes back to a level it has already passed
// (a game that could never end).
void checkLevelChain(const std::string& first, int players, const LevelSource& source);
