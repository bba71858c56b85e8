// The installed `quobbel` command on a real install of this build, with the game program swapped for a
// stand-in that reports where it was started: the player's game directory, their settings and best times,
// homes it cannot use, and upgrades.

#include <iterator>

#include <unistd.h>

#include <gtest/gtest.h>

#include "support/installed_game.h"

namespace fs = std::filesystem;

namespace
{
// Tells where it runs and ends with a code of its own, which the command must pass on.
const char* const standInGame = "#!/bin/sh\necho \"game started in $(pwd)\"\nexit 7\n";
constexpr int standInExitCode = 7;

class Launcher : public testing::Test
{
  protected:
    void SetUp() override
    {
        tree = installBuild(scratch / "usr");
        writeFile(tree.gameProgram(), standInGame);
        home = scratch / "home";
        fs::create_directories(home);
    }

    // Starts the command without a display (so a refusal is not also a dialog to dismiss) with HOME and
    // XDG_DATA_HOME as given (empty: unset). otherUser runs it as "nobody" when the tests run as root,
    // whom no permission stops.
    CommandResult start(const InstalledTree& installed, const fs::path& homeDir,
                        const std::string& xdgDataHome = "", bool otherUser = false) const
    {
        std::string line = "env -u DISPLAY -u XDG_DATA_HOME HOME='" + homeDir.string() + "' ";
        if (!xdgDataHome.empty())
            line += "XDG_DATA_HOME='" + xdgDataHome + "' ";
        if (otherUser && geteuid() == 0)
            line += "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
        return runCommand(line + "'" + installed.launcher().string() + "'");
    }
    CommandResult start() const { return start(tree, home); }

    fs::path gameDir() const { return home / ".local/share/quobbel"; }

    ScratchFolder scratch;
    InstalledTree tree;
    fs::path home;
};

std::string startedIn(const fs::path& dir)
{
    return "game started in " + dir.string() + "\n";
}
} // namespace

TEST_F(Launcher, TheFirstStartMakesTheGameDirectoryWithTheDefaultsAndLinksToTheMediaAndWritesNothingInstalled)
{
    const std::string installed = describeTree(tree.prefix);
    const CommandResult run = start();
    EXPECT_EQ(run.exitCode, standInExitCode) << run.output;
    EXPECT_EQ(run.output, startedIn(gameDir()));
    for (const char* settings : {"Quobbel.cfg", "directx.cfg"})
    {
        SCOPED_TRACE(settings);
        EXPECT_FALSE(fs::is_symlink(gameDir() / settings));
        EXPECT_EQ(readFile(gameDir() / settings), readFile(tree.dataDir() / settings));
        // The installed file is read-only to players; their copy is theirs to edit.
        EXPECT_NE(fs::status(gameDir() / settings).permissions() & fs::perms::owner_write, fs::perms::none);
    }
    for (const char* media : {"media.icl", "soundtrack", "controls.cfg.example"})
    {
        SCOPED_TRACE(media);
        ASSERT_TRUE(fs::is_symlink(gameDir() / media));
        EXPECT_EQ(fs::read_symlink(gameDir() / media), tree.dataDir() / media);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(gameDir()), fs::directory_iterator()), 5)
        << "no scratch files left behind";
    EXPECT_EQ(describeTree(tree.prefix), installed);
    // XDG_DATA_HOME, when set, holds the game directory instead.
    EXPECT_EQ(start(tree, home, (scratch / "data").string()).output, startedIn(scratch / "data/quobbel"));
}

TEST_F(Launcher, LaterStartsKeepThePlayersSettingsAndBestTimesAndRestoreOnlyMissingDefaults)
{
    start();
    const std::string edited = "Fullscreen = true\nWidescreen = true\n";
    writeFile(gameDir() / "Quobbel.cfg", edited);
    writeFile(gameDir() / "scores.icl", "ABC 83.2417\n");
    writeFile(gameDir() / "quobbel.log", "last run\n");
    fs::remove(gameDir() / "directx.cfg");

    const CommandResult run = start();
    EXPECT_EQ(run.exitCode, standInExitCode) << run.output;
    EXPECT_EQ(readFile(gameDir() / "Quobbel.cfg"), edited);
    EXPECT_EQ(readFile(gameDir() / "scores.icl"), "ABC 83.2417\n");
    EXPECT_EQ(readFile(gameDir() / "quobbel.log"), "last run\n");
    EXPECT_EQ(readFile(gameDir() / "directx.cfg"), readFile(tree.dataDir() / "directx.cfg"));
}

