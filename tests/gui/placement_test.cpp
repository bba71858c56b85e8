// Where windows and buttons land for each kind of position record.

#include <utility>

#include <OgrePanelOverlayElement.h>

#include "gui/position.h"
#include "toolkit_fixture.h"

using namespace buttonGUI;

TEST(AnchoredPlacement, EveryAnchorTruncatesEachTermBeforeAdding)
{
    // 101 x 51 in an 800 x 600 area with offsets (3.7, -2.5): left 3, centre 400 - 50 + 3, right
    // 800 - 101 - 3; top -2, middle 300 - 25 - 2, bottom 600 - 51 + 2.
    const struct
    {
        Anchor anchor;
        int left;
        int top;
    } expected[] = {{LEFT, 3, 273},       {TOP_LEFT, 3, -2},     {TOP, 353, -2},
                    {TOP_RIGHT, 696, -2}, {RIGHT, 696, 273},     {BOTTOM_RIGHT, 696, 551},
                    {BOTTOM, 353, 551},   {BOTTOM_LEFT, 3, 551}, {CENTER, 353, 273}};
    for (const auto& row : expected)
    {
        const PixelPoint placed = anchoredPlacement(row.anchor, 3.7f, -2.5f, 800, 600, 101, 51);
        EXPECT_EQ(placed.left, row.left) << "anchor " << row.anchor;
        EXPECT_EQ(placed.top, row.top) << "anchor " << row.anchor;
    }
    // Halves of odd and fractional sizes are truncated separately: 100 - 0 + 0, not round(100.8 - 0.5).
    const PixelPoint centred = anchoredPlacement(CENTER, 0, 0, 201.6f, 3, 1, 1);
    EXPECT_EQ(centred.left, 100);
    EXPECT_EQ(centred.top, 1);
}

TEST_F(ToolkitTest, ChildrenAreAnchoredInTheirParentAndAbsoluteRecordsMeanScreenPixels)
{
    button* window = manager->createWindow("fons", "", 200, 100, 0, true, true, position(CENTER, 0, 0));
    button* child = window->createButton("corner", "", 50, 20, position(BOTTOM_RIGHT, 5, 5), true);
    button* grandchild = child->createButton("spot", "", 4, 4, position(450.9f, 330.9f), true);
    using Point = std::pair<float, float>;
    const auto at = [](const button* placed)
    { return Point(placed->getPosition().x, placed->getPosition().y); };

    EXPECT_EQ(at(window), Point(300, 250));
    EXPECT_EQ(child->panel->getLeft(), 145); // relative to the window's panel
    EXPECT_EQ(at(child), Point(445, 325));
    EXPECT_EQ(at(grandchild), Point(450, 330));

    // A new screen size moves anchored buttons with their area; absolute ones stay on their pixel.
    manager->setScreenSize(1000.4f, 700.6f);
    EXPECT_EQ(manager->getScreenHeight(), 701);
    EXPECT_EQ(at(child), Point(545, 375));
    EXPECT_EQ(at(grandchild), Point(450, 330));
}
