#include "platform/media_prefetch.h"

#include <memory>
#include <system_error>

#include <OgreDataStream.h>
#include <pthread.h>
#include <zip.h>

namespace platform
{

namespace
{
struct ArchiveCloser
{
    void operator()(zip_t* archive) const { zip_discard(archive); }
};

struct FileCloser
{
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

// The whole unpacked entry, or null when the archive has no such entry or it cannot be unpacked.
Ogre::DataStreamPtr unpack(zip_t& archive, const std::string& name)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(&archive, name.c_str(), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        return nullptr;
    const std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(&archive, stat.index, 0));
    if (!file)
        return nullptr;
    auto bytes = std::make_shared<Ogre::MemoryDataStream>(name, static_cast<std::size_t>(stat.size), true);
    const zip_int64_t read = zip_fread(file.get(), bytes->getPtr(), stat.size);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size)
        return nullptr;
    return bytes;
}
} // namespace

MediaPrefetch::MediaPrefetch(const std::string& archivePath, std::vector<std::string> names)
{
    try
    {
        mWorker = std::thread(
            [this, archivePath, names = std::move(names)]
            {
                // Named apart from the main thread in profiles and debuggers.
                pthread_setname_np(pthread_self(), "media-unpack");
                int code = 0;
                const std::unique_ptr<zip_t, ArchiveCloser> archive(
                    zip_open(archivePath.c_str(), ZIP_RDONLY, &code));
                if (!archive)
                    return;
                for (const std::string& name : names)
                    if (Ogre::DataStreamPtr bytes = unpack(*archive, name))
                    {
                        mSummary.bytes += bytes->size();
                        ++mSummary.unpacked;
                        mEntries.emplace(name, std::move(bytes));
                    }
            });
    }
    catch (const std::system_error&)
    {
        // No thread: the engine reads everything itself.
    }
}

MediaPrefetch::~MediaPrefetch()
{
    join();
}

void MediaPrefetch::join()
{
    if (mWorker.joinable())
        mWorker.join();
}

Ogre::DataStreamPtr MediaPrefetch::resourceLoading(const Ogre::String& name, const Ogre::String&,
                                                   Ogre::Resource*)
{
    join();
    const auto entry = mEntries.find(name);
    if (entry == mEntries.end())
        return nullptr;
    Ogre::DataStreamPtr bytes = std::move(entry->second);
    mEntries.erase(entry);
    ++mSummary.served;
    return bytes;
}

MediaPrefetch::Summary MediaPrefetch::summary()
{
    join();
    return mSummary;
}

} // namespace platform
