#include "models.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "model_output.h"

namespace models
{
namespace
{
// A private folder for the engine's serialisers, which write files only; removed afterwards.
class ScratchFolder
{
  public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "mediagen-models-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mediagen: cannot create a scratch folder");
        mPath = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(mPath, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return mPath; }

  private:
    std::string mPath;
};
} // namespace

void generateModels(MediaOutput& media)
{
    ScratchFolder scratch;
    ModelOutput out(media, scratch.path());
    // Particle materials and sprites come first: the templates name them.
    addParticles(out);
    addSkyAndClouds(out);
    addBears(out);
    addCats(out);
    addBoss(out);
    addPlatformPieces(out);
    addProps(out);
    addCritters(out);
    addScenery(out);
    out.finish();
}

} // namespace models
