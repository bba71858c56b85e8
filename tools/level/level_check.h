#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "scenes/level_chain.h"

// Level files read from disk: a path's text, nothing for a path that is not a readable file.
LevelSource fileSource();

// Checks each level file and the chain of levels it leads to, as a one-player game plays them (which
// includes the boss level). Writes every problem once, as "file:line: record: reason", then one line per
// file given with the chain it starts. Returns the number of problems.
int checkLevels(const std::vector<std::string>& files, std::ostream& out);
