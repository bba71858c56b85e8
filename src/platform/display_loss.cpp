#include "platform/display_loss.h"

#include <cstdio>
#include <string>

#include <OgreLogManager.h>
#include <X11/Xlib.h>
#include <unistd.h>

namespace platform
{

namespace
{
constexpr int exitCode = 1;

[[noreturn]] void endGame(const std::string& reason)
{
    const std::string line = "Display lost: " + reason + "; the game ends";
    if (auto* log = Ogre::LogManager::getSingletonPtr())
        log->logMessage(line, Ogre::LML_CRITICAL);
    std::fprintf(stderr, "%s\n", line.c_str());
    _exit(exitCode);
}

// A protocol error (a request on a window that is gone): the display can no longer be trusted.
int onXError(Display* display, XErrorEvent* error)
{
    // Reads Xlib's own tables: no request goes to the server.
    char text[160] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    endGame("X error " + std::string(text) + " (request " + std::to_string(error->request_code) + "." +
            std::to_string(error->minor_code) + ")");
}

// The connection broke. Xlib ends the process if this returns, so it never does.
int onXIoError(Display*)
{
    endGame("the connection to the X server broke");
}
} // namespace

DisplayLossGuard::DisplayLossGuard()
    : mPreviousErrorHandler(reinterpret_cast<Handler>(XSetErrorHandler(onXError))),
      mPreviousIoErrorHandler(reinterpret_cast<Handler>(XSetIOErrorHandler(onXIoError)))
{
}

DisplayLossGuard::~DisplayLossGuard()
{
    XSetErrorHandler(reinterpret_cast<XErrorHandler>(mPreviousErrorHandler));
    XSetIOErrorHandler(reinterpret_cast<XIOErrorHandler>(mPreviousIoErrorHandler));
}

} // namespace platform
