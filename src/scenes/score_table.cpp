#include "scenes/score_table.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <OgreLogManager.h>

#include "core/access_points.h"
#include "gui/button.h"
#include "input/input_state.h"

using buttonGUI::position;

namespace
{
constexpr double blinkSeconds = 0.6;
constexpr float cellWidth = 20;
constexpr float cellHeight = 38;
// A damaged file can have thousands of bad lines: the log gets the first few and their count.
constexpr std::size_t loggedSkips = 10;

void logSkipped(const std::string& path, const std::vector<ScoreTable::SkippedText>& skipped)
{
    Ogre::LogManager& log = Ogre::LogManager::getSingleton();
    for (std::size_t i = 0; i < skipped.size() && i < loggedSkips; ++i)
        log.logMessage("Skipped what could not be read as a name and a time in " + path + ", line " +
                       std::to_string(skipped[i].line) + ": \"" + skipped[i].text + "\"");
    if (skipped.size() > loggedSkips)
        log.logMessage("Skipped " + std::to_string(skipped.size() - loggedSkips) + " more lines in " + path);
}
} // namespace

std::string ScoreTable::filePath()
{
    return basePath + "scores.icl";
}

ScoreTable::ScoreTable(buttonGUI::button* window) : mGui(window)
{
    read();
    std::size_t row = 0;
    for (auto entry = mEntries.begin(); entry != mEntries.end() && row < shownEntries; ++entry, ++row)
        drawRow(row, *entry);
}

ScoreTable::ScoreTable(buttonGUI::button* window, int player, double newTime)
    : mGui(window), mName("A"), mPlayer(player), mNewTime(newTime)
{
    for (std::size_t i = 0; i < maxNameLength; ++i)
        mGui->createButton(std::to_string(i), "blank", cellWidth, cellHeight,
                           position(buttonGUI::LEFT, 70.0f + 20.0f * static_cast<float>(i), 8), true);
    setCell(0, glyphMaterial(mName[0]));
    read();
    // Only a time at least as good as the tenth best enters a full table.
    if (mEntries.size() >= shownEntries && newTime > std::next(mEntries.begin(), shownEntries - 1)->first)
        finished = true;
    if (!finished)
        mGui->show(false, 300);
}

// A missing file is an empty table. One that is there but cannot be read (a folder, no permission) is
// also shown empty, but a save must not replace it.
void ScoreTable::read()
{
    const std::string path = filePath();
    std::error_code error;
    const std::filesystem::file_type type = std::filesystem::status(path, error).type();
    if (type == std::filesystem::file_type::not_found)
        return;
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (type != std::filesystem::file_type::regular || !file)
    {
        mFileUnreadable = true;
        Ogre::LogManager::getSingleton().logMessage("Could not read the best times in " + path);
        return;
    }
    std::ostringstream text;
    text << file.rdbuf();
    std::vector<SkippedText> skipped;
    mEntries = parse(text.str(), &skipped);
    logSkipped(path, skipped);
}

void ScoreTable::drawRow(std::size_t row, const Entry& entry)
{
    const float y = 100.0f + 38.0f * static_cast<float>(row);
    const std::string& name = entry.second;
    for (std::size_t i = 0; i < name.size() && i < maxNameLength; ++i)
        mGui->createButton(name + std::to_string(i), glyphMaterial(name[i]), cellWidth, cellHeight,
                           position(buttonGUI::TOP_LEFT, 110.0f + 20.0f * static_cast<float>(i), y), true);
    std::size_t point = 0;
    const std::string text = timeText(entry.first, point);
    for (std::size_t j = firstTimeCell(point); j <= point + 2; ++j)
        mGui->createButton(text + std::to_string(j), glyphMaterial(text[j]), cellWidth, cellHeight,
                           position(buttonGUI::TOP_LEFT, 365.0f + 20.0f * static_cast<float>(j), y), true);
}

void ScoreTable::setCell(std::size_t index, const std::string& material)
{
    if (buttonGUI::button* cell = mGui->getChild(std::to_string(index)))
        cell->setMaterial(material);
}

void ScoreTable::update(double frameSeconds, InputState* input)
{
    mClock += frameSeconds;
    if (input->wasPressed(mPlayer, action::menuLeft))
        deleteLetter();
    else if (input->wasPressed(mPlayer, action::menuRight))
        acceptLetter();
    else if (input->wasPressed(mPlayer, action::menuDown))
        editLetter(+1);
    else if (input->wasPressed(mPlayer, action::menuUp))
        editLetter(-1);
    else if (input->wasPressed(mPlayer, action::accept) && !finished)
        save();
    if (mClock - mLastEventTime > blinkSeconds && !finished)
        blinkCursor();
}

void ScoreTable::editLetter(int step)
{
    mLastEventTime = mClock;
    char& letter = mName.back();
    letter = static_cast<char>('A' + (letter - 'A' + step + 26) % 26);
    setCell(mName.size() - 1, glyphMaterial(letter));
}

void ScoreTable::acceptLetter()
{
    mLastEventTime = mClock;
    if (mName.size() == maxNameLength)
    {
        if (!finished)
            save();
        return;
    }
    setCell(mName.size() - 1, glyphMaterial(mName.back()));
    mName += 'A';
    setCell(mName.size() - 1, "A");
}

void ScoreTable::deleteLetter()
{
    mLastEventTime = mClock;
    if (mName.size() < 2)
        return;
    setCell(mName.size() - 1, "blank");
    mName.pop_back();
    setCell(mName.size() - 1, glyphMaterial(mName.back()));
}

void ScoreTable::blinkCursor()
{
    mLastEventTime = mClock;
    mCursorShown = !mCursorShown;
    setCell(mName.size() - 1, mCursorShown ? glyphMaterial(mName.back()) : "slash");
}

void ScoreTable::save()
{
    finished = true;
    mEntries.emplace(mNewTime, mName);
    const std::string failure =
        mFileUnreadable ? std::string("the file there could not be read, and is kept as it is") : write();
    if (!failure.empty())
    {
        mSaveFailed = true;
        Ogre::LogManager::getSingleton().logMessage("Could not save the best times to " + filePath() + ": " +
                                                    failure);
    }
    mGui->hide(false, 300);
}

// Writes the best ten beside the file and renames the new file over the old one. Answers why it failed, or
// nothing.
std::string ScoreTable::write() const
{
    const std::string path = filePath();
    const std::string temporary = path + ".new";
    {
        std::ofstream file(temporary, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!file)
            return "cannot create " + temporary + " (" + std::strerror(errno) + ")";
        file << fileText(mEntries);
        file.close();
        if (!file)
        {
            const std::string reason = std::strerror(errno);
            std::remove(temporary.c_str());
            return "cannot write " + temporary + " (" + reason + ")";
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        const std::string reason = std::strerror(errno);
        std::remove(temporary.c_str());
        return "cannot replace it with " + temporary + " (" + reason + ")";
    }
    return {};
}
