#include "gui/button_manager.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <OgreMaterialManager.h>
#include <OgreOverlay.h>
#include <OgreOverlayContainer.h>
#include <OgreOverlayManager.h>
#include <OgrePanelOverlayElement.h>
#include <OgreTechnique.h>
#include <OgreViewport.h>

namespace buttonGUI
{

namespace
{
// Counter behind every overlay and panel name the toolkit makes, for the whole process.
unsigned engineNameCounter = 0;

constexpr std::uint16_t firstAutomaticZOrder = 5;
// The engine accepts overlay z-orders up to 650; the cursor takes the top one, windows stay below it.
constexpr std::uint16_t cursorZOrder = 650;
constexpr std::uint16_t highestWindowZOrder = cursorZOrder - 1;

std::int16_t toCursorCoordinate(int value)
{
    return static_cast<std::int16_t>(std::clamp<int>(value, std::numeric_limits<std::int16_t>::min(),
                                                     std::numeric_limits<std::int16_t>::max()));
}
} // namespace

std::string buttonManager::uniqueEngineName(const std::string& base)
{
    return base + std::to_string(engineNameCounter++);
}

void buttonManager::resolveSize(const std::string& material, float& width, float& height)
{
    if (width != 0 || height != 0)
        return;
    const Ogre::MaterialPtr source = Ogre::MaterialManager::getSingleton().getByName(material);
    if (!source)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND,
                    "Could not find material " + material + " to size a button from its texture",
                    "buttonGUI::buttonManager::resolveSize");
    // An unloaded texture reports a default size, not its image's.
    source->load();
    const Ogre::Technique* technique = source->getNumTechniques() > 0 ? source->getTechnique(0) : nullptr;
    const Ogre::Pass* pass = technique && technique->getNumPasses() > 0 ? technique->getPass(0) : nullptr;
    const Ogre::TextureUnitState* unit =
        pass && pass->getNumTextureUnitStates() > 0 ? pass->getTextureUnitState(0) : nullptr;
    if (!unit)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND,
                    "Material " + material + " has no texture to size a button from",
                    "buttonGUI::buttonManager::resolveSize");
    const std::pair<size_t, size_t> size = unit->getTextureDimensions();
    width = static_cast<float>(size.first);
    height = static_cast<float>(size.second);
}

buttonManager::buttonManager(const std::string& managerName, const TextScheme& scheme,
                             Ogre::SceneManager* sceneManager, const std::string& cameraName,
                             Ogre::Viewport* viewport)
    : name(managerName), mTextScheme(scheme), mSceneManager(sceneManager), mCameraName(cameraName),
      mClock(std::make_unique<TimerClock>()), mNextZOrder(firstAutomaticZOrder)
{
    // Enough for every look change of a busy frame, so that posting does not allocate.
    mEvents.reserve(64);
    auto& overlays = Ogre::OverlayManager::getSingleton();
    Ogre::Overlay* cursorOverlay = overlays.create(uniqueEngineName("buttonGUI_cursor"));
    cursorOverlay->setZOrder(cursorZOrder);
    cursorOverlay->show();
    try
    {
        mCursor = new button(*this, nullptr, cursorOverlay, uniqueEngineName("cursor"), "BLANK", 1, 1,
                             position(0, 0), false);
    }
    catch (...)
    {
        overlays.destroy(cursorOverlay);
        throw;
    }
    if (viewport)
        setScreenSize(static_cast<float>(viewport->getActualWidth()),
                      static_cast<float>(viewport->getActualHeight()));
}

buttonManager::~buttonManager()
{
    destroyAllWindows();
    destroyButton(mCursor);
}

button* buttonManager::createWindow(const std::string& windowName, const std::string& material, float width,
                                    float height, std::uint16_t zOrder, bool visible, bool isClickable,
                                    const position& where)
{
    resolveSize(material, width, height);
    std::uint16_t windowZOrder = zOrder;
    if (windowZOrder == 0)
    {
        windowZOrder = mNextZOrder;
        if (mNextZOrder < highestWindowZOrder)
            ++mNextZOrder;
    }
    windowZOrder = std::min(windowZOrder, highestWindowZOrder);

    auto& overlays = Ogre::OverlayManager::getSingleton();
    Ogre::Overlay* windowOverlay = overlays.create(uniqueEngineName(windowName + "buttonOverlay"));
    windowOverlay->setZOrder(windowZOrder);
    windowOverlay->show();
    button* window = nullptr;
    try
    {
        window = new button(*this, nullptr, windowOverlay, windowName, material, width, height, where,
                            isClickable);
    }
    catch (...)
    {
        overlays.destroy(windowOverlay);
        throw;
    }
    registerButton(window);
    if (!visible)
        window->hide(false, 0);
    return window;
}

void buttonManager::destroyAllWindows()
{
    std::vector<button*> windows;
    for (button* candidate : mButtons)
        if (candidate->overlay)
            windows.push_back(candidate);
    for (button* window : windows)
        destroyButton(window);
    mEvents.clear();
    mCurrentEvent = Event();
    // No window is left, so automatic z-orders can start again; otherwise a long session would run out.
    mNextZOrder = firstAutomaticZOrder;
}

void buttonManager::releaseFocus()
{
    if (!mFocused)
        return;
    button* previous = mFocused;
    mFocused = nullptr;
    previous->requestFocus(false);
}

