#include "scenes/level_chain.h"

#include <set>

#include "scenes/level_file.h"

const std::string endOfGame = "end";

namespace
{
const std::string bossLevel = "boss1.imf";
} // namespace

std::string levelAfter(const std::string& named, int players)
{
    return named == bossLevel && players > 1 ? endOfGame : named;
}

void checkLevelChain(const std::string& first, int players, const LevelSource& source)
{
    std::set<std::string> passed;
    for (std::string name = first; name != endOfGame;)
    {
        if (!passed.insert(name).second)
            throw "Error reading map data!";
        const std::optional<std::string> text = source(name);
        if (!text)
            throw "Error reading map data!";
        name = levelAfter(parseLevel(*text).header.nextLevel, players);
    }
}
