#pragma once

#include <string>

// Operating-system services the game needs outside the engine.
namespace platform
{

// Reports an error the game cannot recover from: always on standard error, and in a modal dialog with the
// given caption when a display is available. Returns when the dialog is dismissed.
void showFatalError(const std::string& caption, const std::string& message);

struct ScreenSize
{
    unsigned width = 0;
    unsigned height = 0;
};

// Size in pixels of the primary display. Throws a text error when there is no display.
ScreenSize desktopSize();

// Blocks the calling thread.
void sleepMilliseconds(unsigned milliseconds);

} // namespace platform
