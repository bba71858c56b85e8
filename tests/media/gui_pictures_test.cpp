// The overlay pictures in the generated media.icl: materials the button toolkit can clone and fade, pictures
// of the pixel sizes the menus, HUD and tables are laid out for, and visible selection looks.

#include <cmath>
#include <string>
#include <vector>

#include "media_fixture.h"

namespace
{
struct Expected
{
    std::string material;
    Ogre::uint32 width;
    Ogre::uint32 height;
};

// Pixel sizes the layout relies on: "from texture" panels are placed by these sizes, glyph cells are drawn
// at 20x38 and 30x57 (pictures at twice 20x38), and the 600x590, 600x198 and 500-wide panels are drawn at
// their given sizes.
const Expected layout[] = {
    {"textGo", 320, 160},
    {"blank", 20, 38},
    {"BLANK", 4, 4},
    {"butContinuar", 256, 96},
    {"butSortir", 256, 96},
    {"vides", 96, 96},
    {"butTime", 256, 128},
    {"classification2p", 256, 144},
    {"textCongrats", 480, 96},
    {"cara1", 96, 96},
    {"cara2", 96, 96},
    {"textRecord", 480, 96},
    {"dots", 40, 76},
    {"slash", 40, 76},
    {"but1Player", 256, 96},
    {"but2Players", 256, 96},
    {"butPuntuaciones", 256, 96},
    {"creditos", 256, 96},
    {"butSortirJoc", 256, 96},
    {"panelClasification", 600, 590},
    {"butLevel1", 320, 160},
    {"butLevel2", 320, 160},
    {"butLevel3", 320, 160},
    {"butLevel4", 320, 160},
    {"pressStart", 400, 64},
    {"PimLogo", 600, 198},
    {"creditos1", 500, 257},
    {"creditos2", 500, 287},
    {"creditos3", 500, 314},
    {"classification2pHigh0", 340, 176},
    {"classification2pHigh1", 340, 176},
};

const char* const selectableButtons[] = {"but1Player",   "but2Players",  "butPuntuaciones", "creditos",
                                         "butSortirJoc", "butLevel1",    "butLevel2",       "butLevel3",
                                         "butLevel4",    "butContinuar", "butSortir"};

std::vector<std::string> glyphNames()
{
    std::vector<std::string> names{"dots", "slash"};
    for (char c = '0'; c <= '9'; ++c)
        names.emplace_back(1, c);
    for (char c = 'A'; c <= 'Z'; ++c)
        names.emplace_back(1, c);
    return names;
}

using GuiPictures = GeneratedMedia;

// Mean difference of two same-sized pictures over RGB and alpha, 0..1.
double meanDifference(Ogre::Image& a, Ogre::Image& b)
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

float maxAlpha(Ogre::Image& image)
{
    float best = 0;
    for (Ogre::uint32 y = 0; y < image.getHeight(); ++y)
        for (Ogre::uint32 x = 0; x < image.getWidth(); ++x)
            best = std::max(best, image.getColourAt(x, y, 0).a);
    return best;
}

TEST_F(GuiPictures, EveryOverlayMaterialShowsOneClampedPictureOfItsLayoutSize)
{
    std::vector<Expected> overlays(std::begin(layout), std::end(layout));
    for (const std::string& glyph : glyphNames())
        overlays.push_back({glyph, 40, 76});
    // The looks' sizes are their buttons'.
    for (const char* button : selectableButtons)
        for (const char* look : {".mouseOff", ".mouseOver", ".onClick"})
            overlays.push_back({std::string(button) + look, 0, 0});
    for (const Expected& e : overlays)
    {
        SCOPED_TRACE(e.material);
        ASSERT_TRUE(material(e.material)) << "not defined";
        const Ogre::Pass* pass = material(e.material)->getTechnique(0)->getPass(0);
        EXPECT_FALSE(pass->getLightingEnabled());
        EXPECT_FALSE(pass->getDepthCheckEnabled());
        EXPECT_FALSE(pass->getDepthWriteEnabled());
        EXPECT_EQ(pass->getSourceBlendFactor(), Ogre::SBF_SOURCE_ALPHA);
        EXPECT_EQ(pass->getDestBlendFactor(), Ogre::SBF_ONE_MINUS_SOURCE_ALPHA);
        const Ogre::TextureUnitState* unit = pass->getTextureUnitState(0);
        EXPECT_EQ(unit->getTextureAddressingMode().u, Ogre::TAM_CLAMP);
        EXPECT_EQ(unit->getTextureAddressingMode().v, Ogre::TAM_CLAMP);
        EXPECT_EQ(unit->getNumMipmaps(), 0);
        const Ogre::Image image = picture(e.material);
        EXPECT_TRUE(Ogre::PixelUtil::hasAlpha(image.getFormat()));
        if (e.width > 0)
        {
            EXPECT_EQ(image.getWidth(), e.width);
            EXPECT_EQ(image.getHeight(), e.height);
        }
    }
}

TEST_F(GuiPictures, SelectableButtonsLightUpAndPressVisibly)
{
    for (const char* button : selectableButtons)
    {
        SCOPED_TRACE(button);
        Ogre::Image base = picture(button);
        Ogre::Image off = picture(std::string(button) + ".mouseOff");
        Ogre::Image over = picture(std::string(button) + ".mouseOver");
        Ogre::Image pressed = picture(std::string(button) + ".onClick");
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

TEST_F(GuiPictures, CellsAndBoardsHaveNoLooksAndGlyphsAreDistinct)
{
    // The results scene walks its selection over digit cells and the board: any look there would flash.
    std::vector<std::string> plain = glyphNames();
    plain.insert(plain.end(),
                 {"blank", "classification2pHigh0", "classification2pHigh1", "classification2p"});
    for (const std::string& name : plain)
        for (const char* look : {".mouseOff", ".mouseOver", ".onClick", ".onRelease"})
            EXPECT_FALSE(material(name + look)) << name << look;

    std::vector<Ogre::Image> glyphs;
    for (const std::string& name : glyphNames())
    {
        glyphs.push_back(picture(name));
        Ogre::Image& image = glyphs.back();
        EXPECT_GT(maxAlpha(image), 0.99f) << name << " has no ink";
        EXPECT_EQ(image.getColourAt(0, 0, 0).a, 0.0f) << name << " is not on a clear background";
    }
    for (std::size_t i = 0; i < glyphs.size(); ++i)
        for (std::size_t j = i + 1; j < glyphs.size(); ++j)
            EXPECT_GT(meanDifference(glyphs[i], glyphs[j]), 0.005)
                << glyphNames()[i] << " looks like " << glyphNames()[j];

    Ogre::Image blank = picture("blank");
    Ogre::Image cursor = picture("BLANK");
    EXPECT_EQ(maxAlpha(blank), 0.0f);
    EXPECT_EQ(maxAlpha(cursor), 0.0f);
}

TEST_F(GuiPictures, RecordSignHidesTheCongratulationsUnderIt)
{
    Ogre::Image record = picture("textRecord");
    Ogre::Image congrats = picture("textCongrats");
    ASSERT_EQ(record.getWidth(), congrats.getWidth());
    ASSERT_EQ(record.getHeight(), congrats.getHeight());
    int showingThrough = 0;
    for (Ogre::uint32 y = 0; y < record.getHeight(); ++y)
        for (Ogre::uint32 x = 0; x < record.getWidth(); ++x)
            if (congrats.getColourAt(x, y, 0).a > 0 && record.getColourAt(x, y, 0).a < 1.0f)
                ++showingThrough;
    EXPECT_EQ(showingThrough, 0);
}

} // namespace
