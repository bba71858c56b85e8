// libFuzzer target: any text given to the level reader is either read or refused with the game's error and
// its problems, never a crash, a hang or a leak.

#include <cstddef>
#include <cstdint>
#include <string>

#include "scenes/level_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const LevelReading reading = readLevel(text, "fuzz.imf");
    for (const LevelProblem& problem : reading.problems)
        if (problem.file != "fuzz.imf" || problem.reason.empty())
            __builtin_trap();
    try
    {
        parseLevel(text, "fuzz.imf");
        if (!reading.problems.empty())
            __builtin_trap();
    }
    catch (const LevelError& error)
    {
        if (reading.problems.empty() || error.problem().describe() != reading.problems.front().describe())
            __builtin_trap();
    }
    return 0;
}
