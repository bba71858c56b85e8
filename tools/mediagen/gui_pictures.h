#pragma once

#include <functional>
#include <string>

#include "font_face.h"
#include "gui_style.h"
#include "raster.h"

// The picture makers behind generateGuiMedia, one family per source file. Each returns a finished
// picture at the pixel size the game's layout places it at.
namespace gui
{

// Receives every overlay material with its picture.
class OverlaySheet
{
  public:
    virtual ~OverlaySheet() = default;
    // A material named material that shows picture.
    virtual void add(const std::string& material, const Raster& picture) = 0;
    // A material named material that shows the same picture as the already added sameAs.
    virtual void addAlias(const std::string& material, const std::string& sameAs) = 0;
};

// A selectable button: the base material (mouse-off look) plus ".mouseOff" (the same picture),
// ".mouseOver" (lit: how keyboard selection shows) and ".onClick" (pressed).
void addButton(OverlaySheet& sheet, const std::string& material, const std::function<Raster(Look)>& draw);

// Menus: title buttons, pause buttons, level cards, the logo and the press-start plate (gui_menus.cpp).
void addMenuPictures(OverlaySheet& sheet, FontFace& font);
// In-game: glyph cells, clock frame, lives badge, two-player HUD, faces and signs (gui_hud.cpp).
void addHudPictures(OverlaySheet& sheet, FontFace& font);
// Tables and pages: best-times panel and its "NOT SAVED" sign, two-player results boards, credit pages
// (gui_panels.cpp).
void addPanelPictures(OverlaySheet& sheet, FontFace& font);

// Level signs, shown as billboards in the world rather than as overlays (gui_signs.cpp): how to hurt the
// boss, beside the start of its level.
Raster bossHintSign(FontFace& font);

} // namespace gui
