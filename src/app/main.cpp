// The game's entry point. There is no command line: everything comes from the files of the working
// directory (the game directory).
//
// Every error that ends the game passes through here: its text goes to the log, to standard error and to
// the modal "Error!" dialog, and the program returns 1. (A lost display ends the game from inside Xlib
// instead: platform/display_loss.h.)

#include <exception>
#include <memory>
#include <string>

#include <Ogre.h>
#include <malloc.h>

#include "app/quobbel.h"
#include "platform/system_dialogs.h"
#include "scenes/intro_scene.h"

namespace
{
const char* const errorCaption = "Error!";

// An engine exception shows its full description, a text error (thrown as a plain string, such as "Config
// file is missing") its text, any other exception its what().
std::string errorText(const std::exception_ptr& error)
{
    try
    {
        std::rethrow_exception(error);
    }
    catch (const Ogre::Exception& engineError)
    {
        return engineError.getFullDescription();
    }
    catch (const char* text)
    {
        return text;
    }
    catch (const std::exception& otherError)
    {
        return otherError.what();
    }
    catch (...)
    {
        return "Unknown error";
    }
}

void reportFatalError(const std::string& text)
{
    if (auto* log = Ogre::LogManager::getSingletonPtr())
        log->logMessage(std::string(errorCaption) + " " + text, Ogre::LML_CRITICAL);
    platform::showFatalError(errorCaption, text);
}
} // namespace

int main()
{
    // Buffers of a mebibyte or more (decoded pictures, unpacked media, the driver's copies of textures) get
    // pages of their own, which go back to the system when they are freed. By default the allocator raises
    // this bound to the size of the first such buffer freed and takes the later ones from the heap, whose
    // pages stay with the process while anything above them lives: about 1.3 MiB more at the title.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    // Fixing that bound also fixes the free space kept at the top of the heap at 128 KiB, which a frame's
    // passing allocations exceed: the heap would shrink and grow again twenty times a second. Twice the
    // bound, as the allocator's own rule would make it, keeps the heap still.
    mallopt(M_TRIM_THRESHOLD, 2 << 20);
    const std::string basePath = "./";
    // Opened before the application and closed after it, so that a failing start-up is logged too.
    const std::unique_ptr<Ogre::LogManager> log = Quobbel::openLog(basePath);
    std::unique_ptr<Quobbel> application;
    try
    {
        application = std::make_unique<Quobbel>(basePath, IntroScene::firstFrameMedia());
        application->run(new IntroScene());
        application.reset();
        return 0;
    }
    catch (...)
    {
        reportFatalError(errorText(std::current_exception()));
    }
    application.reset();
    return 1;
}