void buttonManager::destroyButton(button* doomed)
{
    releaseFocus();
    // The clones outlive the button and are taken over by the next button of the same name and material.
    doomed->setAlpha(1.0f);
    std::vector<button*> children;
    children.swap(doomed->mChildren);
    for (button* child : children)
        destroyButton(child);

    auto& overlays = Ogre::OverlayManager::getSingleton();
    if (doomed->parent)
        doomed->parent->panel->removeChild(doomed->panel->getName());
    else
        doomed->overlay->remove2D(doomed->panel);
    overlays.destroyOverlayElement(doomed->panel);
    if (doomed->overlay)
        overlays.destroy(doomed->overlay);

    mButtons.erase(std::remove(mButtons.begin(), mButtons.end(), doomed), mButtons.end());
    if (doomed->parent)
    {
        auto& siblings = doomed->parent->mChildren;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), doomed), siblings.end());
    }
    delete doomed;
}

void buttonManager::setScreenSize(float width, float height)
{
    mScreenWidth = static_cast<int>(std::lround(width));
    mScreenHeight = static_cast<int>(std::lround(height));
    // Creation order places every parent before its children.
    for (button* placed : mButtons)
    {
        const position where = placed->getStoredPosition();
        placed->setPosition(where);
    }
}

void buttonManager::post(EventType type, int mouseButton, button* source)
{
    Event posted;
    posted.type = type;
    posted.mouseButton = mouseButton;
    posted.source = source;
    mEvents.push_back(posted);
}

void buttonManager::selectButton(int index)
{
    selected = index;
    for (size_t i = 0; i < mButtons.size(); ++i)
    {
        button* candidate = mButtons[i];
        if (static_cast<int>(i) == index)
        {
            if (!candidate->mMouseOver && candidate->takeLook(LOOK_MOUSE_OVER))
                post(EVENT_MOUSE_OVER, -1, candidate);
        }
        else if (candidate->mMouseOver && candidate->takeLook(LOOK_MOUSE_OFF))
            post(EVENT_MOUSE_OFF, -1, candidate);
    }
}

// The cursor only jumps: no mouse-over pass runs on the way, so the selection keeps its look and the
// click posts nothing but the press and the release.
void buttonManager::activateSelected()
{
    if (selected < 0 || selected >= static_cast<int>(mButtons.size()))
        return;
    const int previousX = mCursorX;
    const int previousY = mCursorY;
    const PixelPoint corner = mButtons[static_cast<size_t>(selected)]->absoluteTopLeft();
    moveCursor(corner.left + 1, corner.top + 1);
    injectMousePress(0);
    injectMouseRelease(0);
    moveCursor(previousX, previousY);
}

void buttonManager::moveCursor(int x, int y)
{
    mCursorX = toCursorCoordinate(x);
    mCursorY = toCursorCoordinate(y);
    mCursor->setPosition(position(static_cast<float>(mCursorX - cursorHotspotX),
                                  static_cast<float>(mCursorY - cursorHotspotY)));
}

void buttonManager::injectMouseMove(int x, int y)
{
    moveCursor(x, y);
    for (button* candidate : mButtons)
    {
        const bool hit = candidate->hits(mCursorX, mCursorY);
        if (hit && !candidate->mMouseOver)
        {
            if (candidate->takeLook(LOOK_MOUSE_OVER))
                post(EVENT_MOUSE_OVER, -1, candidate);
        }
        else if (!hit && candidate->mMouseOver)
        {
            if (candidate->takeLook(LOOK_MOUSE_OFF))
                post(EVENT_MOUSE_OFF, -1, candidate);
        }
    }
}

button* buttonManager::topmostUnderCursor() const
{
    button* topmost = nullptr;
    Ogre::ushort topmostZOrder = 0;
    for (button* candidate : mButtons)
    {
        if (!candidate->hits(mCursorX, mCursorY))
            continue;
        const Ogre::ushort zOrder = candidate->panel->getZOrder();
        if (!topmost || zOrder >= topmostZOrder)
        {
            topmost = candidate;
            topmostZOrder = zOrder;
        }
    }
    return topmost;
}

void buttonManager::injectMousePress(int mouseButton)
{
    releaseFocus();
    button* pressed = topmostUnderCursor();
    if (!pressed)
        return;
    if (pressed->takeLook(LOOK_PRESSED))
        post(EVENT_PRESSED, mouseButton, pressed);
    if (pressed->requestFocus(true))
        mFocused = pressed;
}

void buttonManager::injectMouseRelease(int mouseButton)
{
    button* released = topmostUnderCursor();
    if (released && released->takeLook(LOOK_RELEASED))
        post(EVENT_RELEASED, mouseButton, released);
}

const Event* buttonManager::getNextEvent()
{
    if (mEvents.empty())
        return nullptr;
    mCurrentEvent = mEvents.back();
    mEvents.pop_back();
    return &mCurrentEvent;
}

void buttonManager::update()
{
    const std::uint32_t time = mClock->milliseconds();
    for (button* candidate : mButtons)
        if (candidate->isVisible())
            candidate->stepFade(time);
}

void buttonManager::setClock(std::unique_ptr<Clock> clock)
{
    if (clock)
        mClock = std::move(clock);
}

} // namespace buttonGUI
