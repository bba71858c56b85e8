// libFuzzer target: any scores file is read without a crash, a hang or a leak, keeps only finite,
// non-negative times, and every cell it would draw has a picture.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "scenes/score_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto entries = ScoreTable::parse(std::string(reinterpret_cast<const char*>(data), size));
    for (const auto& [seconds, name] : entries)
    {
        if (!std::isfinite(seconds) || seconds < 0 || name.empty())
            __builtin_trap();
        for (char c : ScoreTable::timeCells(seconds) + name)
        {
            const std::string material = ScoreTable::glyphMaterial(c);
            if (material.size() != 1 && material != "dots" && material != "blank" && material != "slash")
                __builtin_trap();
        }
    }
    return 0;
}
