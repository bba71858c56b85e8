// The check of media.icl against its manifest, on copies of the generated archive changed the ways a disk,
// a download or another program's files would change it.

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include <zip.h>

#include <gtest/gtest.h>

#include "platform/media_archive.h"
#include "support/media_damage.h"
#include "support/test_paths.h"

namespace
{
namespace fs = std::filesystem;
using platform::MediaFault;

// Opens the archive, lets `change` edit it through libzip and writes it back (the other entries are
// copied as they are stored).
void edit(const std::string& path, const std::function<void(zip_t*)>& change)
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), 0, &error);
    ASSERT_NE(archive, nullptr);
    change(archive);
    ASSERT_EQ(zip_close(archive), 0) << zip_strerror(archive);
}

// Adds or replaces an entry; `bytes` must outlive the archive's closing.
void put(zip_t* archive, const std::string& name, const std::string& bytes)
{
    zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE), 0);
}

void remove(zip_t* archive, const std::string& name)
{
    ASSERT_EQ(zip_delete(archive, static_cast<zip_uint64_t>(zip_name_locate(archive, name.c_str(), 0))), 0);
}

std::string manifestOf(const std::string& path)
{
    return platform::writeMediaManifest(platform::describeMediaArchive(path));
}

struct Scratch
{
    fs::path dir = fs::temp_directory_path() / ("quobbel-media-" + std::to_string(getpid()));
    Scratch() { fs::create_directories(dir); }
    ~Scratch() { fs::remove_all(dir); }
};
} // namespace

TEST(MediaArchive, TheGeneratedArchivePassesAndEachDamageOrForeignArchiveIsNamedWithItsEntry)
{
    const Scratch scratch;
    const std::string generated = testing_paths::gameDir() + "/media.icl";
    const std::string garbledManifest = [&]
    {
        std::string text = manifestOf(generated);
        text.insert(text.find('\n', text.find('\n') + 1) + 1, "0000zzzz 12 12 broken.mesh\n");
        return text;
    }();
    const std::string otherLevel = "not a level that was generated\n";
    const struct
    {
        const char* what;
        std::function<void(const std::string&)> change;
        std::optional<MediaFault> fault; // none: the archive passes
        std::string subject;             // the entry (or manifest line) the message names
    } cases[] = {
        {"as generated", [](const std::string&) {}, std::nullopt, ""},
        // Installed data may be a link into a read-only folder.
        {"as a symbolic link",
         [&](const std::string& path)
         {
             fs::remove(path);
             fs::create_symlink(generated, path);
         },
         std::nullopt, ""},
        {"one entry's stored bytes damaged",
         [](const std::string& path) { damageArchiveEntry(path, "Pimbear.skeleton"); }, MediaFault::damaged,
         "Pimbear.skeleton"},
        {"an entry added",
         [&](const std::string& path) { edit(path, [&](zip_t* zip) { put(zip, "extra.imf", otherLevel); }); },
         MediaFault::unlisted, "extra.imf"},
        {"an entry removed",
         [](const std::string& path) { edit(path, [](zip_t* zip) { remove(zip, "cat.mesh"); }); },
         MediaFault::missing, "cat.mesh"},
        {"without its manifest",
         [](const std::string& path)
         { edit(path, [](zip_t* zip) { remove(zip, platform::mediaManifestName); }); },
         MediaFault::noManifest, platform::mediaManifestName},
        {"the manifest's stored bytes damaged",
         [](const std::string& path) { damageArchiveEntry(path, platform::mediaManifestName); },
         MediaFault::badManifest, platform::mediaManifestName},
        {"a manifest line garbled",
         [&](const std::string& path)
         { edit(path, [&](zip_t* zip) { put(zip, platform::mediaManifestName, garbledManifest); }); },
         MediaFault::badManifest, "line 3"},
        {"cut short", [](const std::string& path) { fs::resize_file(path, fs::file_size(path) / 2); },
         MediaFault::unreadable, ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const std::string copy = (scratch.dir / "media.icl").string();
        // Never through the last case's link.
        fs::remove(copy);
        fs::copy_file(generated, copy);
        c.change(copy);
        try
        {
            platform::checkMediaArchive(copy);
            EXPECT_FALSE(c.fault) << "passed";
        }
        catch (const platform::MediaError& error)
        {
            ASSERT_TRUE(c.fault) << error.what();
            EXPECT_EQ(error.fault(), *c.fault) << error.what();
            const std::string message = error.what();
            EXPECT_NE(message.find(copy), std::string::npos) << message;
            EXPECT_NE(message.find(c.subject), std::string::npos) << message;
        }
    }
}
