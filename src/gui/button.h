#pragma once

// The overlay button toolkit draws menus, HUD panels and score displays as picture buttons: rectangles of
// engine overlay panels in pixel metrics. A window is a button without a parent that owns an
// Ogre::Overlay; its children (and their children) are panels inside its panel. The one buttonManager
// creates every window, keeps every button in creation order (the selection order), turns injected pointer
// input into events and advances fades once per frame.
//
// Looks: each button shows one of four looks (pressed, released, mouse over, mouse off), each a clone of an
// engine material made for this button alone, so fading one button never changes another. For a base name
// "play" the materials "play", "play.mouseOff", "play.onClick", "play.mouseOver" and "play.onRelease" are
// looked up; see setMaterial.
//
// Ownership: the manager owns every button; buttons are destroyed only with their window, by
// buttonManager::destroyAllWindows. Never keep a button pointer across a scene's unload.

#include <cstdint>
#include <string>
#include <vector>

#include <OgreMaterial.h>

#include "gui/position.h"
#include "gui/text_scheme.h"

namespace Ogre
{
class Overlay;
class PanelOverlayElement;
} // namespace Ogre

namespace buttonGUI
{

class buttonManager;

class button
{
  public:
    virtual ~button();
    button(const button&) = delete;
    button& operator=(const button&) = delete;

    // Asked when the button is pressed (pressing true) and when it loses focus (false); answers whether it
    // takes keyboard focus. Plain picture buttons never do.
    virtual bool requestFocus(bool pressing);
    // Whether the button takes typed text. Plain picture buttons do not.
    virtual bool acceptsText() const;

    // A child button whose panel goes into this button's panel. width and height in pixels; both 0 take the
    // pixel size of the base material's texture (technique 0, pass 0, unit 0), and a base material that
    // does not exist or has no texture then throws an Ogre::ItemIdentityException naming it. The child
    // starts hidden when this button is hidden. Owned by the manager.
    button* createButton(const std::string& childName, const std::string& material, float width, float height,
                         const position& where, bool isClickable);
    // The first child named exactly childName, or null.
    button* getChild(const std::string& childName) const;
    const std::vector<button*>& getChildren() const { return mChildren; }

    // Shows the button, only if it is not visible: at once, or rising from alpha 0 to 1 over durationMs.
    // An immediate show leaves the alpha as it is.
    void show(bool fade, unsigned durationMs);
    // Hides the button, only if it is visible and not already fading out: at once, or after its alpha has
    // fallen to 0 over durationMs (it stays visible, but is no longer hit, while it fades).
    void hide(bool fade, unsigned durationMs);
    // Opacity 0..1 of the look materials, of text areas and of every child.
    void setAlpha(float alpha);
    // Takes the looks found from baseName (see the file comment). "BLANK" or an empty name makes the panel
    // transparent; it stays clickable.
    void setMaterial(const std::string& baseName);
    // Stores the record and places the panel from it.
    void setPosition(const position& where);
    // The position record last given.
    const position& getStoredPosition() const { return mPosition; }
    // Absolute pixels of the panel's top left on screen (always an absolute record).
    position getPosition() const;

    // Whether the panel (a child) or the overlay (a window) is showing.
    bool isVisible() const;
    bool isHidden() const { return mHidden; }
    bool isMouseOver() const { return mMouseOver; }
    bool isFadingIn() const { return mFadingIn; }
    bool isFadingOut() const { return mFadingOut; }
    // The material name of one look; empty when the look leaves the panel's material unchanged.
    const std::string& lookMaterial(Look look) const { return mLookMaterials[look]; }
    const TextScheme& getTextScheme() const { return mTextScheme; }

    const std::string name;
    // Whether hit testing considers the button.
    bool clickable;
    // Null for a window.
    button* const parent;
    // The window's own overlay; null for a child.
    Ogre::Overlay* const overlay;
    Ogre::PanelOverlayElement* const panel;
    buttonManager* const manager;
    // Whether a change to each look posts an event.
    bool reportPress = true;
    bool reportRelease = true;
    bool reportOver = true;
    bool reportOff = true;

  private:
    friend class buttonManager;

    // Creates the panel (name + "Panel" + counter), attaches it to the parent's panel or to the overlay,
    // sizes it (already resolved: never 0 x 0 from a texture here), places it and applies the material.
    button(buttonManager& owner, button* parentButton, Ogre::Overlay* ownOverlay,
           const std::string& buttonName, const std::string& material, float width, float height,
           const position& where, bool isClickable);

    // Changes to a look; answers whether the change is to be reported.
    bool takeLook(Look look);
    PixelPoint absoluteTopLeft() const;
    // Whether the point (pixels on screen) is on the button, edges included.
    bool hits(int x, int y) const;
    void cancelFades();
    void setHiddenRecursively(bool hide);
    // One fade step at the given clock time; the button is visible.
    void stepFade(std::uint32_t now);
    void applyAlpha(const Ogre::MaterialPtr& material, float alpha) const;
    void colourTextAreas(Look look);

    std::vector<button*> mChildren;
    position mPosition;
    TextScheme mTextScheme;
    bool mMouseOver = false;
    bool mHidden = false;
    bool mFadingIn = false;
    bool mFadingOut = false;
    std::uint32_t mFadeInStart = 0; // clock milliseconds
    std::uint32_t mFadeInEnd = 0;
    std::uint32_t mFadeOutStart = 0;
    std::uint32_t mFadeOutEnd = 0;
    std::string mLookMaterials[LOOK_COUNT];
    // The same materials, resolved once so that fades do no lookups by name.
    Ogre::MaterialPtr mLookMaterialPtrs[LOOK_COUNT];

    // The looks of every base material this button has shown, so that showing one again (a clock cell's
    // digits) takes no lookups by name. Lives as long as the button, as its clones do.
    struct PreparedLooks
    {
        std::string baseName;
        std::string materials[LOOK_COUNT];
        Ogre::MaterialPtr pointers[LOOK_COUNT];
        Ogre::MaterialPtr shown; // what the panel shows at once
    };
    std::vector<PreparedLooks> mPreparedLooks;
};

} // namespace buttonGUI
