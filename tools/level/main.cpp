// quobbel-level: the level author's tool, reading level files with the game's own reader.
//
//     quobbel-level check FILE...      every problem of the files and of the chains of levels they lead to
//     quobbel-level draw FILE OUT.png  a side view of the level
//
// Exit code 0 when everything was read, 1 when a level has a problem or a file cannot be written, 2 for a
// command it does not know.

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "font_face.h"
#include "level_check.h"
#include "level_picture.h"
#include "png_file.h"
#include "scenes/level_file.h"

namespace
{
int usage()
{
    std::cerr << "usage: quobbel-level check FILE...\n"
                 "       quobbel-level draw FILE OUT.png\n";
    return 2;
}

// Draws what could be read, and reports what could not.
int draw(const std::string& file, const std::string& out)
{
    const std::optional<std::string> text = fileSource()(file);
    if (!text)
    {
        std::cerr << LevelProblem::missingFile(file).describe() << '\n';
        return 1;
    }
    const LevelReading reading = readLevel(*text, file);
    for (const LevelProblem& problem : reading.problems)
        std::cerr << problem.describe() << '\n';
    const std::string name = std::filesystem::path(file).filename().string();
    const std::string& next = reading.level.header.nextLevel;
    FontFace font(readDejaVuFont("DejaVuSans.ttf"));
    writePng(drawLevel(sketchLevel(reading.level), name + "   next: " + next, font), out);
    return reading.problems.empty() ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    try
    {
        if (args.size() >= 2 && args[0] == "check")
            return checkLevels({args.begin() + 1, args.end()}, std::cout) == 0 ? 0 : 1;
        if (args.size() == 3 && args[0] == "draw")
            return draw(args[1], args[2]);
    }
    catch (const std::exception& error)
    {
        std::cerr << "quobbel-level: " << error.what() << '\n';
        return 1;
    }
    return usage();
}
