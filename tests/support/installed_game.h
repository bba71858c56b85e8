#pragma once

// The game as a player gets it: this build installed with `cmake --install` into a scratch prefix, or a
// package unpacked into a scratch root; and the installed `quobbel` command started with a scratch home.

#include <filesystem>
#include <string>

#include "support/file_bytes.h"

// A folder under /tmp, removed with everything in it (read-only parts included) when the object goes.
class ScratchFolder
{
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return mPath; }
    std::filesystem::path operator/(const std::string& name) const { return mPath / name; }

  private:
    std::filesystem::path mPath;
};

// An installed tree under `prefix`, laid out as the install rules lay it out.
struct InstalledTree
{
    std::filesystem::path prefix;

    std::filesystem::path launcher() const;
    std::filesystem::path gameProgram() const;
    std::filesystem::path dataDir() const;
};

// Installs this build under prefix; throws std::runtime_error when `cmake --install` fails.
InstalledTree installBuild(const std::filesystem::path& prefix);

// One line per entry under root, sorted: path, type, permissions, size, modification time and link target.
// Two equal descriptions mean nothing was added, removed or written.
std::string describeTree(const std::filesystem::path& root);

// Runs a shell command line; returns its exit code (-1 when it did not exit) and its standard output and
// error together.
struct CommandResult
{
    int exitCode = -1;
    std::string output;
};
CommandResult runCommand(const std::string& commandLine);

// Starts the tree's `quobbel` command with HOME at `home` and without XDG_DATA_HOME, under the test display,
// waits for the title (as an 800x600 window), closes the window as a window manager would and returns the
// game's exit code; -1 with a failure added when it does not get there. The player's Quobbel.cfg is written
// first to ask for that window size.
int playToTheTitleAndClose(const InstalledTree& tree, const std::filesystem::path& home);
