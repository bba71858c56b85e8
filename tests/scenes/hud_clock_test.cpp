#include <gtest/gtest.h>

#include "scenes/hud_clock.h"

// One clock shown a run of times: each row is what the cells read afterwards, leftmost first.
TEST(HudClock, ShowsSecondsSeparatorAndTruncatedHundredthsGrowingLeftwardsWithBlanksForOtherCharacters)
{
    const struct
    {
        float seconds;
        const char* cells;
    } shown[] = {
        {83.4f, "   83:40"},
        // Cells the shorter text does not reach keep what they showed.
        {5.25f, "   85:25"},
        {0, "   80:00"},
        {12345.6f, "12345:60"},
        {0.016f, "12340:01"},
        {59.999f, "12359:99"},
        // Six significant digits turn 2.5e6 into "2.5e+06": the exponent lands in the hundredths.
        {2.5e6f, "12352:5e"},
    };
    HudClock clock;
    for (const auto& [seconds, cells] : shown)
    {
        clock.show(seconds);
        std::string read;
        for (int k = HudClock::cellCount - 1; k >= 0; --k)
            read += clock.cell(k);
        EXPECT_EQ(read, cells) << seconds;
    }
    EXPECT_EQ(HudClock::materialFor('e'), "blank");
    EXPECT_EQ(HudClock::materialFor('+'), "blank");
    EXPECT_EQ(HudClock::materialFor(':'), "dots");
    EXPECT_EQ(HudClock::materialFor('7'), "7");
}
