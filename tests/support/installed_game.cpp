#include "support/installed_game.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include "support/game_process.h"
#include "support/overlay_pictures.h"
#include "support/test_paths.h"
#include "support/x11_window.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

ScratchFolder::ScratchFolder()
{
    char pattern[] = "/tmp/quobbel-install-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    mPath = pattern;
    // Other users may need to reach what the tests put here (a player without write access).
    fs::permissions(mPath, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    for (fs::recursive_directory_iterator it(mPath, ignored), end; !ignored && it != end;
         it.increment(ignored))
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(mPath, ignored);
}

fs::path InstalledTree::launcher() const
{
    return prefix / QUOBBEL_INSTALL_BIN_DIR / "quobbel";
}

fs::path InstalledTree::gameProgram() const
{
    return prefix / QUOBBEL_INSTALL_GAME_DIR / "quobbel";
}

fs::path InstalledTree::dataDir() const
{
    return prefix / QUOBBEL_INSTALL_DATA_DIR;
}

InstalledTree installBuild(const fs::path& prefix)
{
    const CommandResult install =
        runCommand("cmake --install '" + testing_paths::binaryDir() + "' --prefix '" + prefix.string() + "'");
    if (install.exitCode != 0)
        throw std::runtime_error("cmake --install failed:\n" + install.output);
    return InstalledTree{prefix};
}

std::string describeTree(const fs::path& root)
{
    std::vector<std::string> lines;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
    {
        const fs::file_status status = entry.symlink_status();
        std::ostringstream line;
        line << fs::relative(entry.path(), root).string() << ' ' << static_cast<int>(status.type()) << ' '
             << std::oct << static_cast<unsigned>(status.permissions()) << std::dec;
        if (fs::is_symlink(status))
            line << " -> " << fs::read_symlink(entry.path()).string();
        else if (fs::is_regular_file(status))
            line << ' ' << entry.file_size() << ' ' << entry.last_write_time().time_since_epoch().count();
        lines.push_back(line.str());
    }
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

CommandResult runCommand(const std::string& commandLine)
{
    CommandResult result;
    FILE* pipe = popen((commandLine + " 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, n);
    const int status = pclose(pipe);
    if (status != -1 && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    return result;
}

int playToTheTitleAndClose(const InstalledTree& tree, const fs::path& home)
{
    // The menus' layout is checked in an 800x600 window; a player's own setting, which the launcher keeps.
    const fs::path gameDir = home / ".local/share/quobbel";
    fs::create_directories(gameDir);
    writeFile(gameDir / "Quobbel.cfg", "Fullscreen = false\nWindowResolution = 800x600\nVSync = true\n");

    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    OverlayPictures pictures((tree.dataDir() / "media.icl").string());
    const fs::path outputs = home / "outputs";
    fs::create_directories(outputs);
    GameProcess game(tree.launcher().string(), outputs.string());
    X11Session x11;
    // The sanitizer build on a loaded machine renders a few frames a second; every wait polls.
    const auto timeout = 90s;
    unsigned long window = 0;
    if (!waitFor([&] { return (window = x11.findWindow("Quobbel")) != 0; }, timeout))
    {
        ADD_FAILURE() << "no game window\n" << game.standardError();
        return -1;
    }
    // The title's logo, at its place in the 800x600 layout.
    const OverlaySpot logoSpot{100, 80, 80};
    OverlayMatch logo;
    const bool title = waitFor(
        [&]
        {
            logo = matchOverlay(x11.capture(window), pictures.of("PimLogo"), logoSpot);
            return logo.samples >= 12 && logo.fraction >= 0.9;
        },
        timeout);
    if (!title)
        ADD_FAILURE() << "no title: the logo matched " << logo.fraction << " of " << logo.samples
                      << " samples\n"
                      << game.standardError();
    x11.requestClose(window);
    const int exitCode = game.waitForExit(timeout);
    if (exitCode != 0)
        ADD_FAILURE() << "the game did not end cleanly after the close request (exit code " << exitCode
                      << ")\n"
                      << game.diagnosis();
    return title ? exitCode : -1;
}
