// The game installed with `cmake --install` into a scratch prefix and started through its `quobbel`
// command, as a player with a fresh home would: it reaches the title, ends with exit code 0 when the window
// is closed, and writes only into the player's game directory.

#include <gtest/gtest.h>

#include "support/installed_game.h"
#include "support/x11_window.h"

namespace fs = std::filesystem;

TEST(InstalledGame, ReachesTheTitleFromTheInstalledCommandAndEndsWithExitCodeZeroOnClose)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    ScratchFolder scratch;
    const InstalledTree tree = installBuild(scratch / "usr");
    const std::string installed = describeTree(tree.prefix);

    EXPECT_EQ(playToTheTitleAndClose(tree, scratch / "home"), 0);

    const fs::path gameDir = scratch / "home/.local/share/quobbel";
    EXPECT_NE(readFile(gameDir / "quobbel.log").find("Scene loaded"), std::string::npos)
        << "the log is in the game directory";
    EXPECT_TRUE(fs::is_regular_file(gameDir / "directx.cfg"));
    EXPECT_EQ(describeTree(tree.prefix), installed);
}
