#pragma once

// The ten best one-player game times, their file "scores.icl" and their drawing, one 20x38 picture cell
// per character, as children of a toolkit window the caller owns.
//
// Display mode shows the table (title and results scenes). Entry mode runs the name entry after a
// one-player game's last level: up to seven letters, each chosen with the menu directions; right accepts a
// letter (the seventh saves), left deletes one, accept saves.
//
// The file holds at most ten lines "NAME seconds", best first. Reading takes white-space separated
// name/number pairs until one fails; a time that is negative or not finite is skipped. A file edited by
// hand or damaged never stops the game: characters without a picture are drawn blank. Saving writes a
// new file beside the old one and renames it over it, so the old table survives a failed save.

#include <set>
#include <string>
#include <utility>

namespace buttonGUI
{
class button;
}
class InputState;

class ScoreTable
{
  public:
    static constexpr std::size_t shownEntries = 10;
    static constexpr std::size_t maxNameLength = 7;

    // Display mode: reads the file and adds the best ten rows as cells of `window` (not shown here).
    explicit ScoreTable(buttonGUI::button* window);
    // Entry mode for `player` (0 either, 1 or 2) and the game's time in seconds. When the time is not
    // good enough for the table the entry is finished at once and nothing is shown.
    ScoreTable(buttonGUI::button* window, int player, double newTime);

    // Entry mode, once per frame while the main scene runs; frameSeconds in seconds.
    void update(double frameSeconds, InputState* input);

    // The entry is over: saved, cancelled by the main scene (which sets it), or not a record.
    bool finished = false;

    using Entry = std::pair<double, std::string>; // seconds, name
    const std::set<Entry>& entries() const { return mEntries; }
    const std::string& name() const { return mName; }

    // The file's path: the game directory followed by "scores.icl".
    static std::string filePath();
    // Reads a table from text; the order and duplicate rules are those of the set of pairs.
    static std::set<Entry> parse(const std::string& text);
    // The cells that show a time, leftmost first: digits, ':' for the separator; at most six whole
    // seconds digits and two decimals (more decimals are cut, not rounded).
    static std::string timeCells(double seconds);
    // The picture of one cell's character: letters and digits their own, ':' "dots", '/' "slash",
    // anything else "blank".
    static std::string glyphMaterial(char character);

  private:
    static std::string timeText(double seconds, std::size_t& point);
    static std::size_t firstTimeCell(std::size_t point);
    void read();
    void drawRow(std::size_t row, const Entry& entry);
    void setCell(std::size_t index, const std::string& material);
    void editLetter(int step);
    void acceptLetter();
    void deleteLetter();
    void blinkCursor();
    void save();
    bool write() const;

    buttonGUI::button* mGui;
    double mLastEventTime = -1.0;
    double mClock = 0.0;
    bool mCursorShown = false;
    std::string mName;
    int mPlayer = 0;
    double mNewTime = 0.0;
    std::set<Entry> mEntries;
};
