// The installed game's command: prepares the player's own game directory and starts the game in it (see
// launcher/game_directory.h). Like the game, it takes no command line.

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "launcher/game_directory.h"
#include "platform/system_dialogs.h"

namespace fs = std::filesystem;

int main()
{
    try
    {
        // The installed tree is found from this program's own place, so it works under any prefix, in a
        // staging folder and in an unpacked package alike.
        const fs::path binDir = fs::read_symlink("/proc/self/exe").parent_path();
        const fs::path dataDir = (binDir / QUOBBEL_DATA_FROM_BIN).lexically_normal();
        const fs::path game = (binDir / QUOBBEL_GAME_FROM_BIN).lexically_normal();
        const fs::path gameDir = launcher::gameDirectoryFor(launcher::currentEnvironment());
        launcher::prepareGameDirectory(dataDir, gameDir);
        if (chdir(gameDir.c_str()) != 0)
            throw launcher::LauncherError("Cannot enter the game directory " + gameDir.string() + ": " +
                                          std::strerror(errno));
        execl(game.c_str(), "quobbel", static_cast<char*>(nullptr));
        throw launcher::LauncherError("Cannot start the game " + game.string() + ": " + std::strerror(errno));
    }
    catch (const std::exception& error)
    {
        platform::showFatalError("Error!", error.what());
    }
    return 1;
}
