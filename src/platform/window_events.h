#pragma once

namespace Ogre
{
class RenderWindow;
}

namespace platform
{

// What happened to the game window since the last pump.
struct WindowEvents
{
    bool closeRequested = false; // the window manager's close button, or the window was destroyed
    bool resized = false;        // its size in pixels changed
};

// Takes every pending event of `window` off the X event queue and applies the ones the engine needs
// (new size, mapped or unmapped, visibility). Call once per frame on the main thread.
//
// The engine's own pump cannot be used: on X11 with the GL render system the window does not report its
// close-request atom, so that pump drops close requests, and taking them off the queue before it is a
// race it can win.
WindowEvents pumpWindowEvents(Ogre::RenderWindow& window);

} // namespace platform
