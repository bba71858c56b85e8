// Unpacking media ahead on a thread of its own: the engine must get exactly the archive's bytes, once, and
// nothing for what was not asked for or cannot be read.

#include <memory>
#include <string>
#include <vector>

#include <OgreDataStream.h>
#include <zip.h>

#include <gtest/gtest.h>

#include "platform/media_prefetch.h"
#include "scenes/intro_scene.h"
#include "support/test_paths.h"

namespace
{
const std::string generatedMedia()
{
    return testing_paths::gameDir() + "/media.icl";
}

// The entry as libzip unpacks it, or nothing when the archive lacks it.
std::string entryBytes(const std::string& archivePath, const std::string& name)
{
    int error = 0;
    zip_t* archive = zip_open(archivePath.c_str(), ZIP_RDONLY, &error);
    if (!archive)
        return {};
    std::string bytes;
    zip_stat_t stat;
    if (zip_stat(archive, name.c_str(), 0, &stat) == 0)
        if (zip_file_t* file = zip_fopen(archive, name.c_str(), 0))
        {
            bytes.resize(stat.size);
            if (zip_fread(file, bytes.data(), stat.size) != static_cast<zip_int64_t>(stat.size))
                bytes.clear();
            zip_fclose(file);
        }
    zip_discard(archive);
    return bytes;
}

std::string streamBytes(const Ogre::DataStreamPtr& stream)
{
    return stream ? stream->getAsString() : std::string();
}
} // namespace

TEST(MediaPrefetch, ServesEachUnpackedEntryOnceWithTheArchivesBytesAndNothingElse)
{
    const std::vector<std::string> names = {"cel.dds", "start_cat.mesh", "no_such_file.dds", "cat_tex.dds"};
    platform::MediaPrefetch prefetch(generatedMedia(), names);

    EXPECT_EQ(prefetch.resourceLoading("Pimbear_tex.dds", "General", nullptr), nullptr) << "never asked for";
    for (const char* name : {"cel.dds", "start_cat.mesh"})
    {
        SCOPED_TRACE(name);
        const std::string expected = entryBytes(generatedMedia(), name);
        ASSERT_FALSE(expected.empty());
        EXPECT_TRUE(streamBytes(prefetch.resourceLoading(name, "General", nullptr)) == expected);
        EXPECT_EQ(prefetch.resourceLoading(name, "General", nullptr), nullptr) << "served twice";
    }
    EXPECT_EQ(prefetch.resourceLoading("no_such_file.dds", "General", nullptr), nullptr);

    const platform::MediaPrefetch::Summary summary = prefetch.summary();
    EXPECT_EQ(summary.unpacked, 3u);
    EXPECT_EQ(summary.served, 2u);
    EXPECT_EQ(summary.bytes, entryBytes(generatedMedia(), "cel.dds").size() +
                                 entryBytes(generatedMedia(), "start_cat.mesh").size() +
                                 entryBytes(generatedMedia(), "cat_tex.dds").size());
}

TEST(MediaPrefetch, AnArchiveItCannotReadLeavesEveryLoadToTheEngine)
{
    const std::string missing = testing_paths::binaryDir() + "/no-such-media.icl";
    const std::string notAnArchive = testing_paths::sourceDir() + "/README.md";
    for (const std::string& path : {missing, notAnArchive})
    {
        SCOPED_TRACE(path);
        platform::MediaPrefetch prefetch(path, {"cel.dds"});
        EXPECT_EQ(prefetch.resourceLoading("cel.dds", "General", nullptr), nullptr);
        EXPECT_EQ(prefetch.summary().unpacked, 0u);
    }
    // Destroyed before anything asked: the thread is joined, not left running.
    platform::MediaPrefetch unused(generatedMedia(), IntroScene::firstFrameMedia());
}

TEST(MediaPrefetch, TheTitlesFirstFrameMediaAreAllInTheGeneratedArchive)
{
    for (const std::string& name : IntroScene::firstFrameMedia())
        EXPECT_FALSE(entryBytes(generatedMedia(), name).empty()) << name;
}
