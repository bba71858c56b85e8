#include "gui/button.h"

#include <OgreOverlay.h>
#include <OgreOverlayContainer.h>
#include <OgreOverlayManager.h>
#include <OgrePanelOverlayElement.h>

#include "gui/button_manager.h"

namespace buttonGUI
{

namespace
{
Ogre::PanelOverlayElement* createPanel(const std::string& buttonName)
{
    const std::string panelName = buttonManager::uniqueEngineName(buttonName + "Panel");
    return static_cast<Ogre::PanelOverlayElement*>(
        Ogre::OverlayManager::getSingleton().createOverlayElement("Panel", panelName));
}
} // namespace

button::button(buttonManager& owner, button* parentButton, Ogre::Overlay* ownOverlay,
               const std::string& buttonName, const std::string& material, float width, float height,
               const position& where, bool isClickable)
    : name(buttonName), clickable(isClickable), parent(parentButton), overlay(ownOverlay),
      panel(createPanel(buttonName)), manager(&owner), mPosition(where),
      mTextScheme(parentButton ? parentButton->mTextScheme : owner.getTextScheme())
{
    try
    {
        panel->setMetricsMode(Ogre::GMM_PIXELS);
        panel->setDimensions(width, height);
        if (parent)
            parent->panel->addChild(panel);
        else
            overlay->add2D(panel);
        setPosition(where);
        setMaterial(material);
    }
    catch (...)
    {
        if (panel->getParent())
            panel->getParent()->removeChild(panel->getName());
        else if (overlay)
            overlay->remove2D(panel);
        Ogre::OverlayManager::getSingleton().destroyOverlayElement(panel);
        throw;
    }
    mHidden = parent && parent->mHidden;
}

// The engine objects are released by buttonManager::destroyButton, which alone deletes buttons.
button::~button() = default;

bool button::requestFocus(bool)
{
    return false;
}

bool button::acceptsText() const
{
    return false;
}

button* button::createButton(const std::string& childName, const std::string& material, float width,
                             float height, const position& where, bool isClickable)
{
    buttonManager::resolveSize(material, width, height);
    auto* child = new button(*manager, this, nullptr, childName, material, width, height, where, isClickable);
    mChildren.push_back(child);
    manager->registerButton(child);
    return child;
}

button* button::getChild(const std::string& childName) const
{
    for (button* child : mChildren)
        if (child->name == childName)
            return child;
    return nullptr;
}

bool button::isVisible() const
{
    return overlay ? overlay->isVisible() : panel->isVisible();
}

void button::cancelFades()
{
    mFadingIn = mFadingOut = false;
    mFadeInStart = mFadeInEnd = mFadeOutStart = mFadeOutEnd = 0;
}

// Children whose own panel is hidden keep their state: they were hidden on their own and stay so.
void button::setHiddenRecursively(bool hide)
{
    mHidden = hide;
    for (button* child : mChildren)
        if (child->isVisible())
            child->setHiddenRecursively(hide);
}

void button::show(bool fade, unsigned durationMs)
{
    if (isVisible())
        return;
    cancelFades();
    if (fade)
    {
        mFadeInStart = manager->now();
        mFadeInEnd = mFadeInStart + 1 + durationMs;
        mFadingIn = true;
        setAlpha(0);
    }
    // A child shown inside a hidden window is not drawn, so it must not be hit either; it loses the flag
    // when its window shows.
    setHiddenRecursively(parent && parent->mHidden);
    if (overlay)
        overlay->show();
    else
        panel->show();
}

void button::hide(bool fade, unsigned durationMs)
{
    if (!isVisible() || mFadingOut)
        return;
    if (mFadingIn)
        cancelFades();
    if (fade)
    {
        mFadeOutStart = manager->now();
        mFadeOutEnd = mFadeOutStart + 1 + durationMs;
        mFadingOut = true;
        return;
    }
    setHiddenRecursively(true);
    if (overlay)
        overlay->hide();
    else
        panel->hide();
}

// Elapsed and total times are compared as unsigned differences, so a fade that spans the wrap of the
// 32-bit millisecond clock still runs its full length.
void button::stepFade(std::uint32_t now)
{
    if (mFadingIn)
    {
        const std::uint32_t elapsed = now - mFadeInStart;
        const std::uint32_t total = mFadeInEnd - mFadeInStart;
        if (elapsed > total)
        {
            cancelFades();
            setAlpha(1.0f);
        }
        else
            setAlpha(static_cast<float>(elapsed) / static_cast<float>(total));
    }
    else if (mFadingOut)
    {
        const std::uint32_t elapsed = now - mFadeOutStart;
        const std::uint32_t total = mFadeOutEnd - mFadeOutStart;
        if (elapsed > total)
        {
            // The alpha stays where the fade left it; the next fade-in starts from 0 anyway.
            cancelFades();
            hide(false, 300);
        }
        else
            setAlpha(1.0f - static_cast<float>(elapsed) / static_cast<float>(total));
    }
}

void button::setPosition(const position& where)
{
    mPosition = where;
    if (where.anchored)
    {
        const float areaWidth =
            parent ? parent->panel->getWidth() : static_cast<float>(manager->getScreenWidth());
        const float areaHeight =
            parent ? parent->panel->getHeight() : static_cast<float>(manager->getScreenHeight());
        const PixelPoint placed = anchoredPlacement(where.anchor, where.x, where.y, areaWidth, areaHeight,
                                                    panel->getWidth(), panel->getHeight());
        panel->setPosition(static_cast<float>(placed.left), static_cast<float>(placed.top));
    }
    else if (!parent)
        panel->setPosition(where.x, where.y);
    else
    {
        // Shift the relative position by the distance between where the panel is and where it should be.
        const PixelPoint current = absoluteTopLeft();
        const int left = static_cast<int>(where.x) + static_cast<int>(panel->getLeft()) - current.left;
        const int top = static_cast<int>(where.y) + static_cast<int>(panel->getTop()) - current.top;
        panel->setPosition(static_cast<float>(left), static_cast<float>(top));
    }
}

PixelPoint button::absoluteTopLeft() const
{
    PixelPoint point{static_cast<int>(panel->getLeft()), static_cast<int>(panel->getTop())};
    for (Ogre::OverlayElement* element = panel->getParent(); element; element = element->getParent())
    {
        point.left += static_cast<int>(element->getLeft());
        point.top += static_cast<int>(element->getTop());
    }
    return point;
}

position button::getPosition() const
{
    const PixelPoint point = absoluteTopLeft();
    return position(static_cast<float>(point.left), static_cast<float>(point.top));
}

bool button::hits(int x, int y) const
{
    if (!clickable || mHidden || mFadingOut || !panel->isVisible())
        return false;
    const PixelPoint topLeft = absoluteTopLeft();
    const int width = static_cast<int>(panel->getWidth());
    const int height = static_cast<int>(panel->getHeight());
    return topLeft.left <= x && x <= topLeft.left + width && topLeft.top <= y && y <= topLeft.top + height;
}

} // namespace buttonGUI
