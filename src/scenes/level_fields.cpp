#include "scenes/level_fields.h"

#include <charconv>
#include <cmath>
#include <locale>
#include <sstream>

namespace
{
bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// A whole token as a finite decimal number; false for anything else. A leading '+' is allowed, as
// formatted extraction allows it.
bool toNumber(std::string_view text, double& value)
{
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

std::string show(double value)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return out.str();
}

std::string quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}
} // namespace

std::vector<LevelToken> tokenizeLevel(std::string_view text)
{
    std::vector<LevelToken> tokens;
    int line = 1;
    std::size_t i = 0;
    while (i < text.size())
    {
        if (isSpace(text[i]))
        {
            line += text[i] == '\n';
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && !isSpace(text[i]))
            ++i;
        tokens.push_back({text.substr(start, i - start), line});
    }
    return tokens;
}

FieldReader::FieldReader(const LevelToken* first, const LevelToken* last, const LevelProblem& where,
                         std::vector<LevelProblem>& problems)
    : mNext(first), mLast(last), mWhere(where), mProblems(problems)
{
}

const LevelToken* FieldReader::take()
{
    ++mAsked;
    if (mNext == mLast)
    {
        ++mMissing;
        return nullptr;
    }
    mTaken = mNext++;
    return mTaken;
}

void FieldReader::refuse(const std::string& reason)
{
    LevelProblem problem = mWhere;
    if (mTaken)
        problem.line = mTaken->line;
    problem.reason = reason;
    mFound.push_back(problem);
}

const LevelToken* FieldReader::takeNumber(const char* name, double low, double high, double& value)
{
    value = 0;
    const LevelToken* token = take();
    if (!token)
        return nullptr;
    const std::string field = std::string(name) + " ";
    if (!toNumber(token->text, value))
        refuse(field + quoted(token->text) + " is not a number");
    else if (value < low)
        refuse(field + std::string(token->text) + " is below " + show(low));
    else if (value > high)
        refuse(field + std::string(token->text) + " is above " + show(high));
    else
        return token;
    value = 0;
    return nullptr;
}

double FieldReader::real(const char* name, double low, double high)
{
    double value = 0;
    takeNumber(name, low, high, value);
    return value;
}

double FieldReader::positive(const char* name, double high)
{
    double value = 0;
    const LevelToken* token = takeNumber(name, 0, high, value);
    if (!token || value > 0)
        return value;
    refuse(std::string(name) + " " + std::string(token->text) + " must be above 0");
    return 0;
}

int FieldReader::integer(const char* name, int low, int high)
{
    double value = 0;
    const LevelToken* token = takeNumber(name, low, high, value);
    if (!token || value == std::floor(value))
        return static_cast<int>(value);
    refuse(std::string(name) + " " + std::string(token->text) + " is not a whole number");
    return 0;
}

bool FieldReader::flag(const char* name)
{
    const LevelToken* token = take();
    if (!token)
        return false;
    if (token->text != "0" && token->text != "1")
        refuse(std::string(name) + " " + quoted(token->text) + " is not 0 or 1");
    return token->text == "1";
}

std::string FieldReader::word()
{
    const LevelToken* token = take();
    return token ? std::string(token->text) : std::string();
}

bool FieldReader::finish()
{
    if (mMissing > 0)
    {
        LevelProblem problem = mWhere;
        problem.reason = std::to_string(mAsked - mMissing) + " of " + std::to_string(mAsked) + " fields";
        mProblems.push_back(problem);
        return false;
    }
    mProblems.insert(mProblems.end(), mFound.begin(), mFound.end());
    return mFound.empty();
}
