#include "level_check.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

LevelSource fileSource()
{
    return [](const std::string& path) -> std::optional<std::string>
    {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            return std::nullopt;
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        if (!in)
            return std::nullopt;
        return text.str();
    };
}

int checkLevels(const std::vector<std::string>& files, std::ostream& out)
{
    std::set<std::string> reported;
    std::ostringstream chains;
    for (const std::string& file : files)
    {
        const LevelChain chain = readLevelChain(file, 1, fileSource());
        for (const LevelProblem& problem : chain.problems)
            if (reported.insert(problem.describe()).second)
                out << problem.describe() << '\n';
        chains << file << ": ";
        for (const std::string& level : chain.files)
            chains << std::filesystem::path(level).filename().string() << " -> ";
        chains << (chain.problems.empty() ? "end\n" : "broken\n");
    }
    out << chains.str();
    out << reported.size() << (reported.size() == 1 ? " problem" : " problems") << '\n';
    return static_cast<int>(reported.size());
}
