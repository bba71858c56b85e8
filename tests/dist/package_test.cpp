// The Debian package made from this build with cpack: its name and control fields, Debian's own checks
// (lintian, desktop-file-validate, appstreamcli), the icons and the links between the desktop files, and
// the game started from the unpacked package to its title.

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <png.h>

#include <gtest/gtest.h>

#include "platform/engine_plugins.h"
#include "support/installed_game.h"
#include "support/test_paths.h"
#include "support/x11_window.h"

namespace fs = std::filesystem;

namespace
{
std::string shellQuoted(const fs::path& path)
{
    return "'" + path.string() + "'";
}

// The value of `key` in a desktop entry or control file ("Key=value" or "Key: value").
std::string valueOf(const std::string& text, const std::string& keyAndSeparator)
{
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(keyAndSeparator, 0) == 0)
            return line.substr(keyAndSeparator.size());
    return "";
}

// Whether a Depends field names `package`, with or without a version, alone or as an alternative.
bool names(const std::string& depends, const std::string& package)
{
    std::istringstream words(depends);
    for (std::string word; words >> word;)
        if (word == package || word == package + ",")
            return true;
    return false;
}

// Checks one installed icon: the size its folder names, a picture in the middle of a transparent square (the
// faint edge of the picture's shadow may reach the corners of the smallest).
void checkIcon(const fs::path& file, unsigned size)
{
    SCOPED_TRACE(file.string());
    png_image icon{};
    icon.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&icon, file.c_str())) << icon.message;
    icon.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> rgba(PNG_IMAGE_SIZE(icon));
    ASSERT_TRUE(png_image_finish_read(&icon, nullptr, rgba.data(), 0, nullptr)) << icon.message;
    ASSERT_EQ(icon.width, size);
    ASSERT_EQ(icon.height, size);
    const auto alpha = [&](unsigned x, unsigned y) { return rgba[4 * (y * size + x) + 3]; };
    for (const auto& [x, y] : {std::pair{0u, 0u}, {size - 1, 0u}, {0u, size - 1}, {size - 1, size - 1}})
        EXPECT_LT(alpha(x, y), 16) << "corner " << x << "," << y;
    EXPECT_EQ(alpha(size / 2, size / 2), 255) << "centre";
}
} // namespace

TEST(Package, CpackMakesALintianCleanDebianPackageFromWhichTheGameReachesItsTitle)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    ScratchFolder scratch;
    const CommandResult cpack =
        runCommand("cpack --config " + shellQuoted(testing_paths::binaryDir() + "/CPackConfig.cmake") +
                   " -B " + shellQuoted(scratch / "out"));
    ASSERT_EQ(cpack.exitCode, 0) << cpack.output;
    std::vector<fs::path> packages;
    for (const fs::directory_entry& entry : fs::directory_iterator(scratch / "out"))
        if (entry.path().extension() == ".deb")
            packages.push_back(entry.path());
    ASSERT_EQ(packages.size(), 1u) << cpack.output;
    const fs::path deb = packages.front();

    const std::string control = runCommand("dpkg-deb -f " + shellQuoted(deb)).output;
    SCOPED_TRACE(control);
    EXPECT_EQ(deb.filename().string(), "quobbel_" + valueOf(control, "Version: ") + "_amd64.deb");
    EXPECT_EQ(valueOf(control, "Package: "), "quobbel");
    EXPECT_EQ(valueOf(control, "Architecture: "), "amd64");
    EXPECT_EQ(valueOf(control, "Section: "), "games");
    // The dependencies come from the libraries linked; the engine loads its plugins later, by path, so their
    // package (the runtime library, not its development package) must be among them too.
    const std::string depends = valueOf(control, "Depends: ");
    EXPECT_TRUE(names(depends, "libc6"));
    for (const char* plugin : {"RenderSystem_GL", "Plugin_ParticleFX", "Codec_STBI"})
    {
        const std::string owner =
            runCommand("dpkg -S " + shellQuoted(platform::ogrePluginPath(plugin))).output;
        EXPECT_TRUE(names(depends, owner.substr(0, owner.find(':')))) << plugin << " comes from " << owner;
    }

    const CommandResult lintian = runCommand("lintian --fail-on error " + shellQuoted(deb));
    EXPECT_EQ(lintian.exitCode, 0) << lintian.output;
    std::cout << "lintian:\n" << lintian.output;

    const fs::path root = scratch / "root";
    ASSERT_EQ(runCommand("dpkg-deb -x " + shellQuoted(deb) + " " + shellQuoted(root)).exitCode, 0);
    const fs::path share = root / "usr/share";
    std::vector<fs::path> desktopFiles;
    for (const fs::directory_entry& entry : fs::directory_iterator(share / "applications"))
        desktopFiles.push_back(entry.path());
    ASSERT_EQ(desktopFiles.size(), 1u);
    const fs::path desktopFile = desktopFiles.front();
    const CommandResult desktopCheck = runCommand("desktop-file-validate " + shellQuoted(desktopFile));
    EXPECT_EQ(desktopCheck.exitCode, 0);
    EXPECT_EQ(desktopCheck.output, "");
    const fs::path metainfo = share / "metainfo" / (desktopFile.stem().string() + ".metainfo.xml");
    const CommandResult appstream = runCommand("appstreamcli validate --no-net " + shellQuoted(metainfo));
    EXPECT_EQ(appstream.exitCode, 0) << appstream.output;
    EXPECT_NE(readFile(metainfo).find(">" + desktopFile.filename().string() + "</launchable>"),
              std::string::npos);
    for (const char* page : {"man6/quobbel.6.gz", "man1/quobbel-level.1.gz"})
    {
        const CommandResult manual =
            runCommand("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z " +
                       shellQuoted(share / "man" / page) + " >/dev/null");
        EXPECT_EQ(manual.output, "") << page;
    }
    // The level tool runs from the package and reads the levels it is given.
    const CommandResult levelTool =
        runCommand(shellQuoted(root / "usr/bin/quobbel-level") + " check " +
                   shellQuoted(fs::path(QUOBBEL_SOURCE_DIR) / "levels/mapa1.imf"));
    EXPECT_EQ(levelTool.exitCode, 0) << levelTool.output;

    const std::string iconName = valueOf(readFile(desktopFile), "Icon=");
    for (const unsigned size : {16u, 32u, 48u, 64u, 128u, 256u, 512u})
    {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        checkIcon(share / "icons/hicolor" / folder / "apps" / (iconName + ".png"), size);
    }

    EXPECT_EQ(playToTheTitleAndClose(InstalledTree{root / "usr"}, scratch / "home"), 0);
}
