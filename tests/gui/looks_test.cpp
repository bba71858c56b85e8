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
// How many items an engine iterator walks over (overlays, materials).
template <typename Iterator> size_t countOf(Iterator items)
{
    size_t count = 0;
    for (; items.hasMoreElements(); items.moveNext())
        ++count;
    return count;
}
size_t overlayCount()
{
    return countOf(Ogre::OverlayManager::getSingleton().getOverlayIterator());
}
} // namespace

TEST_F(ToolkitTest, EachButtonShowsItsOwnCloneOfEachLookOfItsMaterial)
{
    for (const char* look : {"play", "play.mouseOff", "play.mouseOver", "play.onClick"})
        makeMaterial(look);
    button* window = manager->createWindow("menu", "play", 100, 40, 0, true, true, position(0, 0));
    auto shown = [&] { return window->panel->getMaterialName(); };
    EXPECT_EQ(shown(), "play.mouseOff_buttonGUI_menu");
    manager->injectMouseMove(50, 20);
    EXPECT_EQ(shown(), "play.mouseOver_buttonGUI_menu");
    manager->injectMousePress(0);
    EXPECT_EQ(shown(), "play.onClick_buttonGUI_menu");
    manager->injectMouseRelease(0);
    EXPECT_EQ(shown(), "play.mouseOver_buttonGUI_menu");
    manager->injectMouseMove(500, 500);
    EXPECT_EQ(shown(), "play.mouseOff_buttonGUI_menu");

    // Back from another material, the first one's looks all return (a clock cell switches digits so).
    makeMaterial("stop");
    window->setMaterial("stop");
    EXPECT_EQ(shown(), "stop_buttonGUI_menu");
    manager->injectMouseMove(50, 20);
    EXPECT_EQ(shown(), "stop_buttonGUI_menu") << "stop has no lit look";
    window->setMaterial("play");
    EXPECT_EQ(shown(), "play.mouseOff_buttonGUI_menu");
    manager->injectMouseMove(500, 500);
    manager->injectMouseMove(50, 20);
    EXPECT_EQ(shown(), "play.mouseOver_buttonGUI_menu");
    manager->injectMouseMove(500, 500);

    // Fading one button never changes another with the same material.
    button* first = window->createButton("first", "play", 50, 50, position(0, 100), true);
    window->createButton("second", "play", 50, 50, position(100, 100), true);
    first->setAlpha(0.25f);
    EXPECT_FLOAT_EQ(alphaOf("play.mouseOff_buttonGUI_first"), 0.25f);
    EXPECT_FLOAT_EQ(alphaOf("play.mouseOff_buttonGUI_second"), 1.0f);
    EXPECT_FLOAT_EQ(alphaOf("play.mouseOff"), 1.0f);
}

TEST_F(ToolkitTest, ABlankButtonIsTransparentAndStillClickable)
{
    button* blank = manager->createWindow("blank", "BLANK", 30, 30, 0, true, true, position(200, 200));
    EXPECT_TRUE(blank->panel->isTransparent());
    manager->injectMouseMove(210, 210);
    manager->injectMousePress(0);
    const Event* event = manager->getNextEvent();
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->source, blank);
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
            materialsAfterFirst = countOf(Ogre::MaterialManager::getSingleton().getResourceIterator());
    }
    EXPECT_EQ(overlayCount(), overlaysBefore);
    EXPECT_EQ(manager->getNextEvent(), nullptr);
    EXPECT_EQ(manager->getCurrentEvent().source, nullptr) << "no pointer to a destroyed button";
    EXPECT_EQ(countOf(Ogre::MaterialManager::getSingleton().getResourceIterator()), materialsAfterFirst)
        << "clones are reused by name";
    for (const std::string& panel : panels)
        EXPECT_FALSE(Ogre::OverlayManager::getSingleton().hasOverlayElement(panel)) << panel;
    EXPECT_FLOAT_EQ(alphaOf("play_buttonGUI_menu"), 1.0f) << "alpha restored for the next user of the clone";

    // After a thousand automatic z-orders the next window still gets a valid one, below the cursor's.
    button* window = manager->createWindow("menu", "play", 300, 200, 0, true, true, position(0, 0));
    EXPECT_EQ(window->overlay->getZOrder(), 5);
}
