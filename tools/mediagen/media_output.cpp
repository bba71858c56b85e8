#include "media_output.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <zip.h>

#include "platform/media_archive.h"

namespace
{
// 1 January 2020, 12:00 local: any fixed time keeps the archive reproducible.
constexpr time_t fixedModificationTime = 1577880000;

void insertUnique(std::map<std::string, std::string>& files, const std::string& name, std::string bytes)
{
    if (!files.emplace(name, std::move(bytes)).second)
        throw std::logic_error("mediagen: two files named " + name);
}

void writeFileAtomically(const std::filesystem::path& path, const std::string& bytes)
{
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            throw std::runtime_error("mediagen: cannot write " + temporary.string());
    }
    std::filesystem::rename(temporary, path);
}

void addEntry(zip_t* archive, const std::string& name, const std::string& bytes)
{
    zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    zip_int64_t index = source ? zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0)
    {
        zip_source_free(source);
        zip_discard(archive);
        throw std::runtime_error("mediagen: cannot add " + name + " to the archive");
    }
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9);
    zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), fixedModificationTime, 0);
}

void closeZip(zip_t* archive, const std::filesystem::path& path)
{
    if (zip_close(archive) != 0)
    {
        std::string message = zip_strerror(archive);
        zip_discard(archive);
        throw std::runtime_error("mediagen: cannot write " + path.string() + ": " + message);
    }
}

// The manifest lists each entry's stored bytes, known only once they are compressed: the assets are
// written first, then the archive is opened again and the manifest added. libzip copies the entries
// already there as they are stored, so the manifest stays true.
void writeZip(const std::filesystem::path& path, const std::map<std::string, std::string>& files)
{
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    std::filesystem::remove(temporary);
    int error = 0;
    zip_t* archive = zip_open(temporary.c_str(), ZIP_CREATE | ZIP_EXCL, &error);
    if (!archive)
        throw std::runtime_error("mediagen: cannot create " + temporary.string());
    for (const auto& [name, bytes] : files)
        addEntry(archive, name, bytes);
    closeZip(archive, temporary);

    const std::string manifest = platform::writeMediaManifest(platform::describeMediaArchive(temporary));
    archive = zip_open(temporary.c_str(), 0, &error);
    if (!archive)
        throw std::runtime_error("mediagen: cannot reopen " + temporary.string());
    addEntry(archive, platform::mediaManifestName, manifest);
    closeZip(archive, temporary);
    std::filesystem::rename(temporary, path);
}
} // namespace

void MediaOutput::addArchiveFile(const std::string& name, std::string bytes)
{
    if (name == platform::mediaManifestName)
        throw std::logic_error("mediagen: " + name + " is the archive's manifest, written last");
    insertUnique(mArchive, name, std::move(bytes));
}

void MediaOutput::addSoundtrackFile(const std::string& name, std::string bytes)
{
    insertUnique(mSoundtrack, name, std::move(bytes));
}

void MediaOutput::write(const std::string& gameDir) const
{
    const std::filesystem::path dir(gameDir);
    std::filesystem::create_directories(dir / "soundtrack");
    writeZip(dir / "media.icl", mArchive);
    for (const auto& [name, bytes] : mSoundtrack)
        writeFileAtomically(dir / "soundtrack" / name, bytes);
}
