#pragma once

// The ten best one-player game times, their file "scores.icl" and their drawing, one 20x38 picture cell
// per character, as children of a toolkit window the caller owns.
//
// Display mode shows the table (title and results scenes). Entry mode runs the name entry after a
// one-player game's last level: up to seven letters, each chosen with the menu directions; right accepts a
// letter (the seventh saves), left deletes one, accept saves.
//
// The file holds at most ten lines "NAME seconds", best first, as the game writes it. Reading goes line
// by line; a line is read from its start as white-space separated pairs of a name word and a time word (a
// whole word that reads as a number, finite and not negative). So a line edited by hand to hold two pairs
// gives two entries. Where a pair fails, the rest of that line is skipped, logged with the file, the line
// number and the text, and reading goes on with the next line: "PANDA oops" is skipped whole, "OWL 61.5
// hoot" keeps OWL and skips "hoot", and no damaged line hides the lines after it. Blank lines are passed
// over quietly. Lower-case letters in names become capitals (a hand-written "owl" is shown and saved as
// OWL); other characters without a picture are kept as they are and drawn blank.
//
// A save writes the best ten of every entry read plus the new one, so only entries that could never be
// shown, and skipped text (which is in the log), leave the file. The new file is written beside the old one
// and renamed over it, so the old table survives a failed save. A file that exists but cannot be read is
// never replaced. A failed save is logged and kept in saveFailed() for the results screen.

#include <set>
#include <string>
#include <utility>
#include <vector>

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

    // True once a save has been tried and the file could not be written.
    bool saveFailed() const { return mSaveFailed; }

    using Entry = std::pair<double, std::string>; // seconds, name
    const std::set<Entry>& entries() const { return mEntries; }
    const std::string& name() const { return mName; }

    // Text of the file left unread: the line number (from 1) and the words from the first that failed to
    // the end of the line, with control characters shown as '?' and cut to maxSkippedTextLength.
    struct SkippedText
    {
        std::size_t line = 0;
        std::string text;
    };
    static constexpr std::size_t maxSkippedTextLength = 60;

    // The file's path: the game directory followed by "scores.icl".
    static std::string filePath();
    // Reads a table from a file's text as the file comment says; the order and duplicate rules are those
    // of the set of pairs. What could not be read is added to `skipped` when it is given.
    static std::set<Entry> parse(const std::string& text, std::vector<SkippedText>* skipped = nullptr);
    // The file's text for a table: its best ten, one "NAME seconds" line each.
    static std::string fileText(const std::set<Entry>& entries);
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
    std::string write() const;

    buttonGUI::button* mGui;
    double mLastEventTime = -1.0;
    double mClock = 0.0;
    bool mCursorShown = false;
    std::string mName;
    int mPlayer = 0;
    double mNewTime = 0.0;
    std::set<Entry> mEntries;
    // The file exists but could not be read: saving over it could lose times that are in it.
    bool mFileUnreadable = false;
    bool mSaveFailed = false;
};