TEST_F(Launcher, AHomeWhereTheGameDirectoryCannotBeMadeOrWrittenStopsWithAMessageAndExitCodeOne)
{
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                               fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    const fs::path readOnlyHome = scratch / "read-only-home";
    fs::create_directories(readOnlyHome);
    fs::permissions(readOnlyHome, readOnly);
    const fs::path readOnlyGameDir = scratch / "read-only-data/quobbel";
    fs::create_directories(readOnlyGameDir);
    fs::permissions(readOnlyGameDir, readOnly);
    writeFile(scratch / "a-file", "");
    const struct
    {
        const char* what;
        fs::path home;
        std::string xdgDataHome;
        std::string message;
    } cases[] = {
        {"a read-only home", readOnlyHome, "",
         "Cannot create the game directory " + (readOnlyHome / ".local/share/quobbel").string() +
             ": Permission denied"},
        {"a read-only game directory", home, (scratch / "read-only-data").string(),
         "Cannot write into the game directory " + readOnlyGameDir.string() + ": Permission denied"},
        {"a file in the way", home, (scratch / "a-file").string(),
         "Cannot create the game directory " + (scratch / "a-file/quobbel").string() + ": Not a directory"},
        {"no home at all", "", "", "No home folder for the game's files: HOME is not set"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const CommandResult run = start(tree, c.home, c.xdgDataHome, true);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.output, "Error! " + c.message + "\n");
    }
    EXPECT_TRUE(fs::is_empty(readOnlyGameDir));
}

TEST_F(Launcher, AfterAnUpgradeTheGameSeesTheNewMediaAndNoStaleCopies)
{
    start();
    // The new version changes the archive, drops the soundtrack folder and brings a new file.
    writeFile(tree.dataDir() / "media.icl", "new media\n");
    fs::remove_all(tree.dataDir() / "soundtrack");
    writeFile(tree.dataDir() / "intro.ogg", "new tune\n");
    EXPECT_EQ(start().output, startedIn(gameDir()));
    EXPECT_EQ(readFile(gameDir() / "media.icl"), "new media\n");
    EXPECT_EQ(readFile(gameDir() / "intro.ogg"), "new tune\n");
    EXPECT_FALSE(fs::exists(fs::symlink_status(gameDir() / "soundtrack")))
        << "a link to nothing stays behind";

    // Copies left by an older game, or by a player who copied a build's game directory, make way too.
    fs::remove(gameDir() / "media.icl");
    writeFile(gameDir() / "media.icl", "old media\n");
    fs::create_directories(tree.dataDir() / "soundtrack");
    writeFile(tree.dataDir() / "soundtrack/theme.ogg", "new theme\n");
    fs::create_directories(gameDir() / "soundtrack");
    writeFile(gameDir() / "soundtrack/theme.ogg", "old theme\n");
    start();
    EXPECT_EQ(readFile(gameDir() / "media.icl"), "new media\n");
    EXPECT_EQ(readFile(gameDir() / "soundtrack/theme.ogg"), "new theme\n");

    // A game installed elsewhere (from source into /usr/local, then from the package into /usr) plays on its
    // own media, with the player's settings and best times kept.
    writeFile(gameDir() / "scores.icl", "ABC 83.2417\n");
    const InstalledTree moved = installBuild(scratch / "local");
    writeFile(moved.gameProgram(), standInGame);
    EXPECT_EQ(start(moved, home).output, startedIn(gameDir()));
    EXPECT_EQ(fs::read_symlink(gameDir() / "media.icl"), moved.dataDir() / "media.icl");
    EXPECT_EQ(readFile(gameDir() / "media.icl"), readFile(moved.dataDir() / "media.icl"));
    EXPECT_EQ(readFile(gameDir() / "scores.icl"), "ABC 83.2417\n");
}
