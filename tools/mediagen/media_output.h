#pragma once

#include <map>
#include <string>

// Everything the generator produces, held in memory until write(). Files are kept sorted by name so the
// archive comes out byte for byte the same on every run.
class MediaOutput
{
  public:
    // A file at the root of media.icl. Names are unique and never the manifest's; a second file of the same
    // name is a generator bug and throws std::logic_error.
    void addArchiveFile(const std::string& name, std::string bytes);
    // A file of the soundtrack/ folder beside the program (streamed music).
    void addSoundtrackFile(const std::string& name, std::string bytes);

    const std::map<std::string, std::string>& archiveFiles() const { return mArchive; }
    const std::map<std::string, std::string>& soundtrackFiles() const { return mSoundtrack; }

    // Writes gameDir/media.icl, with the manifest the game checks at start (platform/media_archive.h), and
    // gameDir/soundtrack/. Each file is written beside its final name and renamed over it, so an interrupted
    // run never leaves a truncated archive. Throws std::runtime_error.
    void write(const std::string& gameDir) const;

  private:
    std::map<std::string, std::string> mArchive;
    std::map<std::string, std::string> mSoundtrack;
};
