// libFuzzer target: any scores file is read without a crash, a hang or a leak; it keeps only finite,
// non-negative times under names in capitals, and every cell it would draw has a picture; what it skips is
// reported at most once per line, in line order; and the file a save would write from it reads back whole,
// with nothing skipped.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "scenes/score_table.h"

namespace
{
void check(bool holds)
{
    if (!holds)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<ScoreTable::SkippedText> skipped;
    const auto entries = ScoreTable::parse(text, &skipped);
    for (const auto& [seconds, name] : entries)
    {
        check(std::isfinite(seconds) && seconds >= 0 && !name.empty());
        for (char c : name)
            check(c < 'a' || c > 'z');
        for (char c : ScoreTable::timeCells(seconds) + name)
        {
            const std::string material = ScoreTable::glyphMaterial(c);
            check(material.size() == 1 || material == "dots" || material == "blank" || material == "slash");
        }
    }

    std::size_t previous = 0;
    for (const ScoreTable::SkippedText& skip : skipped)
    {
        check(skip.line > previous && !skip.text.empty());
        previous = skip.line;
    }

    const std::string saved = ScoreTable::fileText(entries);
    std::vector<ScoreTable::SkippedText> skippedAgain;
    const auto reread = ScoreTable::parse(saved, &skippedAgain);
    check(skippedAgain.empty());
    std::set<std::string> savedLines;
    std::istringstream savedText(saved);
    for (std::string line; std::getline(savedText, line);)
        savedLines.insert(line);
    check(reread.size() == savedLines.size());
    return 0;
}
