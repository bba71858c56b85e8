// The table's text: reading and writing the file's pairs, and the characters and pictures of the cells. No
// engine code here, so the reader can be fuzzed on its own.

#include <algorithm>
#include <cmath>
#include <locale>
#include <sstream>
#include <string_view>

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

struct Word
{
    std::size_t offset; // in its line
    std::string_view text;
};

// White space as the stream reader knows it, within one line.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<Word> splitWords(std::string_view line)
{
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < line.size())
    {
        if (isBlank(line[i]))
        {
            ++i;
            continue;
        }
        const std::size_t begin = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        words.push_back({begin, line.substr(begin, i - begin)});
    }
    return words;
}

// A whole word that reads as a time: a number as the stream reads it, finite and not negative.
bool readSeconds(std::string_view word, double& seconds)
{
    std::istringstream in{std::string(word)};
    in.imbue(std::locale::classic());
    return in >> seconds && in.peek() == std::char_traits<char>::eof() && std::isfinite(seconds) &&
           seconds >= 0;
}

std::string capitals(std::string_view name)
{
    std::string upper(name);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

// Text fit for a log line: trailing blanks gone, control characters as '?', cut with "...".
std::string printable(std::string_view text)
{
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    std::string shown;
    for (std::size_t i = 0; i < text.size() && i < ScoreTable::maxSkippedTextLength; ++i)
    {
        const auto c = static_cast<unsigned char>(text[i]);
        shown += c < 0x20 || c == 0x7f ? '?' : text[i];
    }
    if (text.size() > ScoreTable::maxSkippedTextLength)
        shown += "...";
    return shown;
}
} // namespace

std::set<ScoreTable::Entry> ScoreTable::parse(const std::string& text, std::vector<SkippedText>* skipped)
{
    std::set<Entry> entries;
    std::size_t number = 1;
    for (std::size_t start = 0; start < text.size(); ++number)
    {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line(text.data() + start, end - start);
        const std::vector<Word> words = splitWords(line);
        for (std::size_t i = 0; i < words.size(); i += 2)
        {
            double seconds = 0;
            if (i + 1 == words.size() || !readSeconds(words[i + 1].text, seconds))
            {
                if (skipped)
                    skipped->push_back({number, printable(line.substr(words[i].offset))});
                break;
            }
            entries.emplace(seconds, capitals(words[i].text));
        }
        start = end + 1;
    }
    return entries;
}

std::string ScoreTable::fileText(const std::set<Entry>& entries)
{
    std::string text;
    std::size_t written = 0;
    for (auto entry = entries.begin(); entry != entries.end() && written < shownEntries; ++entry, ++written)
        text += entry->second + ' ' + formatTime(entry->first) + '\n';
    return text;
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
