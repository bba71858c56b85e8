// Looks found from the material naming rule, per-button clones, and what building and destroying menus
// leaves behind.

#include <set>

#include <OgreOverlay.h>
#include <OgreOverlayManager.h>
#include <OgrePanelOverlayElement.h>

#include "toolkit_fixture.h"

using namespace buttonGUI;

namespace
{
size_t overlayCount()
{
    size_t count = 0;
    auto overlays = Ogre::OverlayManager::getSingleton().getOverlayIterator();
    for (; overlays.hasMoreElements(); overlays.moveNext())
        ++count;
    return count;
}

size_t materialCount()
{
    size_t count = 0;
    auto materials = Ogre::MaterialManager::getSingleton().getResourceIterator();
    for (; materials.hasMoreElements(); materials.moveNext())
        ++count;
    return count;
}
} // namespace

TEST_F(ToolkitTest, EachLookShowsItsOwnVariantOfTheBaseMaterial)
{
    makeMaterial("play");
    makeMaterial("play.mouseOver");
    makeMaterial("play.onClick");
    button* window = manager->createWindow("menu", "play", 100, 40, 0, true, true, position(0, 0));
    auto shown = [&] { return window->panel->getMaterialName(); };

    EXPECT_EQ(shown(), "play_buttonGUI_menu");
    manager->injectMouseMove(50, 20);
    EXPECT_EQ(shown(), "play.mouseOver_buttonGUI_menu");
    manager->injectMousePress(0);
    EXPECT_EQ(shown(), "play.onClick_buttonGUI_menu");
    manager->injectMouseRelease(0);
    EXPECT_EQ(shown(), "play.mouseOver_buttonGUI_menu");
    manager->injectMouseMove(500, 500);
    EXPECT_EQ(shown(), "play_buttonGUI_menu");

    // ".mouseOff" replaces the base; ".onRelease" replaces the mouse-over look on release only.
    makeMaterial("play.mouseOff");
    makeMaterial("play.onRelease");
    window->setMaterial("play");
    EXPECT_EQ(shown(), "play.mouseOff_buttonGUI_menu");
    EXPECT_EQ(window->lookMaterial(LOOK_RELEASED), "play.onRelease_buttonGUI_menu");
    EXPECT_EQ(window->lookMaterial(LOOK_MOUSE_OVER), "play.mouseOver_buttonGUI_menu");

    // No material at all keeps the panel as it is, with no look to change to.
    window->setMaterial("nothingLikeThis");
    EXPECT_EQ(window->lookMaterial(LOOK_MOUSE_OVER), "");
    manager->injectMouseMove(50, 20);
    EXPECT_EQ(shown(), "play.mouseOff_buttonGUI_menu");
}

TEST_F(ToolkitTest, FadingOneButtonLeavesAnotherWithTheSameMaterialAlone)
{
    makeMaterial("play");
    button* window = manager->createWindow("menu", "", 400, 400, 0, true, true, position(0, 0));
    button* first = window->createButton("first", "play", 50, 50, position(0, 0), true);
    window->createButton("second", "play", 50, 50, position(100, 0), true);
    first->setAlpha(0.25f);
    EXPECT_FLOAT_EQ(alphaOf("play_buttonGUI_first"), 0.25f);
    EXPECT_FLOAT_EQ(alphaOf("play_buttonGUI_second"), 1.0f);
    EXPECT_FLOAT_EQ(alphaOf("play"), 1.0f);

    // A window's alpha reaches its children.
    window->setAlpha(0.5f);
    EXPECT_FLOAT_EQ(alphaOf("play_buttonGUI_second"), 0.5f);
}

TEST_F(ToolkitTest, ABlankButtonIsTransparentAndStillClickable)
{
    button* window = manager->createWindow("w", "BLANK", 30, 30, 0, true, true, position(10, 10));
    EXPECT_TRUE(window->panel->isTransparent());
    manager->injectMouseMove(40, 40);
    manager->injectMousePress(0);
    const Event* event = manager->getNextEvent();
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->type, EVENT_PRESSED);
    EXPECT_EQ(event->source, window);
}

TEST_F(ToolkitTest, ASizeFromAMissingMaterialIsReportedWithItsNameAndLeavesNothingBehind)
{
    const size_t overlaysBefore = overlayCount();
    try
    {
        manager->createWindow("w", "noSuchMaterial", 0, 0, 0, true, true, position(0, 0));
        FAIL() << "no exception";
    }
    catch (const Ogre::Exception& error)
    {
        EXPECT_NE(error.getDescription().find("noSuchMaterial"), std::string::npos);
    }
    EXPECT_EQ(overlayCount(), overlaysBefore);
    EXPECT_TRUE(manager->getButtons().empty());
}

TEST_F(ToolkitTest, AThousandMenusComeAndGoWithoutLeaks)
{
    makeMaterial("play");
    makeMaterial("play.mouseOver");
    const size_t overlaysBefore = overlayCount();
    size_t materialsAfterFirst = 0;
    std::set<std::string> panels;
    for (int round = 0; round < 1000; ++round)
    {
        panels.clear();
        button* window =
            manager->createWindow("menu", "play", 300, 200, 0, true, true, position(CENTER, 0, 0));
        for (const char* name : {"one", "two", "three"})
            panels.insert(
                window->createButton(name, "play", 60, 30, position(TOP, 0, 10), true)->panel->getName());
        panels.insert(window->panel->getName());
        manager->selectButton(1);
        manager->getNextEvent();
        window->hide(true, 300); // destroyed mid-fade, with events pending
        clock->advance(100);
        manager->update();
        manager->destroyAllWindows();
        if (round == 0)
            materialsAfterFirst = materialCount();
    }
    EXPECT_EQ(overlayCount(), overlaysBefore);
    EXPECT_EQ(manager->getNextEvent(), nullptr);
    EXPECT_EQ(manager->getCurrentEvent().source, nullptr) << "no pointer to a destroyed button";
    EXPECT_EQ(materialCount(), materialsAfterFirst) << "clones are reused by name";
    for (const std::string& panel : panels)
        EXPECT_FALSE(Ogre::OverlayManager::getSingleton().hasOverlayElement(panel)) << panel;
    EXPECT_FLOAT_EQ(alphaOf("play_buttonGUI_menu"), 1.0f) << "alpha restored for the next user of the clone";

    // After a thousand automatic z-orders the next window still gets a valid one, below the cursor's.
    button* window = manager->createWindow("menu", "play", 300, 200, 0, true, true, position(0, 0));
    EXPECT_EQ(window->overlay->getZOrder(), 5);
}
