#pragma once

// What is wrong with a level file, and where. The player sees one message for every level the game cannot
// read, the design's "Error reading map data!"; the log, standard error and the level tools name the file,
// the line, the record and what was wrong, in one format:
//
//     mapa2.imf:14: SlidingPlatform: 9 of 14 fields
//     mapa1.imf:3: StaticPlatform: length 0.2 is below 1

#include <stdexcept>
#include <string>

// The message the player sees for any level the game cannot read.
extern const char* const levelErrorText;

struct LevelProblem
{
    std::string file;   // the level's file name as the game or the author gave it
    int line = 0;       // 1-based line in that file; 0 when the problem is the file as a whole
    std::string record; // the record's keyword, or "header"; empty when the problem is the file as a whole
    std::string reason; // what was wrong, quoting the offending text

    // "file:line: record: reason", leaving out the line and the record when there are none.
    std::string describe() const;

    // A level file that does not exist.
    static LevelProblem missingFile(const std::string& file);
};

// Thrown for a level the game refuses. what() is levelErrorText; problem() says where and why.
class LevelError : public std::runtime_error
{
  public:
    explicit LevelError(LevelProblem problem);

    const LevelProblem& problem() const { return mProblem; }

  private:
    LevelProblem mProblem;
};
