#include <cctype>

#include <gtest/gtest.h>

#include "scenes/hud_clock.h"

namespace
{
std::string cells(const HudClock& clock)
{
    std::string shown;
    for (int k = HudClock::cellCount - 1; k >= 0; --k)
        shown += clock.cell(k);
    return shown;
}
} // namespace

TEST(HudClock, ShowsSecondsSeparatorAndHundredthsGrowingLeftwards)
{
    HudClock clock;
    clock.show(83.4f);
    EXPECT_EQ(cells(clock), "   83:40");
    clock.show(5.25f);
    EXPECT_EQ(cells(clock), "   85:25") << "cells the shorter text does not reach keep what they showed";
    clock.show(0);
    EXPECT_EQ(cells(clock), "   80:00");
    clock.show(12345.6f);
    EXPECT_EQ(cells(clock), "12345:60");
}

TEST(HudClock, ATimeWithMoreDecimalsShowsItsHundredthsTruncated)
{
    HudClock clock;
    clock.show(0.016f);
    EXPECT_EQ(cells(clock), "    0:01");
    clock.show(59.999f);
    EXPECT_EQ(cells(clock), "   59:99");
}

TEST(HudClock, CharactersWithoutAPictureAreDrawnBlank)
{
    HudClock clock;
    clock.show(2.5e6f); // six significant digits turn into an exponent
    EXPECT_EQ(cells(clock), "    2:5e") << "2.5e+06: the exponent lands in the hundredths";
    for (int k = 0; k < HudClock::cellCount; ++k)
    {
        const std::string& material = HudClock::materialFor(clock.cell(k));
        const bool known =
            material == "blank" || material == "dots" || (material.size() == 1 && std::isdigit(material[0]));
        EXPECT_TRUE(known) << "cell " << k << " shows " << material;
    }
    EXPECT_EQ(HudClock::materialFor('e'), "blank");
    EXPECT_EQ(HudClock::materialFor('+'), "blank");
    EXPECT_EQ(HudClock::materialFor(':'), "dots");
    EXPECT_EQ(HudClock::materialFor('7'), "7");
}
