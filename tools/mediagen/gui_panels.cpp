// Tables and pages: the best-times panel (600x590, its cells are drawn over it by the score table) and its
// "NOT SAVED" sign, the two-player results boards (340x176, digits over them) and the three credit pages
// (500 wide).

#include <vector>

#include "gui_pictures.h"

namespace gui
{
namespace
{
const Colour panelTop = rgb(0x2c4890, 0.93f);
const Colour panelBottom = rgb(0x15245a, 0.93f);
const Colour gold = rgb(0xffcf3a);

Lettering titleLettering()
{
    Lettering lettering;
    lettering.fillTop = rgb(0xfff27a);
    lettering.fillBottom = rgb(0xffa21a);
    lettering.outline = rgb(0x4a230a);
    lettering.outlineWidth = 5;
    lettering.shadowOffset = 4;
    return lettering;
}

// The table's cells: rank labels end at x 100, names take x 110..250 and times x 365..545, in rows
// 38 px high from y 100. The title sits above the rows; the bottom strip may fall off small screens.
Raster bestTimesPanel(FontFace& font)
{
    Raster picture(600, 590);
    const int w = picture.width();
    const int h = picture.height();
    drawPlate(picture, Rect{4, 4, 596, 586}, 26, panelTop, panelBottom, gold, 5);
    drawText(picture, font, "BEST TIMES", Rect{130, 16, 470, 80}, 54, titleLettering());
    drawStar(picture, 92, 48, 16, 0.25f, rgb(0xffe14a), rgb(0x6b3d00));
    drawStar(picture, 508, 48, 16, -0.2f, rgb(0xffe14a), rgb(0x6b3d00));
    picture.paint(roundedRect(w, h, Rect{40, 86, 560, 89}, 1.5f), gold.withAlpha(0.7f));
    const Colour medals[3] = {rgb(0xffd84a), rgb(0xdfe6f0), rgb(0xe09a5a)};
    const TextStyle rankStyle{30, 1.0f, 0};
    const TextBounds capital = font.measure("0", rankStyle);
    for (int row = 0; row < 10; ++row)
    {
        const float top = 100.0f + 38.0f * static_cast<float>(row);
        picture.paint(roundedRect(w, h, Rect{24, top + 2, 576, top + 36}, 9),
                      rgb(0xffffff, row % 2 == 0 ? 0.09f : 0.04f));
        Lettering lettering;
        lettering.outline = rgb(0x0c1430);
        lettering.outlineWidth = 3;
        lettering.shadowOffset = 2;
        lettering.shadowBlur = 1;
        lettering.fillTop = row < 3 ? shade(medals[row], 1.3f) : rgb(0xd8e8ff);
        lettering.fillBottom = row < 3 ? medals[row] : rgb(0xa8c4f0);
        const std::string rank = std::to_string(row + 1) + ".";
        const TextBounds ink = font.measure(rank, rankStyle);
        const float baseline = top + 19.0f - (capital.top + capital.bottom) * 0.5f;
        drawTextAt(picture, font, rank, 100.0f - ink.right, baseline, rankStyle, lettering);
    }
    // A quiet paw-print trail along the bottom strip.
    for (int i = 0; i < 5; ++i)
    {
        const float cx = 220.0f + 40.0f * static_cast<float>(i);
        const float cy = 556.0f + (i % 2 == 0 ? 4.0f : -4.0f);
        const Colour paw = rgb(0xffffff, 0.12f);
        picture.paint(ellipse(w, h, cx, cy + 3, 7, 6), paw);
        for (int toe = -1; toe <= 1; ++toe)
            picture.paint(ellipse(w, h, cx + 6.0f * static_cast<float>(toe),
                                  cy - 6 - (toe == 0 ? 2.0f : 0.0f), 2.6f, 3.2f),
                          paw);
    }
    return picture;
}

// Final two-player board. The units digits land at x 90..120 and 220..250, the tens at 60..90 and
// 170..200, all at y 90..147; the faces and the leader's crown stay above that row.
Raster resultsBoard(FontFace& font, bool playerOneLeads)
{
    Raster picture(340, 176);
    const int w = picture.width();
    const int h = picture.height();
    drawPlate(picture, Rect{4, 4, 336, 172}, 20, panelTop, panelBottom, gold, 4);
    drawPlate(picture, Rect{54, 86, 126, 151}, 9, rgb(0x080e22, 0.6f), rgb(0x141c3a, 0.6f),
              rgb(0x7d8fc0, 0.5f), 1.5f);
    drawPlate(picture, Rect{164, 86, 256, 151}, 9, rgb(0x080e22, 0.6f), rgb(0x141c3a, 0.6f),
              rgb(0x7d8fc0, 0.5f), 1.5f);
    const float leaderX = playerOneLeads ? 90.0f : 210.0f;
    picture.paint(ellipse(w, h, leaderX, 54, 38, 34).blurred(5), rgb(0xfff27a, 0.8f));
    drawBearFace(picture, 90, 57, 25, false);
    drawBearFace(picture, 210, 57, 25, true);
    drawCrown(picture, leaderX, 30, 30);
    Lettering lettering = titleLettering();
    lettering.outlineWidth = 3;
    lettering.shadowOffset = 2;
    drawText(picture, font, "VS", Rect{132, 40, 168, 70}, 24, lettering);
    drawStar(picture, 30, 30, 10, 0.2f, rgb(0xffe14a), rgb(0x6b3d00));
    drawStar(picture, 310, 30, 10, -0.2f, rgb(0xffe14a), rgb(0x6b3d00));
    return picture;
}

// Shown under the best-times rows (panel y 488..544) when the run could not be saved: a red stamp, small
// enough to leave the table readable, with a crossed-out disk.
Raster notSavedSign(FontFace& font)
{
    Raster picture(224, 56);
    const int w = picture.width();
    const int h = picture.height();
    drawPlate(picture, Rect{3, 3, 221, 53}, 12, rgb(0xe8404a), rgb(0x9a1020), rgb(0xffe2d0), 3);
    // The disk: body, shutter and label, then a cross over it.
    const Colour ink = rgb(0xffffff);
    picture.paint(roundedRect(w, h, Rect{14, 13, 44, 43}, 3), ink);
    picture.paint(roundedRect(w, h, Rect{20, 13, 36, 23}, 1), rgb(0x9a1020));
    picture.paint(roundedRect(w, h, Rect{19, 29, 39, 41}, 1.5f), rgb(0xc82a36));
    picture.paint(segment(w, h, 10, 10, 48, 46, 4).dilated(2), rgb(0x4a0410));
    picture.paint(segment(w, h, 10, 10, 48, 46, 4), rgb(0xffd23a));
    Lettering lettering;
    lettering.fillTop = rgb(0xffffff);
    lettering.fillBottom = rgb(0xffe0d8);
    lettering.outline = rgb(0x4a0410);
    lettering.outlineWidth = 3;
    lettering.shadowOffset = 2;
    drawText(picture, font, "NOT SAVED", Rect{54, 8, 214, 48}, 30, lettering);
    return picture;
}

// One credit: a role (small, light blue) over one or more lines of names (white).
struct Credit
{
    std::string role;
    std::vector<std::string> lines;
};

Raster creditsPage(FontFace& font, int height, const std::string& heading, const std::vector<Credit>& credits)
{
    Raster picture(500, height);
    const float bottom = static_cast<float>(height);
    drawPlate(picture, Rect{4, 4, 496, bottom - 4}, 22, panelTop, panelBottom, gold, 4);
    drawText(picture, font, heading, Rect{60, 14, 440, 62}, 42, titleLettering());
    const float roleHeight = 30;
    const float lineHeight = 34;
    float used = 0;
    for (const Credit& credit : credits)
        used += roleHeight + lineHeight * static_cast<float>(credit.lines.size()) + 10;
    float y = 68 + (bottom - 80 - used) * 0.5f;
    Lettering role;
    role.fillTop = rgb(0xcfe8ff);
    role.fillBottom = rgb(0x8fc4ff);
    role.outline = rgb(0x0c1430);
    role.outlineWidth = 3;
    role.shadowOffset = 2;
    Lettering name = role;
    name.fillTop = rgb(0xffffff);
    name.fillBottom = rgb(0xfff0c8);
    for (const Credit& credit : credits)
    {
        drawText(picture, font, credit.role, Rect{30, y, 470, y + roleHeight}, 22, role);
        y += roleHeight;
        for (const std::string& line : credit.lines)
        {
            drawText(picture, font, line, Rect{30, y, 470, y + lineHeight}, 28, name);
            y += lineHeight;
        }
        y += 10;
    }
    return picture;
}
} // namespace

void addPanelPictures(OverlaySheet& sheet, FontFace& font)
{
    sheet.add("panelClasification", bestTimesPanel(font));
    sheet.add("classification2pHigh0", resultsBoard(font, false));
    sheet.add("classification2pHigh1", resultsBoard(font, true));
    sheet.add("textNotSaved", notSavedSign(font));
    Raster first = creditsPage(font, 257, "CREDITS", {{"Game design & programming", {"the Quobbel team"}}});
    drawBearFace(first, 60, 200, 26, false);
    drawBearFace(first, 440, 200, 26, true);
    sheet.add("creditos1", first);
    sheet.add("creditos2", creditsPage(font, 287, "ART",
                                       {{"Art, models & animation", {"the Quobbel team"}},
                                        {"Menus, signs & lettering", {"the Quobbel team"}}}));
    sheet.add("creditos3", creditsPage(font, 314, "MUSIC & SOUND",
                                       {{"Music and sound effects", {"made with Quobbel's own synthesiser"}},
                                        {"Made with", {"Ogre 3D, OIS, OpenAL,", "Ogg Vorbis, Box2D"}}}));
}

} // namespace gui
