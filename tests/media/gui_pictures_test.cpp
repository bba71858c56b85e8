// The overlay pictures in the generated media.icl: materials the button toolkit can clone and fade, pictures
// of the pixel sizes the menus, HUD and tables are laid out for, and visible selection looks.

#include <cmath>
#include <string>
#include <vector>

#include "media_fixture.h"

namespace
{
std::vector<std::string> glyphNames()
{
    std::vector<std::string> names{"dots", "slash"};
    for (char c = '0'; c <= '9'; ++c)
        names.emplace_back(1, c);
    for (char c = 'A'; c <= 'Z'; ++c)
        names.emplace_back(1, c);
    return names;
}

// Pixel sizes the layout relies on: "from texture" panels are placed by these sizes, glyph cells are drawn
// at 20x38 and 30x57 (pictures at twice 20x38), and the 600x590, 600x198 and 500-wide panels are drawn at
// their given sizes.
const struct
{
    Ogre::uint32 width, height;
    std::vector<std::string> materials;
} layout[] = {
    {320, 160, {"textGo", "butLevel1", "butLevel2", "butLevel3", "butLevel4"}},
    {256, 96, {"butContinuar", "butSortir", "but1Player", "but2Players"}},
    {256, 96, {"butPuntuaciones", "creditos", "butSortirJoc"}},
    {96, 96, {"vides", "cara1", "cara2"}},
    {480, 96, {"textCongrats", "textRecord"}},
    {224, 56, {"textNotSaved"}},
    {560, 96, {"textMapError"}},
    {340, 176, {"classification2pHigh0", "classification2pHigh1"}},
    {20, 38, {"blank"}},
    {4, 4, {"BLANK"}},
    {256, 128, {"butTime"}},
    {256, 144, {"classification2p"}},
    {600, 590, {"panelClasification"}},
    {400, 64, {"pressStart"}},
    {600, 198, {"PimLogo"}},
    {500, 257, {"creditos1"}},
    {500, 287, {"creditos2"}},
    {500, 314, {"creditos3"}},
    {40, 76, glyphNames()},
};

const char* const selectableButtons[] = {"but1Player",   "but2Players",  "butPuntuaciones", "creditos",
                                         "butSortirJoc", "butLevel1",    "butLevel2",       "butLevel3",
                                         "butLevel4",    "butContinuar", "butSortir"};

using GuiPictures = GeneratedMedia;

// Mean difference of two same-sized pictures over RGB and alpha, 0..1.
double meanDifference(const Ogre::Image& a, const Ogre::Image& b)
{
    double sum = 0;
    for (Ogre::uint32 y = 0; y < a.getHeight(); ++y)
        for (Ogre::uint32 x = 0; x < a.getWidth(); ++x)
        {
            const Ogre::ColourValue p = a.getColourAt(x, y, 0);
            const Ogre::ColourValue q = b.getColourAt(x, y, 0);
            sum += std::fabs(p.r * p.a - q.r * q.a) + std::fabs(p.g * p.a - q.g * q.a) +
                   std::fabs(p.b * p.a - q.b * q.a) + std::fabs(p.a - q.a);
        }
    return sum / (4.0 * a.getWidth() * a.getHeight());
}

float maxAlpha(const Ogre::Image& image)
{
    float best = 0;
    for (Ogre::uint32 y = 0; y < image.getHeight(); ++y)
        for (Ogre::uint32 x = 0; x < image.getWidth(); ++x)
            best = std::max(best, image.getColourAt(x, y, 0).a);
    return best;
}

TEST_F(GuiPictures, EveryOverlayMaterialShowsOneClampedPictureOfItsLayoutSizeAndButtonsLightUpVisibly)
{
    for (const auto& size : layout)
    {
        for (const std::string& name : size.materials)
        {
            SCOPED_TRACE(name);
            ASSERT_TRUE(material(name)) << "not defined";
            const Ogre::Pass* pass = material(name)->getTechnique(0)->getPass(0);
            EXPECT_FALSE(pass->getDepthCheckEnabled());
            EXPECT_EQ(pass->getSourceBlendFactor(), Ogre::SBF_SOURCE_ALPHA);
            EXPECT_EQ(pass->getTextureUnitState(0)->getTextureAddressingMode().u, Ogre::TAM_CLAMP);
            const Ogre::Image image = picture(name);
            EXPECT_TRUE(Ogre::PixelUtil::hasAlpha(image.getFormat()));
            EXPECT_EQ(image.getWidth(), size.width);
            EXPECT_EQ(image.getHeight(), size.height);
        }
    }
    for (const char* button : selectableButtons)
    {
        SCOPED_TRACE(button);
        const Ogre::Image base = picture(button);
        const Ogre::Image off = picture(std::string(button) + ".mouseOff");
        const Ogre::Image over = picture(std::string(button) + ".mouseOver");
        const Ogre::Image pressed = picture(std::string(button) + ".onClick");
        for (const Ogre::Image* look : {&off, &over, &pressed})
        {
            ASSERT_EQ(look->getWidth(), base.getWidth());
            ASSERT_EQ(look->getHeight(), base.getHeight());
        }
        EXPECT_EQ(meanDifference(base, off), 0.0);
        // Keyboard selection shows only through the mouse-over look: it must stand out from the base.
        EXPECT_GT(meanDifference(base, over), 0.04);
        EXPECT_GT(meanDifference(base, pressed), 0.03);
        EXPECT_GT(meanDifference(over, pressed), 0.04);
        // A release look other than mouse-over would flash after every activation.
        EXPECT_FALSE(material(std::string(button) + ".onRelease"));
    }
}

TEST_F(GuiPictures, GlyphsAreDistinctInkOnAClearBackground)
{
    std::vector<Ogre::Image> glyphs;
    for (const std::string& name : glyphNames())
    {
        glyphs.push_back(picture(name));
        EXPECT_GT(maxAlpha(glyphs.back()), 0.99f) << name << " has no ink";
        EXPECT_EQ(glyphs.back().getColourAt(0, 0, 0).a, 0.0f) << name << " is not on a clear background";
    }
    for (std::size_t i = 0; i < glyphs.size(); ++i)
        for (std::size_t j = i + 1; j < glyphs.size(); ++j)
            EXPECT_GT(meanDifference(glyphs[i], glyphs[j]), 0.005)
                << glyphNames()[i] << " looks like " << glyphNames()[j];
    for (const char* clear : {"blank", "BLANK"})
        EXPECT_EQ(maxAlpha(picture(clear)), 0.0f) << clear;
}
} // namespace
