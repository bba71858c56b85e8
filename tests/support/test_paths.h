#pragma once

#include <string>

// Where the build put things, for tests that read generated media or start the game.
namespace testing_paths
{
inline std::string sourceDir()
{
    return QUOBBEL_SOURCE_DIR;
}
inline std::string binaryDir()
{
    return QUOBBEL_BINARY_DIR;
}
// The assembled game directory: binary, configuration files, media.icl, soundtrack/.
inline std::string gameDir()
{
    return QUOBBEL_GAME_DIR;
}
} // namespace testing_paths
