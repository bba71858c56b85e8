#include "app/config_setting.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
constexpr const char* blanks = " \t\r\n";

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The file's lines, each with its own line ending (the last one may have none).
std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size())
    {
        const std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, next - start));
        start = next;
    }
    return lines;
}

std::string failure(const std::string& what, const std::string& path, int error)
{
    return what + " " + path + ": " + std::strerror(error);
}

// Writes all of `text` to a new file beside `target`, flushed to the disk; returns its path, or an empty
// text with `error` set and no file left.
std::string writeTemporary(const fs::path& target, const std::string& text, mode_t mode, std::string& error)
{
    std::string path = target.string() + ".XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0)
    {
        error = failure("cannot create", path, errno);
        return "";
    }
    fchmod(fd, mode);
    std::size_t written = 0;
    while (written < text.size())
    {
        const ssize_t n = write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    const int writeError = errno;
    if (written < text.size() || fsync(fd) != 0)
    {
        error = failure("cannot write", path, written < text.size() ? writeError : errno);
        close(fd);
        unlink(path.c_str());
        return "";
    }
    if (close(fd) != 0)
    {
        error = failure("cannot write", path, errno);
        unlink(path.c_str());
        return "";
    }
    return path;
}
} // namespace

std::string withConfigSetting(const std::string& text, const std::string& key, const std::string& value)
{
    std::vector<std::string> lines = splitLines(text);
    bool found = false;
    // Where the unnamed section ends: before the first section line, or at the end.
    std::size_t sectionEnd = lines.size();
    for (std::size_t i = 0; i < lines.size() && sectionEnd == lines.size(); ++i)
    {
        std::string& line = lines[i];
        const std::string content = trim(line);
        if (content.empty() || content[0] == '#' || content[0] == '@')
            continue;
        if (content.front() == '[' && content.back() == ']')
        {
            sectionEnd = i;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || trim(line.substr(0, equals)) != key)
            continue;
        const std::size_t valueStart = line.find_first_not_of(" \t", equals + 1);
        const std::size_t ending = line.find_last_not_of("\r\n") + 1;
        const std::size_t keep = valueStart == std::string::npos || valueStart > ending ? ending : valueStart;
        line = line.substr(0, keep) + value + line.substr(ending);
        found = true;
    }
    if (!found)
    {
        // The line before the new one must end, in the file's own style.
        const std::string newline = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
        if (sectionEnd > 0 && lines[sectionEnd - 1].back() != '\n')
            lines[sectionEnd - 1] += newline;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), key + " = " + value + newline);
    }
    std::string result;
    for (const std::string& line : lines)
        result += line;
    return result;
}

std::string saveConfigSetting(const std::string& path, const std::string& key, const std::string& value)
{
    // A link stays a link: the file it points to is the one replaced.
    std::error_code unresolved;
    fs::path target = fs::weakly_canonical(path, unresolved);
    if (unresolved)
        target = path;
    std::string text;
    mode_t mode = 0644;
    struct stat status;
    if (stat(target.c_str(), &status) == 0)
    {
        mode = status.st_mode & 07777;
        std::ifstream in(target, std::ios::binary);
        std::ostringstream contents;
        contents << in.rdbuf();
        if (!in.is_open() || in.bad())
            return failure("cannot read", target.string(), errno);
        text = contents.str();
    }
    else if (errno != ENOENT)
        return failure("cannot read", target.string(), errno);

    std::string error;
    const std::string temporary = writeTemporary(target, withConfigSetting(text, key, value), mode, error);
    if (temporary.empty())
        return error;
    if (std::rename(temporary.c_str(), target.c_str()) != 0)
    {
        error = failure("cannot replace", target.string(), errno);
        unlink(temporary.c_str());
    }
    return error;
}
