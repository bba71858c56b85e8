#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/button.h"
#include "gui/clock.h"
#include "gui/position.h"
#include "gui/text_scheme.h"

namespace Ogre
{
class SceneManager;
class Viewport;
} // namespace Ogre

namespace buttonGUI
{

// Event types; the numbers are part of the interface.
enum EventType
{
    EVENT_PRESSED = 0,
    EVENT_RELEASED = 1,
    EVENT_MOUSE_OVER = 2,
    EVENT_MOUSE_OFF = 3,
    EVENT_NONE = 8
};

// One look change reported to the scenes.
struct Event
{
    std::int32_t type = EVENT_NONE;
    // The injected mouse button for presses and releases; -1 for changes caused by movement or selection.
    std::int32_t mouseButton = -1;
    // Valid until the next destroyAllWindows.
    button* source = nullptr;
    std::string text;
};

// The one toolkit instance. Main thread only. Must be destroyed before the engine's overlay system.
class buttonManager
{
  public:
    // Creates the invisible cursor and takes the viewport's pixel size (a null viewport, as in headless
    // tools, leaves the screen 0 x 0 until setScreenSize). The text scheme is copied into every window; its
    // font is not looked up. sceneManager and cameraName are kept for callers; nothing here reads them.
    buttonManager(const std::string& managerName, const TextScheme& scheme, Ogre::SceneManager* sceneManager,
                  const std::string& cameraName, Ogre::Viewport* viewport);
    // Destroys every window and the cursor.
    ~buttonManager();
    buttonManager(const buttonManager&) = delete;
    buttonManager& operator=(const buttonManager&) = delete;

    // A top-level button with its own overlay (name + "buttonOverlay" + counter), shown unless !visible.
    // zOrder 0 takes the next automatic z-order (5, 6, ...); z-orders stay below the cursor's 650. width and
    // height as for button::createButton. Owned by the manager.
    button* createWindow(const std::string& windowName, const std::string& material, float width,
                         float height, std::uint16_t zOrder, bool visible, bool isClickable,
                         const position& where);
    // Destroys every window with its children and overlay, and discards the pending events. Cloned
    // materials stay for reuse, with their alpha back at 1; nothing else is left behind.
    void destroyAllWindows();

    // The viewport's size in pixels (rounded); places every button again from its position record.
    void setScreenSize(float width, float height);
    int getScreenWidth() const { return mScreenWidth; }
    int getScreenHeight() const { return mScreenHeight; }

    // Lights the button at index (mouse-over look) and turns every other lit button off. An index outside
    // the list only turns lit buttons off.
    void selectButton(int index);
    // Clicks the selected button: the cursor jumps just inside its top left corner, mouse button 0 is
    // pressed and released there, and the cursor jumps back. The hit button posts the press and the release.
    void activateSelected();

    // Pointer input, pixels on screen.
    void injectMouseMove(int x, int y);
    void injectMousePress(int mouseButton);
    void injectMouseRelease(int mouseButton);

    // The most recently posted pending event (newest first), or null when none is pending. The pointer
    // stays valid until the next call.
    const Event* getNextEvent();
    // Once per frame: advances the fades of every visible button.
    void update();

    // Replaces the time base of fades (a ManualClock in tests). Fades already running keep their times.
    void setClock(std::unique_ptr<Clock> clock);
    std::uint32_t now() { return mClock->milliseconds(); }

    // Every window and button, in creation order; indices are those of selectButton.
    const std::vector<button*>& getButtons() const { return mButtons; }
    const TextScheme& getTextScheme() const { return mTextScheme; }
    int getCursorX() const { return mCursorX; }
    int getCursorY() const { return mCursorY; }
    const Event& getCurrentEvent() const { return mCurrentEvent; }
    Ogre::SceneManager* getSceneManager() const { return mSceneManager; }
    const std::string& getCameraName() const { return mCameraName; }

    // Unique engine names: base + the decimal value of a process-wide counter, which then advances.
    static std::string uniqueEngineName(const std::string& base);
    // The size a button is created with: the given one, or the pixel size of the material's texture when
    // both are 0 (loading the material first). Throws Ogre::ItemIdentityException when there is none.
    static void resolveSize(const std::string& material, float& width, float& height);

    const std::string name;
    // Index into getButtons() of the selected button; scenes read it to move the selection.
    int selected = 1;
    // Subtracted from the cursor position when the cursor panel is placed.
    std::int16_t cursorHotspotX = 0;
    std::int16_t cursorHotspotY = 0;

  private:
    friend class button;

    void registerButton(button* created) { mButtons.push_back(created); }
    void post(EventType type, int mouseButton, button* source);
    button* topmostUnderCursor() const;
    void moveCursor(int x, int y);
    void destroyButton(button* doomed);
    void releaseFocus();

    TextScheme mTextScheme;
    Ogre::SceneManager* mSceneManager;
    std::string mCameraName;
    std::vector<button*> mButtons;
    std::int16_t mCursorX = 0;
    std::int16_t mCursorY = 0;
    button* mFocused = nullptr;
    std::unique_ptr<Clock> mClock;
    button* mCursor = nullptr;
    int mScreenWidth = 0;
    int mScreenHeight = 0;
    std::uint16_t mNextZOrder;
    Event mCurrentEvent;
    std::vector<Event> mEvents;
};

} // namespace buttonGUI
