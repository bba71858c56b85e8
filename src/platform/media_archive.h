#pragma once

// The manifest of the game's media archive, and the check the game makes of it before the engine reads a
// byte of the archive.
//
// The media generator writes "media.manifest" into media.icl: one line per other entry of the archive with
// the entry's size, the size of its bytes as stored (compressed) and the CRC-32 of those stored bytes. At
// start the game compares the archive with it: a checksum over the stored bytes needs no decompression, so
// the whole check reads the archive once (a few milliseconds; bench/bench_media_check measures it). An
// archive that fails the check never reaches the engine, whose readers do not expect damaged data.
//
// Every fault and its message live here: the generator, the game and the tests share them.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform
{

// Name of the manifest inside the archive; it does not list itself.
inline constexpr const char* mediaManifestName = "media.manifest";

// One archive entry as the manifest describes it.
struct MediaEntry
{
    std::string name;
    std::uint64_t size = 0;       // bytes once unpacked
    std::uint64_t storedSize = 0; // bytes as stored in the archive
    std::uint32_t storedCrc = 0;  // CRC-32 of the stored bytes
};

enum class MediaFault
{
    unreadable,  // not a ZIP archive, or its directory is damaged
    noManifest,  // a ZIP archive without a manifest: not this game's media
    badManifest, // the manifest itself cannot be read
    unlisted,    // an entry the manifest does not list: not this game's media
    missing,     // an entry the manifest lists is not in the archive
    damaged,     // an entry's size or stored bytes differ from the manifest
};

// Why the media cannot be used. what() is the whole message: the archive's path, the entry (or the
// manifest's line) and what is wrong with it.
class MediaError : public std::runtime_error
{
  public:
    MediaError(MediaFault fault, const std::string& archive, const std::string& entry);
    MediaFault fault() const { return mFault; }
    const std::string& entry() const { return mEntry; }

  private:
    MediaFault mFault;
    std::string mEntry;
};

// Describes every entry of the ZIP archive at `path` except the manifest, in archive order, reading each
// entry's stored bytes. Throws MediaError (unreadable).
std::vector<MediaEntry> describeMediaArchive(const std::string& path);

// The manifest's text for `entries`, and back. readMediaManifest throws MediaError (badManifest) naming
// the first line it cannot read; `archive` is only for that message.
std::string writeMediaManifest(const std::vector<MediaEntry>& entries);
std::vector<MediaEntry> readMediaManifest(const std::string& text, const std::string& archive);

// Checks the archive at `path` (a symbolic link is followed) against its manifest: every entry listed,
// every listed entry present with its size and the checksum of its stored bytes. Throws MediaError for the
// first fault found.
void checkMediaArchive(const std::string& path);

} // namespace platform
