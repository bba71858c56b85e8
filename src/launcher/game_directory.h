#pragma once

// The per-player game directory of an installed game.
//
// The game reads and writes its working directory: its configuration, its log and the best times, and it
// finds its media there. An installed game's files are shared by every user and read-only, so the
// installed `quobbel` command gives each player a game directory of their own, $XDG_DATA_HOME/quobbel
// (~/.local/share/quobbel by default), and starts the game in it. Every start brings that directory up to
// date with the installed data folder (share/quobbel beside the command's bin folder):
// - files named *.cfg are the player's settings: copied in when missing, never overwritten;
// - every other entry (media.icl, soundtrack/) is read-only media: a symbolic link to the installed entry,
//   made again whenever it points anywhere else, so an upgraded game never runs on stale copies;
// - links into the data folder whose entry an upgrade removed are deleted.
// The installed data folder is only ever read.

#include <filesystem>
#include <stdexcept>
#include <string>

namespace launcher
{

// What stops the game from starting; what() is the message for the player.
class LauncherError : public std::runtime_error
{
  public:
    using std::runtime_error::runtime_error;
};

// The parts of the process environment that place the game directory.
struct Environment
{
    std::string home;        // HOME, or the password database's home folder when HOME is unset
    std::string xdgDataHome; // XDG_DATA_HOME; empty when unset
};

Environment currentEnvironment();

// $XDG_DATA_HOME/quobbel, or $HOME/.local/share/quobbel when XDG_DATA_HOME is unset, empty or relative
// (the XDG base directory rules ignore a relative one). Throws LauncherError without a usable home.
std::filesystem::path gameDirectoryFor(const Environment& environment);

// Creates gameDir when missing and brings it up to date with the installed dataDir (an absolute path), as
// described above. Throws LauncherError when the data folder is missing or the game directory cannot be
// made or written; what is already in place stays as it was.
void prepareGameDirectory(const std::filesystem::path& dataDir, const std::filesystem::path& gameDir);

} // namespace launcher
