// The table's text: reading the file's pairs, and the characters and pictures of the cells. No engine
// code here, so the reader can be fuzzed on its own.

#include <cmath>
#include <locale>
#include <sstream>

#include "scenes/score_table.h"

namespace
{
// A number as the table writes it: a stream's default format, six significant digits.
std::string formatTime(double seconds)
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << seconds;
    return text.str();
}
} // namespace

std::set<ScoreTable::Entry> ScoreTable::parse(const std::string& text)
{
    std::set<Entry> entries;
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    std::string name;
    double seconds = 0;
    while (in >> name >> seconds)
        if (std::isfinite(seconds) && seconds >= 0)
            entries.emplace(seconds, name);
    return entries;
}

// The time as the table shows it: the stream's text with at least two decimals and ':' for the point,
// which stands at index `point`.
std::string ScoreTable::timeText(double seconds, std::size_t& point)
{
    std::string text = formatTime(seconds);
    point = text.find('.');
    if (point == std::string::npos)
    {
        point = text.size();
        text += ".00";
    }
    else if (point + 2 == text.size())
        text += '0';
    text[point] = ':';
    return text;
}

std::size_t ScoreTable::firstTimeCell(std::size_t point)
{
    return point > 6 ? point - 6 : 0;
}

std::string ScoreTable::timeCells(double seconds)
{
    std::size_t point = 0;
    const std::string text = timeText(seconds, point);
    const std::size_t first = firstTimeCell(point);
    return text.substr(first, point + 3 - first);
}

std::string ScoreTable::glyphMaterial(char character)
{
    if ((character >= 'A' && character <= 'Z') || (character >= '0' && character <= '9'))
        return std::string(1, character);
    if (character == ':')
        return "dots";
    if (character == '/')
        return "slash";
    return "blank";
}
