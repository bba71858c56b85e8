#include "scenes/level_error.h"

#include <utility>

const char* const levelErrorText = "Error reading map data!";

std::string LevelProblem::describe() const
{
    std::string text = file;
    if (line > 0)
        text += ":" + std::to_string(line);
    text += ": ";
    if (!record.empty())
        text += record + ": ";
    return text + reason;
}

LevelProblem LevelProblem::missingFile(const std::string& file)
{
    return {file, 0, "", "no such level file"};
}

LevelError::LevelError(LevelProblem problem)
    : std::runtime_error(levelErrorText), mProblem(std::move(problem))
{
}
