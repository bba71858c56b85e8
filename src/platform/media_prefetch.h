#pragma once

// Reads and unpacks named entries of the media archive on a thread of its own while the main thread starts
// the engine, and hands them to the engine's resource loading in place of its own read of the archive.
//
// Most of the processor time of a start goes into the GL driver and the window, which only the main thread
// can make; unpacking the first scene's textures and meshes meanwhile takes a third of that scene's load off
// the main thread. An entry is served once, to the first load that asks for it; entries the archive lacks
// or cannot unpack are simply not served, and the engine reads them (or reports them) as usual.
//
// Owned by the application. Install it as the resource groups' loading listener once they exist; the
// thread is joined by the first request (or by destruction), and only the main thread logs.

#include <map>
#include <string>
#include <thread>
#include <vector>

#include <OgreResourceGroupManager.h>

namespace platform
{

class MediaPrefetch : public Ogre::ResourceLoadingListener
{
  public:
    // Starts unpacking `names` from the ZIP archive at `archivePath`. Without a thread nothing is prefetched.
    MediaPrefetch(const std::string& archivePath, std::vector<std::string> names);
    ~MediaPrefetch() override;
    MediaPrefetch(const MediaPrefetch&) = delete;
    MediaPrefetch& operator=(const MediaPrefetch&) = delete;

    // The unpacked bytes of `name` the first time it is asked for, else null (the engine reads the archive).
    Ogre::DataStreamPtr resourceLoading(const Ogre::String& name, const Ogre::String& group,
                                        Ogre::Resource* resource) override;

    struct Summary
    {
        std::size_t unpacked = 0; // entries found and unpacked
        std::size_t bytes = 0;    // their unpacked size
        std::size_t served = 0;   // entries handed to the engine so far
    };
    // Waits for the thread; for the log.
    Summary summary();

  private:
    void join();

    std::thread mWorker;
    // Written by the worker alone until it is joined, by the main thread alone afterwards.
    std::map<std::string, Ogre::DataStreamPtr> mEntries;
    Summary mSummary;
};

} // namespace platform
