#include "support/overlay_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <Ogre.h>

#include "platform/headless_engine.h"

namespace
{
struct Sample
{
    int x; // offset on screen from the overlay's top left
    int y;
    unsigned char r, g, b;
};

// A texel counts as uniform when its neighbours differ from it by at most this much per channel: gradients
// pass, edges do not.
constexpr int uniformTolerance = 12;
// Two looks differ at a texel when some channel differs by more than this.
constexpr int lookDifference = 48;
// Sample points per overlay at most, spread on a regular grid.
constexpr double gridPoints = 900;

bool near(const unsigned char* a, const unsigned char* b, int tolerance)
{
    for (int c = 0; c < 3; ++c)
        if (std::abs(int(a[c]) - int(b[c])) > tolerance)
            return false;
    return true;
}

bool opaqueAndUniform(const RgbaPicture& picture, int tx, int ty, int radius)
{
    const unsigned char* centre = picture.pixel(unsigned(tx), unsigned(ty));
    for (int y = ty - radius; y <= ty + radius; ++y)
        for (int x = tx - radius; x <= tx + radius; ++x)
        {
            if (x < 0 || y < 0 || x >= int(picture.width) || y >= int(picture.height))
                return false;
            const unsigned char* texel = picture.pixel(unsigned(x), unsigned(y));
            if (texel[3] != 255 || !near(texel, centre, uniformTolerance))
                return false;
        }
    return true;
}

std::vector<Sample> samplesOf(const RgbaPicture& picture, int width, int height, const RgbaPicture* unlike)
{
    const double scaleX = double(picture.width) / width;
    const double scaleY = double(picture.height) / height;
    // A drawn pixel mixes the texels its footprint covers, so the uniform neighbourhood grows with the
    // minification.
    const int radius = int(std::ceil(std::max(scaleX, scaleY)));
    const int step = std::max(1, int(std::sqrt(double(width) * height / gridPoints)));
    const bool compareLooks = unlike && unlike->width == picture.width && unlike->height == picture.height;
    std::vector<Sample> samples;
    for (int y = step / 2; y < height; y += step)
        for (int x = step / 2; x < width; x += step)
        {
            const int tx = std::min(int((x + 0.5) * scaleX), int(picture.width) - 1);
            const int ty = std::min(int((y + 0.5) * scaleY), int(picture.height) - 1);
            if (!opaqueAndUniform(picture, tx, ty, radius))
                continue;
            const unsigned char* texel = picture.pixel(unsigned(tx), unsigned(ty));
            if (compareLooks && near(texel, unlike->pixel(unsigned(tx), unsigned(ty)), lookDifference))
                continue;
            samples.push_back({x, y, texel[0], texel[1], texel[2]});
        }
    return samples;
}

// How well the screen shows the samples with the overlay's top left at (left, top): more matching samples
// first, then the smaller colour difference summed over them, which tells apart placements a pixel or two
// apart on pictures with horizontal bands.
struct Score
{
    int hits = -1;
    long error = 0;

    bool betterThan(const Score& other) const
    {
        return hits > other.hits || (hits == other.hits && error < other.error);
    }
};

Score score(const WindowPicture& screen, const std::vector<Sample>& samples, int left, int top, int tolerance)
{
    Score result;
    result.hits = 0;
    for (const Sample& s : samples)
    {
        const int x = left + s.x;
        const int y = top + s.y;
        if (x < 0 || y < 0 || x >= int(screen.width) || y >= int(screen.height))
            continue;
        const unsigned char expected[3] = {s.r, s.g, s.b};
        const unsigned char* shown = screen.pixel(unsigned(x), unsigned(y));
        if (!near(shown, expected, tolerance))
            continue;
        ++result.hits;
        for (int c = 0; c < 3; ++c)
            result.error += std::abs(int(shown[c]) - int(expected[c]));
    }
    return result;
}
} // namespace

OverlayPictures::OverlayPictures(const std::string& mediaArchive)
    : mEngine(std::make_unique<platform::HeadlessEngine>())
{
    mEngine->addResourceLocation(mediaArchive, "Zip");
    mEngine->initialiseResources();
}

OverlayPictures::~OverlayPictures() = default;

const RgbaPicture& OverlayPictures::of(const std::string& material)
{
    const auto known = mPictures.find(material);
    if (known != mPictures.end())
        return known->second;
    const Ogre::MaterialPtr script = Ogre::MaterialManager::getSingleton().getByName(material);
    if (!script || script->getNumTechniques() == 0 || script->getTechnique(0)->getNumPasses() == 0 ||
        script->getTechnique(0)->getPass(0)->getNumTextureUnitStates() == 0)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "No textured material named " + material,
                    "OverlayPictures::of");
    Ogre::Image image;
    image.load(script->getTechnique(0)->getPass(0)->getTextureUnitState(0)->getTextureName(),
               Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME);
    RgbaPicture picture;
    picture.width = unsigned(image.getWidth());
    picture.height = unsigned(image.getHeight());
    picture.rgba.reserve(4u * picture.width * picture.height);
    for (unsigned y = 0; y < picture.height; ++y)
        for (unsigned x = 0; x < picture.width; ++x)
        {
            const Ogre::ColourValue colour = image.getColourAt(x, y, 0);
            for (float channel : {colour.r, colour.g, colour.b, colour.a})
                picture.rgba.push_back(static_cast<unsigned char>(std::lround(channel * 255)));
        }
    return mPictures.emplace(material, std::move(picture)).first->second;
}

bool OverlayPictures::has(const std::string& material) const
{
    return Ogre::MaterialManager::getSingleton().resourceExists(material);
}

OverlayMatch matchOverlay(const WindowPicture& screen, const RgbaPicture& picture, const OverlaySpot& spot,
                          const RgbaPicture* unlike, int tolerance)
{
    const int width = spot.width > 0 ? spot.width : int(picture.width);
    const int height = spot.height > 0 ? spot.height : int(picture.height);
    const std::vector<Sample> samples = samplesOf(picture, width, height, unlike);
    OverlayMatch best;
    best.samples = int(samples.size());
    best.left = spot.left;
    best.top = spot.topMin;
    if (samples.empty() || screen.empty())
        return best;
    Score bestScore;
    for (int top = spot.topMin; top <= spot.topMax; ++top)
        for (int shift : {0, -1, 1})
        {
            const int left = spot.left + shift;
            const Score placed = score(screen, samples, left, top, tolerance);
            if (placed.betterThan(bestScore))
            {
                bestScore = placed;
                best.left = left;
                best.top = top;
            }
        }
    best.fraction = double(bestScore.hits) / double(samples.size());
    return best;
}
