// The toolkit inside the real application, drawn by the GL render system under the test display.

#include <fstream>

#include <Ogre.h>
#include <OgrePanelOverlayElement.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "app/quobbel.h"
#include "core/access_points.h"
#include "gui/button_manager.h"
#include "support/game_process.h"
#include "support/window_pixels.h"
#include "support/x11_window.h"

using namespace buttonGUI;

namespace
{
const char* const group = "GuiScreenTest";

// An uncompressed 32-bit DDS of one colour: read by the engine only when a material using it loads. DDS is
// decoded by the engine itself; the PNG codec plugin frees its pixels in a way the sanitizer rejects.
void writeSolidDds(const std::string& path, uint32_t width, uint32_t height, const Ogre::ColourValue& colour)
{
    // "DDS ", header size, flags (caps, height, width, pitch, pixel format), height, width, pitch; from word
    // 19 the pixel format (its size, RGB with alpha, 32 bits, the R, G, B and A masks); then a plain texture.
    const uint32_t header[32] = {0x20534444, 124, 0x100F,     height,     width,      width * 4,  0,
                                 0,          0,   0,          0,          0,          0,          0,
                                 0,          0,   0,          0,          0,          32,         0x41,
                                 0,          32,  0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000, 0x1000};
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(header), sizeof header);
    const uint32_t argb = 0xFF000000u | static_cast<uint32_t>(colour.r * 255) << 16 |
                          static_cast<uint32_t>(colour.g * 255) << 8 | static_cast<uint32_t>(colour.b * 255);
    for (uint32_t pixel = 0; pixel < width * height; ++pixel)
        file.write(reinterpret_cast<const char*>(&argb), sizeof argb);
}

// Set up as the game's overlay materials are: unlit, no depth, alpha blended, one clamped texture.
void makeOverlayMaterial(const std::string& name, const std::string& texture)
{
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().create(name, group);
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pass->setLightingEnabled(false);
    pass->setDepthCheckEnabled(false);
    pass->setDepthWriteEnabled(false);
    pass->setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
    pass->createTextureUnitState(texture)->setTextureAddressingMode(Ogre::TextureUnitState::TAM_CLAMP);
}

} // namespace

TEST(ToolkitOnScreen, TheSelectedButtonShowsItsMouseOverLookAndTheOthersTheirOwn)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    GameDirCopy dir;
    // An 800 x 480 window with a 16:10 picture: a 768 x 480 viewport between bars 16 pixels wide.
    dir.write("Quobbel.cfg",
              "Fullscreen = false\nWindowResolution = 800x480\nVSync = false\nWidescreen = true\n");
    Quobbel game(dir.path() + "/");
    EXPECT_EQ(theButtonManager->getScreenWidth(), 768);
    EXPECT_EQ(theButtonManager->getScreenHeight(), 480);
    theButtonManager->setScreenSize(1, 1);
    game.windowResized(theRenderWindow);
    EXPECT_EQ(theButtonManager->getScreenWidth(), 768) << "the window's resize gives the viewport's size";

    const Ogre::ColourValue red(1, 0, 0), green(0, 1, 0), black(0, 0, 0);
    const std::string textures = dir.file("textures");
    mkdir(textures.c_str(), 0755);
    writeSolidDds(textures + "/gui_red.dds", 64, 32, red);
    writeSolidDds(textures + "/gui_green.dds", 64, 32, green);
    auto& groups = Ogre::ResourceGroupManager::getSingleton();
    groups.addResourceLocation(textures, "FileSystem", group);
    groups.initialiseResourceGroup(group);
    makeOverlayMaterial("tile", "gui_red.dds");
    makeOverlayMaterial("tile.mouseOver", "gui_green.dds");

    button* window =
        theButtonManager->createWindow("fons", "BLANK", 768, 480, 0, true, false, position(0, 0));
    // Sized from the texture, not from the default size of a texture that has not been read yet.
    window->createButton("left", "tile", 0, 0, position(CENTER, -150, 0), true);
    button* middle = window->createButton("middle", "tile", 0, 0, position(CENTER, 0, 0), true);
    window->createButton("right", "tile", 0, 0, position(CENTER, 150, 0), true);
    EXPECT_EQ(middle->panel->getWidth(), 64);
    EXPECT_EQ(middle->panel->getHeight(), 32);
    theButtonManager->selectButton(2);

    for (int frame = 0; frame < 3; ++frame)
        Ogre::Root::getSingleton().renderOneFrame();
    // Centres in the window: x 16 + 384 + offset, y 240.
    EXPECT_TRUE(windowShows(250, 240, red));
    EXPECT_TRUE(windowShows(400, 240, green));
    EXPECT_TRUE(windowShows(550, 240, red));
    EXPECT_TRUE(windowShows(5, 240, black)) << "the bar left of the picture";

    theButtonManager->destroyAllWindows();
}
