// Block-compressed DDS files as the engine reads them: the format chosen by the picture's alpha, the whole
// chain of smaller levels (sizes that are no multiple of 4 included), and pixels that come back close to
// what was drawn. Decoded by the engine's own DDS codec without a render system, which unpacks the blocks.

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "dds_writer.h"
#include "platform/headless_engine.h"

namespace
{
struct Picture
{
    int width;
    int height;
    std::vector<std::uint8_t> rgba;
};

// Smooth colour ramps; with `cutOut`, a transparent disc in the middle and a half-transparent band.
Picture ramps(int width, int height, bool cutOut)
{
    Picture picture{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 4)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            std::uint8_t* p = &picture.rgba[(static_cast<std::size_t>(y) * width + x) * 4];
            p[0] = static_cast<std::uint8_t>(255 * x / std::max(1, width - 1));
            p[1] = static_cast<std::uint8_t>(255 * y / std::max(1, height - 1));
            p[2] = 160;
            p[3] = 255;
            if (!cutOut)
                continue;
            const float dx = static_cast<float>(x) - width / 2.0f;
            const float dy = static_cast<float>(y) - height / 2.0f;
            if (dx * dx + dy * dy < width * width / 16.0f)
                p[3] = 0;
            else if (y < height / 4)
                p[3] = 128;
        }
    return picture;
}

struct Decoded
{
    Ogre::PixelFormat storedAs;
    Ogre::Image image;
};

Decoded decode(const std::string& dds)
{
    std::string bytes = dds;
    Ogre::DataStreamPtr stream(new Ogre::MemoryDataStream(bytes.data(), bytes.size(), false, true));
    Decoded out{Ogre::PF_UNKNOWN, Ogre::Image()};
    // The pixel format as the file states it, read from the header's FourCC.
    const std::string fourCc = dds.substr(84, 4);
    out.storedAs = fourCc == "DXT1" ? Ogre::PF_DXT1 : fourCc == "DXT5" ? Ogre::PF_DXT5 : Ogre::PF_UNKNOWN;
    out.image.load(stream, "dds");
    return out;
}

// Mean absolute difference per channel (0..255) between the picture and the decoded top level; colours
// count only where the drawing is not fully transparent, since nothing of theirs shows there.
double meanError(const Picture& picture, const Ogre::Image& image, int channel)
{
    double sum = 0;
    int counted = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
        {
            const Ogre::ColourValue c =
                image.getColourAt(static_cast<std::size_t>(x), static_cast<std::size_t>(y), 0);
            const float decoded[] = {c.r, c.g, c.b, c.a};
            const std::uint8_t drawn =
                picture.rgba[(static_cast<std::size_t>(y) * picture.width + x) * 4 + channel];
            const std::uint8_t alpha =
                picture.rgba[(static_cast<std::size_t>(y) * picture.width + x) * 4 + 3];
            if (channel < 3 && alpha == 0)
                continue;
            sum += std::abs(decoded[channel] * 255.0 - drawn);
            ++counted;
        }
    return counted ? sum / counted : 0;
}

class BlockCompressedDds : public testing::Test
{
  protected:
    platform::HeadlessEngine engine;
};
} // namespace

TEST_F(BlockCompressedDds, OpaquePicturesTakeDxt1AndOthersDxt5WithTheWholeChain)
{
    for (const bool cutOut : {false, true})
    {
        SCOPED_TRACE(cutOut ? "with alpha" : "opaque");
        const Picture picture = ramps(64, 32, cutOut);
        const std::string dds =
            encodeDdsBlocks(picture.rgba.data(), picture.width, picture.height, Mipmaps::full);
        const Decoded decoded = decode(dds);
        EXPECT_EQ(decoded.storedAs, cutOut ? Ogre::PF_DXT5 : Ogre::PF_DXT1);
        EXPECT_EQ(decoded.image.getWidth(), 64u);
        EXPECT_EQ(decoded.image.getHeight(), 32u);
        EXPECT_EQ(decoded.image.getNumMipmaps(), 6u); // 32x16 down to 1x1
        // DXT1 stores 8 bytes per 4x4 block, DXT5 16; levels under 4x4 still take one block.
        const std::size_t blockBytes = cutOut ? 16 : 8;
        std::size_t expected = 128;
        for (int w = 64, h = 32;; w = std::max(1, w / 2), h = std::max(1, h / 2))
        {
            expected +=
                static_cast<std::size_t>((w + 3) / 4) * static_cast<std::size_t>((h + 3) / 4) * blockBytes;
            if (w == 1 && h == 1)
                break;
        }
        EXPECT_EQ(dds.size(), expected);
    }
}

TEST_F(BlockCompressedDds, PixelsComeBackCloseToTheDrawingAtSizesThatAreNoMultipleOfFour)
{
    for (const bool cutOut : {false, true})
    {
        SCOPED_TRACE(cutOut ? "with alpha" : "opaque");
        const Picture picture = ramps(37, 22, cutOut);
        const Decoded decoded = decode(encodeDdsBlocks(picture.rgba.data(), 37, 22, Mipmaps::none));
        ASSERT_EQ(decoded.image.getWidth(), 37u);
        ASSERT_EQ(decoded.image.getNumMipmaps(), 0u);
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_LT(meanError(picture, decoded.image, channel), 8.0) << "channel " << channel;
        // Steep ramps in both directions are the hard case for four colours on a line per block: within 3%.
        // Fully transparent and fully opaque stay exactly so; the half-transparent band stays near half.
        EXPECT_LT(meanError(picture, decoded.image, 3), 2.0);
        EXPECT_EQ(decoded.image.getColourAt(18, 11, 0).a, cutOut ? 0.0f : 1.0f);
    }
}
