#include "platform/system_dialogs.h"

#include <chrono>
#include <iostream>
#include <thread>

#include <SDL.h>

namespace platform
{

void showFatalError(const std::string& caption, const std::string& message)
{
    std::cerr << caption << ' ' << message << std::endl;
    // Fails harmlessly (and at once) when there is no display.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), message.c_str(), nullptr);
}

ScreenSize desktopSize()
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw "No display to run the game full screen on";
    SDL_DisplayMode mode;
    const bool known = SDL_GetDesktopDisplayMode(0, &mode) == 0;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (!known)
        throw "No display to run the game full screen on";
    return {static_cast<unsigned>(mode.w), static_cast<unsigned>(mode.h)};
}

void sleepMilliseconds(unsigned milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace platform
