#include "launcher/game_directory.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace launcher
{

namespace
{
// The game directory's name under the data home.
const char* const gameName = "quobbel";

[[noreturn]] void fail(const std::string& what, const fs::path& path, const std::error_code& error)
{
    throw LauncherError(what + " " + path.string() + ": " + error.message());
}

// The player's settings; everything else in the data folder is media.
bool isSettingsFile(const fs::path& name)
{
    return name.extension() == ".cfg";
}

bool entryExists(const fs::path& path)
{
    std::error_code ignored;
    return fs::symlink_status(path, ignored).type() != fs::file_type::not_found;
}

// A scratch name beside `path`, hidden, for building a file or link before it takes its place in one rename.
fs::path scratchFor(const fs::path& path, const char* suffix)
{
    return path.parent_path() / ("." + path.filename().string() + suffix);
}

// A copy that appears whole or not at all, writable by its owner whatever the installed file's mode.
void copySettingsOnce(const fs::path& installed, const fs::path& copy)
{
    if (entryExists(copy) || !fs::is_regular_file(installed))
        return;
    const fs::path scratch = scratchFor(copy, ".new");
    std::error_code error;
    fs::copy_file(installed, scratch, fs::copy_options::overwrite_existing, error);
    if (!error)
        fs::permissions(scratch,
                        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                            fs::perms::others_read,
                        error);
    if (!error)
        fs::rename(scratch, copy, error);
    if (error)
    {
        std::error_code ignored;
        fs::remove(scratch, ignored);
        fail("Cannot copy the default settings into", copy, error);
    }
}

void linkMedia(const fs::path& installed, const fs::path& link)
{
    std::error_code error;
    const fs::file_status present = fs::symlink_status(link, error);
    if (fs::is_symlink(present) && fs::read_symlink(link, error) == installed && !error)
        return;
    const fs::path scratch = scratchFor(link, ".link");
    fs::remove(scratch, error);
    fs::create_symlink(installed, scratch, error);
    // A folder cannot be renamed over; one here is a copy of media from an older game.
    if (!error && fs::is_directory(present))
        fs::remove_all(link, error);
    if (!error)
        fs::rename(scratch, link, error);
    if (error)
    {
        std::error_code ignored;
        fs::remove(scratch, ignored);
        fail("Cannot link the game's media into", link, error);
    }
}

void removeLinksToRemovedMedia(const fs::path& dataDir, const fs::path& gameDir)
{
    std::error_code error;
    for (fs::directory_iterator entry(gameDir, error), end; !error && entry != end; entry.increment(error))
    {
        std::error_code ignored;
        if (!entry->is_symlink(ignored))
            continue;
        const fs::path target = fs::read_symlink(entry->path(), ignored);
        if (target.parent_path() == dataDir && !entryExists(target))
            fs::remove(entry->path(), ignored);
    }
}
} // namespace

Environment currentEnvironment()
{
    Environment environment;
    if (const char* home = std::getenv("HOME"))
        environment.home = home;
    else if (const passwd* user = getpwuid(getuid()))
        environment.home = user->pw_dir ? user->pw_dir : "";
    if (const char* dataHome = std::getenv("XDG_DATA_HOME"))
        environment.xdgDataHome = dataHome;
    return environment;
}

fs::path gameDirectoryFor(const Environment& environment)
{
    const fs::path dataHome(environment.xdgDataHome);
    if (dataHome.is_absolute())
        return dataHome / gameName;
    const fs::path home(environment.home);
    if (!home.is_absolute())
        throw LauncherError(
            "No home folder for the game's files: HOME is " +
            (environment.home.empty() ? std::string("not set") : "\"" + environment.home + "\""));
    return home / ".local" / "share" / gameName;
}

void prepareGameDirectory(const fs::path& dataDir, const fs::path& gameDir)
{
    std::error_code error;
    if (!fs::is_directory(dataDir, error))
        throw LauncherError("The game's installed data " + dataDir.string() +
                            " is missing: reinstall the game");
    fs::create_directories(gameDir, error);
    if (error)
        fail("Cannot create the game directory", gameDir, error);
    if (access(gameDir.c_str(), W_OK | X_OK) != 0)
        fail("Cannot write into the game directory", gameDir,
             std::error_code(errno, std::generic_category()));

    for (fs::directory_iterator entry(dataDir, error), end; entry != end; entry.increment(error))
    {
        const fs::path name = entry->path().filename();
        if (name.string().front() == '.')
            continue;
        if (isSettingsFile(name))
            copySettingsOnce(entry->path(), gameDir / name);
        else
            linkMedia(entry->path(), gameDir / name);
    }
    if (error)
        fail("Cannot read the game's installed data", dataDir, error);
    removeLinksToRemovedMedia(dataDir, gameDir);
}

} // namespace launcher
