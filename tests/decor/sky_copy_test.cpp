// The sky copied into the real application's window by the GL render system under the test display.

#include <filesystem>
#include <fstream>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "app/quobbel.h"
#include "core/access_points.h"
#include "decor/sky_copy.h"
#include "support/game_process.h"
#include "support/window_pixels.h"
#include "support/x11_window.h"

namespace
{
const char* const group = "SkyCopyTest";

// An uncompressed 32-bit DDS, its top half `top` and its bottom half `bottom` (ARGB words).
void writeTwoHalvesDds(const std::string& path, uint32_t width, uint32_t height, uint32_t top,
                       uint32_t bottom)
{
    const uint32_t header[32] = {0x20534444, 124, 0x100F,     height,     width,      width * 4,  0,
                                 0,          0,   0,          0,          0,          0,          0,
                                 0,          0,   0,          0,          0,          32,         0x41,
                                 0,          32,  0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000, 0x1000};
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(header), sizeof header);
    for (uint32_t row = 0; row < height; ++row)
        for (uint32_t column = 0; column < width; ++column)
            file.write(reinterpret_cast<const char*>(row < height / 2 ? &top : &bottom), sizeof top);
}

} // namespace

// A picture smaller than the view is stretched over the view, the right way up, and leaves the bars
// beside the view as they were; the window's rendering goes on as before around it.
TEST(SkyCopyOnScreen, ThePictureFillsTheViewTheRightWayUpAndNothingElse)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    GameDirCopy dir;
    // An 800 x 480 window with a 16:10 picture: a 768 x 480 viewport between bars 16 pixels wide.
    dir.write("Quobbel.cfg",
              "Fullscreen = false\nWindowResolution = 800x480\nVSync = false\nWidescreen = true\n");
    Quobbel game(dir.path() + "/");
    const std::string textures = dir.file("textures");
    std::filesystem::create_directories(textures);
    writeTwoHalvesDds(textures + "/sky_halves.dds", 64, 32, 0xFFFF0000, 0xFF00FF00);
    auto& groups = Ogre::ResourceGroupManager::getSingleton();
    groups.addResourceLocation(textures, "FileSystem", group);
    groups.initialiseResourceGroup(group);
    const Ogre::TexturePtr picture = Ogre::TextureManager::getSingleton().load("sky_halves.dds", group);

    std::unique_ptr<SkyCopy> copy = SkyCopy::start(picture, *theRenderWindow, *theViewport);
    ASSERT_TRUE(copy) << "the GL render system on the test display copies";
    // As the sky sets it up: the view shows nothing else and clears only its depth.
    theViewport->setVisibilityMask(0);
    theViewport->setOverlaysEnabled(false);
    theViewport->setClearEveryFrame(true, Ogre::FBT_DEPTH);
    for (int frame = 0; frame < 2; ++frame)
        Ogre::Root::getSingleton().renderOneFrame();

    const Ogre::ColourValue red(1, 0, 0), green(0, 1, 0), black(0, 0, 0);
    EXPECT_TRUE(windowShows(17, 1, red)) << "the view's top left corner";
    EXPECT_TRUE(windowShows(400, 200, red));
    EXPECT_TRUE(windowShows(400, 280, green));
    EXPECT_TRUE(windowShows(782, 478, green)) << "the view's bottom right corner";
    EXPECT_TRUE(windowShows(5, 240, black)) << "the bar left of the view";
    EXPECT_TRUE(windowShows(795, 240, black)) << "the bar right of the view";

    copy.reset();
    theViewport->setClearEveryFrame(true, Ogre::FBT_COLOUR | Ogre::FBT_DEPTH);
    Ogre::Root::getSingleton().renderOneFrame();
    EXPECT_TRUE(windowShows(400, 200, theViewport->getBackgroundColour())) << "no copy once it is gone";
}
