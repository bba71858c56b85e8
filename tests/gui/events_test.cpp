// Pointer injection, hit testing, selection and the event queue.

#include "toolkit_fixture.h"

using namespace buttonGUI;

namespace
{
struct Posted
{
    int type;
    int mouseButton;
    std::string name;
};

std::vector<Posted> drain(buttonManager& manager)
{
    std::vector<Posted> events;
    while (const Event* event = manager.getNextEvent())
        events.push_back({event->type, event->mouseButton, event->source ? event->source->name : "-"});
    return events;
}

bool operator==(const Posted& a, const Posted& b)
{
    return a.type == b.type && a.mouseButton == b.mouseButton && a.name == b.name;
}

std::ostream& operator<<(std::ostream& out, const Posted& posted)
{
    return out << "{" << posted.type << ", " << posted.mouseButton << ", " << posted.name << "}";
}
} // namespace

// An unclickable window at (100, 100) holding "a" over (110..160, 110..160) and, created later, "b" over
// (140..190, 140..190).
class PointerTest : public ToolkitTest
{
  protected:
    PointerTest()
    {
        window = manager->createWindow("fons", "", 400, 300, 0, true, false, position(100, 100));
        a = window->createButton("a", "", 50, 50, position(TOP_LEFT, 10, 10), true);
        b = window->createButton("b", "", 50, 50, position(TOP_LEFT, 40, 40), true);
    }
    button* window;
    button* a;
    button* b;
};

TEST_F(PointerTest, OverlappingButtonsBothLightAndTheLaterOneTakesThePress)
{
    // (160, 160) is a's bottom right corner: edges belong to the button.
    manager->injectMouseMove(160, 160);
    EXPECT_TRUE(a->isMouseOver());
    EXPECT_TRUE(b->isMouseOver());
    manager->injectMousePress(1);
    manager->injectMouseRelease(1);
    // Newest first.
    EXPECT_EQ(drain(*manager), (std::vector<Posted>{{EVENT_RELEASED, 1, "b"},
                                                    {EVENT_PRESSED, 1, "b"},
                                                    {EVENT_MOUSE_OVER, -1, "b"},
                                                    {EVENT_MOUSE_OVER, -1, "a"}}));
    EXPECT_EQ(manager->getNextEvent(), nullptr);
    EXPECT_EQ(manager->getCurrentEvent().source, a) << "the last one handed out";

    manager->injectMouseMove(161, 161);
    EXPECT_FALSE(a->isMouseOver());
    EXPECT_EQ(drain(*manager), (std::vector<Posted>{{EVENT_MOUSE_OFF, -1, "a"}}));

    // A release goes to whatever is under the cursor then, not to the pressed button.
    manager->injectMouseMove(150, 150);
    manager->injectMousePress(0);
    manager->injectMouseMove(120, 120);
    manager->injectMouseRelease(0);
    const std::vector<Posted> events = drain(*manager);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), (Posted{EVENT_RELEASED, 0, "a"}));
}

TEST_F(PointerTest, HiddenAndFadingOutButtonsAreNeverHit)
{
    manager->injectMouseMove(150, 150);
    b->hide(false, 300);
    EXPECT_TRUE(b->isHidden());
    manager->injectMousePress(0);
    a->hide(true, 300);
    EXPECT_TRUE(a->isVisible()) << "still drawn while it fades";
    manager->injectMousePress(0);
    window->hide(false, 0);
    b->show(false, 0);
    EXPECT_TRUE(b->isHidden()) << "a child of a hidden window stays hidden";
    manager->injectMousePress(0);
    std::vector<Posted> events = drain(*manager);
    ASSERT_EQ(events.size(), 3u); // two looks lit by the move, then a single press
    EXPECT_EQ(events.front(), (Posted{EVENT_PRESSED, 0, "a"}));

    // A child made in a hidden window starts hidden and shows with it.
    button* late = window->createButton("late", "", 10, 10, position(TOP_LEFT, 200, 200), true);
    EXPECT_TRUE(late->isHidden());
    window->show(false, 0);
    EXPECT_FALSE(late->isHidden());
    EXPECT_FALSE(b->isHidden());
}

TEST_F(PointerTest, ActivatingTheSelectionClicksItAndKeepsItLit)
{
    manager->injectMouseMove(700, 10);
    manager->selectButton(1);
    EXPECT_EQ(manager->selected, 1);
    EXPECT_EQ(drain(*manager), (std::vector<Posted>{{EVENT_MOUSE_OVER, -1, "a"}}));

    // b covers a's top left corner only from (140, 140): (111, 111) is a's alone.
    manager->activateSelected();
    EXPECT_EQ(drain(*manager), (std::vector<Posted>{{EVENT_RELEASED, 0, "a"}, {EVENT_PRESSED, 0, "a"}}));
    EXPECT_TRUE(a->isMouseOver());
    EXPECT_EQ(manager->getCursorX(), 700);
    EXPECT_EQ(manager->getCursorY(), 10);

    // Moving the selection turns the old one off; past the end only turns lit buttons off.
    manager->selectButton(2);
    EXPECT_EQ(drain(*manager),
              (std::vector<Posted>{{EVENT_MOUSE_OVER, -1, "b"}, {EVENT_MOUSE_OFF, -1, "a"}}));
    manager->selectButton(7);
    EXPECT_EQ(drain(*manager), (std::vector<Posted>{{EVENT_MOUSE_OFF, -1, "b"}}));
    manager->activateSelected();
    EXPECT_TRUE(drain(*manager).empty());

    // Index 0 is the window; it is not clickable, so its click hits nothing.
    manager->selectButton(0);
    drain(*manager);
    manager->activateSelected();
    EXPECT_TRUE(drain(*manager).empty());
}
