// Fades on the toolkit's clock, stepped by hand.

#include "toolkit_fixture.h"

using namespace buttonGUI;

class FadeTest : public ToolkitTest
{
  protected:
    FadeTest()
    {
        makeMaterial("textGo");
        clock->set(1000);
        sign = manager->createWindow("go", "textGo", 320, 160, 0, false, true, position(CENTER, 0, 0));
    }
    float alpha() const { return alphaOf("textGo_buttonGUI_go"); }
    void at(std::uint32_t ms)
    {
        clock->set(ms);
        manager->update();
    }
    button* sign;
};

TEST_F(FadeTest, AFadeInEndsOnTheFirstUpdateMoreThanItsDurationAfterItsStartEvenAcrossTheClockWrap)
{
    sign->show(true, 300);
    EXPECT_TRUE(sign->isVisible());
    EXPECT_FLOAT_EQ(alpha(), 0.0f);
    at(1000 + 301 / 2);
    EXPECT_NEAR(alpha(), 150.0f / 301.0f, 1e-6);
    at(1301);
    EXPECT_TRUE(sign->isFadingIn());
    at(1302);
    EXPECT_FALSE(sign->isFadingIn());
    EXPECT_FLOAT_EQ(alpha(), 1.0f);

    // Showing what is visible changes nothing.
    sign->show(true, 50);
    EXPECT_FALSE(sign->isFadingIn());
    EXPECT_FLOAT_EQ(alpha(), 1.0f);

    // Fades run across the wrap of the millisecond clock.
    sign->hide(false, 0);
    clock->set(0xFFFFFF00u);
    sign->show(true, 0x200);
    at(0x00000010u); // 0x110 ms after the start
    EXPECT_NEAR(alpha(), 272.0f / 513.0f, 1e-6);
}

TEST_F(FadeTest, AFadeOutHidesAtItsEndAndLeavesTheAlphaWhereItWas)
{
    sign->show(false, 300);
    sign->hide(true, 300);
    at(1100);
    sign->hide(true, 300); // already fading out: the first fade keeps its times
    at(1200);
    EXPECT_NEAR(alpha(), 1.0f - 200.0f / 301.0f, 1e-6);
    at(1301);
    EXPECT_TRUE(sign->isVisible());
    const float last = alpha();
    at(1302);
    EXPECT_TRUE(sign->isHidden());
    EXPECT_FALSE(sign->isFadingOut());
    EXPECT_FLOAT_EQ(alpha(), last);
    sign->show(false, 0);
    EXPECT_FLOAT_EQ(alpha(), last) << "an immediate show keeps the alpha";
}
