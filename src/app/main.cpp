// The game's entry point. There is no command line: everything comes from the files of the working
// directory (the game directory).

#include <memory>

#include <Ogre.h>

#include "app/quobbel.h"
#include "platform/system_dialogs.h"
#include "scenes/intro_scene.h"

int main()
{
    std::unique_ptr<Quobbel> application;
    try
    {
        application = std::make_unique<Quobbel>("./");
        application->run(new IntroScene());
        application.reset();
        return 0;
    }
    catch (const Ogre::Exception& error)
    {
        platform::showFatalError("Error!", error.getFullDescription());
    }
    catch (const char* text)
    {
        platform::showFatalError("Error!", text);
    }
    catch (const std::exception& error)
    {
        platform::showFatalError("Error!", error.what());
    }
    application.reset();
    return 1;
}
