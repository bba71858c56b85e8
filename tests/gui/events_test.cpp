// Pointer injection, hit testing, selection and the event queue.

#include "toolkit_fixture.h"

using namespace buttonGUI;

namespace
{
// The events waiting, newest first, as "pressed1 b" (a press of mouse button 1 on "b") or "over a".
std::string drain(buttonManager& manager)
{
    static const char* const kinds[] = {"pressed", "released", "over", "off"};
    std::string events;
    while (const Event* event = manager.getNextEvent())
    {
        events += events.empty() ? "" : ", ";
        events += event->type >= 0 && event->type < 4 ? kinds[event->type] : "?";
        if (event->type == EVENT_PRESSED || event->type == EVENT_RELEASED)
            events += std::to_string(event->mouseButton);
        events += " " + (event->source ? event->source->name : std::string("-"));
    }
    return events;
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
    manager->injectMousePress(1);
    manager->injectMouseRelease(1);
    EXPECT_EQ(drain(*manager), "released1 b, pressed1 b, over b, over a");
    EXPECT_EQ(manager->getCurrentEvent().source, a) << "the last one handed out";

    manager->injectMouseMove(161, 161);
    EXPECT_EQ(drain(*manager), "off a");

    // A release goes to whatever is under the cursor then, not to the pressed button.
    manager->injectMouseMove(150, 150);
    manager->injectMousePress(0);
    manager->injectMouseMove(120, 120);
    manager->injectMouseRelease(0);
    EXPECT_EQ(drain(*manager).substr(0, 11), "released0 a");
}

TEST_F(PointerTest, HiddenAndFadingOutButtonsAreNeverHit)
{
    manager->injectMouseMove(150, 150);
    b->hide(false, 300);
    manager->injectMousePress(0);
    a->hide(true, 300);
    EXPECT_TRUE(a->isVisible()) << "still drawn while it fades";
    manager->injectMousePress(0);
    window->hide(false, 0);
    b->show(false, 0);
    EXPECT_TRUE(b->isHidden()) << "a child of a hidden window stays hidden";
    manager->injectMousePress(0);
    EXPECT_EQ(drain(*manager), "pressed0 a, over b, over a");

    // A child made in a hidden window starts hidden and shows with it.
    button* late = window->createButton("late", "", 10, 10, position(TOP_LEFT, 200, 200), true);
    EXPECT_TRUE(late->isHidden());
    window->show(false, 0);
    EXPECT_FALSE(late->isHidden());
}

TEST_F(PointerTest, ActivatingTheSelectionClicksItAndKeepsItLit)
{
    manager->injectMouseMove(700, 10);
    manager->selectButton(1);
    EXPECT_EQ(drain(*manager), "over a");
    manager->activateSelected();
    EXPECT_EQ(drain(*manager), "released0 a, pressed0 a");
    EXPECT_TRUE(a->isMouseOver());

    // Moving the selection turns the old one off; past the end only turns lit buttons off.
    manager->selectButton(2);
    EXPECT_EQ(drain(*manager), "over b, off a");
    manager->selectButton(7);
    EXPECT_EQ(drain(*manager), "off b");
    manager->activateSelected();
    EXPECT_EQ(drain(*manager), "");
}
