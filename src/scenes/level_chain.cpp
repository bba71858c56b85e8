#include "scenes/level_chain.h"

#include <algorithm>

#include "scenes/level_file.h"

const std::string endOfGame = "end";

namespace
{
const std::string bossLevel = "boss1.imf";

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The names of the levels from `again` round to `again`, as the headers write them.
std::string loopText(const std::vector<std::string>& files, const std::string& again,
                     std::size_t folderLength)
{
    std::string text;
    for (auto file = std::find(files.begin(), files.end(), again); file != files.end(); ++file)
        text += file->substr(folderLength) + " -> ";
    return text + again.substr(folderLength);
}
} // namespace

std::string levelAfter(const std::string& named, int players)
{
    return named == bossLevel && players > 1 ? endOfGame : named;
}

LevelChain readLevelChain(const std::string& first, int players, const LevelSource& source)
{
    LevelChain chain;
    const std::string folder = folderOf(first);
    // Where the level being read was named: its file, line and the name as written there.
    LevelProblem namedAt{"", 0, "", ""};
    std::string named;
    for (std::string file = first;;)
    {
        if (std::find(chain.files.begin(), chain.files.end(), file) != chain.files.end())
        {
            namedAt.reason = "next level " + named + " comes round again (" +
                             loopText(chain.files, file, folder.size()) + "): the game would never end";
            chain.problems.push_back(namedAt);
            return chain;
        }
        const std::optional<std::string> text = source(file);
        if (!text)
        {
            if (chain.files.empty())
                chain.problems.push_back(LevelProblem::missingFile(file));
            else
            {
                namedAt.reason = "next level " + named + " does not exist";
                chain.problems.push_back(namedAt);
            }
            return chain;
        }
        chain.files.push_back(file);
        LevelReading reading = readLevel(*text, file);
        chain.problems.insert(chain.problems.end(), reading.problems.begin(), reading.problems.end());
        const LevelHeader& header = reading.level.header;
        named = levelAfter(header.nextLevel, players);
        if (named.empty() || named == endOfGame)
            return chain;
        namedAt = {file, header.nextLevelLine, "header", ""};
        file = folder + named;
    }
}

void checkLevelChain(const std::string& first, int players, const LevelSource& source)
{
    const LevelChain chain = readLevelChain(first, players, source);
    if (!chain.problems.empty())
        throw LevelError(chain.problems.front());
}
