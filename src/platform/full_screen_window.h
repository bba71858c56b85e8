#pragma once

namespace Ogre
{
class RenderWindow;
}

namespace platform
{

// Switches the game window to full screen at width x height (the desktop's size) or back to a window of
// that size. The engine asks the window manager for the switch; the window is also given its place and
// size directly (the screen's corner, or centred), for window managers that ignore the request and for a
// display without one. The new size reaches the game through the window's resize event.
void setWindowFullScreen(Ogre::RenderWindow& window, bool fullScreen, unsigned width, unsigned height);

} // namespace platform
