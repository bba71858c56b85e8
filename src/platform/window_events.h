#pragma once

namespace Ogre
{
class RenderWindow;
}

namespace platform
{

// Takes the window manager's close requests (the title bar's close button) for `window` off the event
// queue; true when at least one arrived. The engine's own event pump cannot recognise them on X11 with the
// GL render system (the window does not report its close-request atom), so the game asks here first, once
// per frame, before pumping the other window events.
bool takeCloseRequest(Ogre::RenderWindow& window);

} // namespace platform
