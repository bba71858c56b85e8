#include "levels.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "media_output.h"

void packLevels(MediaOutput& output, const std::string& levelsDir)
{
    for (const auto& entry : std::filesystem::directory_iterator(levelsDir))
    {
        if (!entry.is_regular_file() || entry.path().extension() != ".imf")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        output.addArchiveFile(entry.path().filename().string(), bytes.str());
    }
}
