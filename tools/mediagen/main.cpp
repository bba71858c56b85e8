// mediagen GAME_DIR LEVELS_DIR: generates the game's whole media into GAME_DIR, with the example
// controls file.
// mediagen --icons ICON_DIR NAME: draws the desktop icon NAME at every size into ICON_DIR/hicolor.

#include <exception>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include "desktop_icons.h"
#include "gui_media.h"
#include "input/controls.h"
#include "levels.h"
#include "media_output.h"
#include "models.h"
#include "platform/headless_engine.h"
#include "sounds.h"

int main(int argc, char** argv)
{
    const bool icons = argc == 4 && std::string(argv[1]) == "--icons";
    if (argc != 3 && !icons)
    {
        std::cerr << "usage: mediagen GAME_DIR LEVELS_DIR\n"
                     "       mediagen --icons ICON_DIR NAME\n";
        return 2;
    }
    try
    {
        if (icons)
        {
            writeDesktopIcons(argv[2], argv[3]);
            return 0;
        }
        platform::HeadlessEngine engine;
        MediaOutput output;
        // Names the generator's output; it also keeps the archive non-empty, which the engine requires.
        output.addArchiveFile("media.version", "Quobbel media 1\n");
        packLevels(output, argv[2]);
        generateSounds(output);
        models::generateModels(output);
        generateGuiMedia(output);
        output.write(argv[1]);
        // Players copy it to controls.cfg to rebind keys.
        const std::string example = std::string(argv[1]) + "/controls.cfg.example";
        if (!(std::ofstream(example, std::ios::trunc) << controlsExample()))
            throw std::runtime_error("cannot write " + example);
    }
    catch (const std::exception& error)
    {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
