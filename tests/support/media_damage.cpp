#include "support/media_damage.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include <zip.h>

namespace
{
// The entry's bytes as stored, read through libzip without unpacking them.
std::string storedBytes(const std::string& archivePath, const std::string& entry)
{
    int error = 0;
    zip_t* archive = zip_open(archivePath.c_str(), ZIP_RDONLY, &error);
    if (!archive)
        throw std::runtime_error("cannot open " + archivePath);
    zip_stat_t stat;
    zip_file_t* file = nullptr;
    std::string bytes;
    if (zip_stat(archive, entry.c_str(), 0, &stat) == 0 &&
        (file = zip_fopen(archive, entry.c_str(), ZIP_FL_COMPRESSED)) != nullptr)
    {
        bytes.resize(stat.comp_size);
        if (zip_fread(file, bytes.data(), bytes.size()) != static_cast<zip_int64_t>(bytes.size()))
            bytes.clear();
        zip_fclose(file);
    }
    zip_discard(archive);
    if (bytes.empty())
        throw std::runtime_error("no entry " + entry + " in " + archivePath);
    return bytes;
}
} // namespace

void damageArchiveEntry(const std::string& archive, const std::string& entry)
{
    const std::string stored = storedBytes(archive, entry);
    std::string file;
    {
        std::ifstream in(archive, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        file = bytes.str();
    }
    const auto at = std::search(file.begin(), file.end(), stored.begin(), stored.end());
    if (at == file.end())
        throw std::runtime_error("the stored bytes of " + entry + " are not found in " + archive);
    const std::ptrdiff_t middle = (at - file.begin()) + static_cast<std::ptrdiff_t>(stored.size() / 2);
    std::fstream out(archive, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(middle);
    out.put(static_cast<char>(~file[static_cast<std::size_t>(middle)]));
    if (!out.flush())
        throw std::runtime_error("cannot write " + archive);
}
