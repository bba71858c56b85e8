#pragma once

// The level reader's tokens and the reader of one record's fields. Every problem the reader finds is
// worded here, so that all of them read alike.

#include <string>
#include <string_view>
#include <vector>

#include "scenes/level_error.h"

struct LevelToken
{
    std::string_view text; // points into the level's text
    int line;              // 1-based
};

// The tokens of a level file's text, split at white space (space, tab, CR, LF, vertical tab, form feed).
std::vector<LevelToken> tokenizeLevel(std::string_view text);

// Reads the fields of one record (or of the header) in order, each from one token. A field that cannot be
// read adds a problem naming the field and quoting its token, and gives 0 (or an empty word) so that
// reading goes on. When the tokens run out, the record is reported once, as "n of m fields", where m is
// the number of fields asked for by the time finish() is called.
class FieldReader
{
  public:
    // tokens [first, last) are the record's fields; keyword and line name the record in the problems,
    // which go to `problems` when finish() is called.
    FieldReader(const LevelToken* first, const LevelToken* last, const LevelProblem& where,
                std::vector<LevelProblem>& problems);

    double real(const char* name, double low, double high);
    // A real above 0 and at most high.
    double positive(const char* name, double high);
    int integer(const char* name, int low, int high);
    bool flag(const char* name);
    // Any token; words are not checked (an unknown kind word makes a box, as the game has always read it).
    std::string word();
    // A problem with the field last read (a word too long, say), at its line.
    void refuse(const std::string& reason);

    // Hands the problems over; true when every field asked for was there and sound.
    bool finish();

  private:
    // The next token, or null when the record has run out (counted).
    const LevelToken* take();
    // The next token as a number within [low, high] in value; null, with value 0, when it is missing or
    // refused.
    const LevelToken* takeNumber(const char* name, double low, double high, double& value);

    const LevelToken* mNext;
    const LevelToken* mLast;
    const LevelToken* mTaken = nullptr;
    LevelProblem mWhere;
    std::vector<LevelProblem>& mProblems;
    std::vector<LevelProblem> mFound;
    int mAsked = 0;
    int mMissing = 0;
};
