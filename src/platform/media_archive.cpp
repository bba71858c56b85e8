#include "platform/media_archive.h"

#include <cstdio>
#include <memory>
#include <sstream>
#include <unordered_map>

#include <zip.h>
#include <zlib.h>

namespace platform
{

namespace
{
// The manifest's first line: names the format, so that a manifest of another kind is not half-read.
const char* const manifestHeader = "Quobbel media manifest 1";
// A manifest is a few kilobytes; anything far larger is not one.
constexpr zip_uint64_t maxManifestBytes = 1 << 20;
constexpr std::size_t readChunkBytes = 1 << 16;

std::string messageFor(MediaFault fault, const std::string& archive, const std::string& subject)
{
    const std::string prefix = "Media archive " + archive;
    switch (fault)
    {
    case MediaFault::unreadable:
        return prefix + " cannot be read: " + subject;
    case MediaFault::noManifest:
        return prefix + " is not this game's: it has no " + mediaManifestName;
    case MediaFault::badManifest:
        return prefix + " is damaged: " + mediaManifestName + " " + subject + " cannot be read";
    case MediaFault::unlisted:
        return prefix + " is not this game's: " + subject + " is not in its manifest";
    case MediaFault::missing:
        return prefix + " is damaged: " + subject + " is missing";
    case MediaFault::damaged:
        return prefix + " is damaged: " + subject + " differs from its manifest entry";
    }
    return prefix;
}

struct ArchiveCloser
{
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct FileCloser
{
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using ArchiveFile = std::unique_ptr<zip_file_t, FileCloser>;

Archive openArchive(const std::string& path)
{
    int code = 0;
    // The consistency check compares every local header with the central directory.
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (archive)
        return Archive(archive);
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const std::string reason = zip_error_strerror(&error);
    zip_error_fini(&error);
    throw MediaError(MediaFault::unreadable, path, reason);
}

// The entry's stored bytes, read in chunks into `chunk`; false when they cannot all be read.
bool storedChecksum(zip_t* archive, zip_uint64_t index, zip_uint64_t storedSize, std::vector<char>& chunk,
                    std::uint32_t& crc)
{
    const ArchiveFile file(zip_fopen_index(archive, index, ZIP_FL_COMPRESSED));
    if (!file)
        return false;
    uLong sum = crc32(0, nullptr, 0);
    zip_uint64_t total = 0;
    for (;;)
    {
        const zip_int64_t got = zip_fread(file.get(), chunk.data(), chunk.size());
        if (got < 0)
            return false;
        if (got == 0)
            break;
        sum = crc32(sum, reinterpret_cast<const Bytef*>(chunk.data()), static_cast<uInt>(got));
        total += static_cast<zip_uint64_t>(got);
    }
    crc = static_cast<std::uint32_t>(sum);
    return total == storedSize;
}

struct Described
{
    MediaEntry entry;
    bool readable = false;
};

Described describeEntry(zip_t* archive, zip_uint64_t index, std::vector<char>& chunk)
{
    Described described;
    zip_stat_t stat;
    zip_stat_init(&stat);
    const zip_uint64_t needed = ZIP_STAT_NAME | ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE;
    if (zip_stat_index(archive, index, 0, &stat) != 0 || (stat.valid & needed) != needed)
        return described;
    described.entry.name = stat.name;
    described.entry.size = stat.size;
    described.entry.storedSize = stat.comp_size;
    described.readable = storedChecksum(archive, index, stat.comp_size, chunk, described.entry.storedCrc);
    return described;
}

std::string readManifest(zip_t* archive, const std::string& path)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive, mediaManifestName, 0, &stat) != 0)
        throw MediaError(MediaFault::noManifest, path, mediaManifestName);
    if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > maxManifestBytes)
        throw MediaError(MediaFault::badManifest, path, "size");
    std::string text(stat.size, '\0');
    const ArchiveFile file(zip_fopen(archive, mediaManifestName, 0));
    char beyond = 0;
    // Read unpacked to its end, where libzip compares the bytes with the archive's own CRC of them.
    if (!file || zip_fread(file.get(), text.data(), text.size()) != static_cast<zip_int64_t>(text.size()) ||
        zip_fread(file.get(), &beyond, 1) != 0)
        throw MediaError(MediaFault::badManifest, path, "data");
    return text;
}

