// libFuzzer target: any text given to the level reader is either read or refused with the game's error,
// never a crash, a hang or a leak.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "scenes/level_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try
    {
        const LevelDescription level = parseLevel(std::string(reinterpret_cast<const char*>(data), size));
        (void)level;
    }
    catch (const char* error)
    {
        if (std::strcmp(error, "Error reading map data!") != 0)
            __builtin_trap();
    }
    return 0;
}