bool parseLine(const std::string& line, MediaEntry& entry)
{
    std::istringstream fields(line);
    std::string crc;
    if (!(fields >> crc >> entry.size >> entry.storedSize) || crc.size() != 8 ||
        crc.find_first_not_of("0123456789abcdef") != std::string::npos || fields.get() != ' ')
        return false;
    entry.storedCrc = static_cast<std::uint32_t>(std::stoul(crc, nullptr, 16));
    std::getline(fields, entry.name);
    return !entry.name.empty();
}
} // namespace

MediaError::MediaError(MediaFault fault, const std::string& archive, const std::string& entry)
    : std::runtime_error(messageFor(fault, archive, entry)), mFault(fault), mEntry(entry)
{
}

std::vector<MediaEntry> describeMediaArchive(const std::string& path)
{
    const Archive archive = openArchive(path);
    std::vector<char> chunk(readChunkBytes);
    std::vector<MediaEntry> entries;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i)
    {
        Described described = describeEntry(archive.get(), static_cast<zip_uint64_t>(i), chunk);
        if (!described.readable)
            throw MediaError(MediaFault::unreadable, path, "entry " + std::to_string(i));
        if (described.entry.name != mediaManifestName)
            entries.push_back(std::move(described.entry));
    }
    return entries;
}

std::string writeMediaManifest(const std::vector<MediaEntry>& entries)
{
    std::string text = std::string(manifestHeader) + "\n";
    char crc[9];
    for (const MediaEntry& entry : entries)
    {
        std::snprintf(crc, sizeof crc, "%08x", static_cast<unsigned>(entry.storedCrc));
        text += std::string(crc) + " " + std::to_string(entry.size) + " " + std::to_string(entry.storedSize) +
                " " + entry.name + "\n";
    }
    return text;
}

std::vector<MediaEntry> readMediaManifest(const std::string& text, const std::string& archive)
{
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != manifestHeader)
        throw MediaError(MediaFault::badManifest, archive, "line 1");
    std::vector<MediaEntry> entries;
    for (int number = 2; std::getline(lines, line); ++number)
    {
        MediaEntry entry;
        if (!parseLine(line, entry))
            throw MediaError(MediaFault::badManifest, archive, "line " + std::to_string(number));
        entries.push_back(std::move(entry));
    }
    return entries;
}

void checkMediaArchive(const std::string& path)
{
    const Archive archive = openArchive(path);
    const std::vector<MediaEntry> listed = readMediaManifest(readManifest(archive.get(), path), path);
    std::unordered_map<std::string, std::size_t> position;
    for (std::size_t i = 0; i < listed.size(); ++i)
        if (!position.emplace(listed[i].name, i).second)
            throw MediaError(MediaFault::badManifest, path, "entry " + listed[i].name);
    std::vector<bool> seen(listed.size(), false);

    std::vector<char> chunk(readChunkBytes);
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i)
    {
        const Described found = describeEntry(archive.get(), static_cast<zip_uint64_t>(i), chunk);
        const MediaEntry& entry = found.entry;
        if (entry.name == mediaManifestName)
            continue;
        const auto listing = position.find(entry.name);
        if (listing == position.end() || seen[listing->second])
            throw MediaError(found.readable ? MediaFault::unlisted : MediaFault::damaged, path,
                             entry.name.empty() ? "entry " + std::to_string(i) : entry.name);
        const MediaEntry& expected = listed[listing->second];
        if (!found.readable || entry.size != expected.size || entry.storedSize != expected.storedSize ||
            entry.storedCrc != expected.storedCrc)
            throw MediaError(MediaFault::damaged, path, entry.name);
        seen[listing->second] = true;
    }
    for (std::size_t i = 0; i < listed.size(); ++i)
        if (!seen[i])
            throw MediaError(MediaFault::missing, path, listed[i].name);
}

} // namespace platform
