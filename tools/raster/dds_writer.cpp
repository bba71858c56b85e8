#include "dds_writer.h"

#include <algorithm>

namespace
{
void appendLittleEndian(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xff));
}

// Header flags and masks from the DDS file format.
constexpr std::uint32_t headerSize = 124;
constexpr std::uint32_t flagsCapsHeightWidthPitchFormat = 0x1 | 0x2 | 0x4 | 0x8 | 0x1000;
constexpr std::uint32_t flagMipmapCount = 0x20000;
constexpr std::uint32_t pixelFormatSize = 32;
constexpr std::uint32_t pixelFormatRgbWithAlpha = 0x40 | 0x1;
constexpr std::uint32_t capsTexture = 0x1000;
constexpr std::uint32_t capsComplexMipmap = 0x8 | 0x400000;

int levelCount(int width, int height)
{
    int levels = 1;
    for (int size = std::max(width, height); size > 1; size /= 2)
        ++levels;
    return levels;
}

// Each pixel is one little-endian word A8R8G8B8: bytes blue, green, red, alpha.
void appendPixels(std::string& out, const std::uint8_t* pixels, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        const std::uint8_t* p = pixels + i * 4;
        out.push_back(static_cast<char>(p[2]));
        out.push_back(static_cast<char>(p[1]));
        out.push_back(static_cast<char>(p[0]));
        out.push_back(static_cast<char>(p[3]));
    }
}
} // namespace

std::vector<std::uint8_t> halveRgba(const std::vector<std::uint8_t>& pixels, int width, int height)
{
    const int w = std::max(1, width / 2);
    const int h = std::max(1, height / 2);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            // The source block this pixel covers: two by two, or three wide where an odd size rounds down.
            const int x0 = x * width / w;
            const int x1 = (x + 1) * width / w;
            const int y0 = y * height / h;
            const int y1 = (y + 1) * height / h;
            unsigned long weighted[3] = {0, 0, 0};
            unsigned long plain[3] = {0, 0, 0};
            unsigned long alpha = 0;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx)
                {
                    const std::uint8_t* p = &pixels[(static_cast<std::size_t>(sy) * width + sx) * 4];
                    for (int k = 0; k < 3; ++k)
                    {
                        weighted[k] += static_cast<unsigned long>(p[k]) * p[3];
                        plain[k] += p[k];
                    }
                    alpha += p[3];
                }
            const auto n = static_cast<unsigned long>((x1 - x0) * (y1 - y0));
            std::uint8_t* d = &out[(static_cast<std::size_t>(y) * w + x) * 4];
            for (int k = 0; k < 3; ++k)
                d[k] = static_cast<std::uint8_t>(alpha > 0 ? (weighted[k] + alpha / 2) / alpha
                                                           : (plain[k] + n / 2) / n);
            d[3] = static_cast<std::uint8_t>((alpha + n / 2) / n);
        }
    return out;
}

std::string encodeDdsRgba(const std::uint8_t* pixels, int width, int height, Mipmaps mipmaps)
{
    const auto w = static_cast<std::uint32_t>(width);
    const auto h = static_cast<std::uint32_t>(height);
    const int levels = mipmaps == Mipmaps::full ? levelCount(width, height) : 1;
    std::string out = "DDS ";
    out.reserve(128 + static_cast<std::size_t>(w) * h * (levels > 1 ? 6 : 4));
    appendLittleEndian(out, headerSize);
    appendLittleEndian(out, flagsCapsHeightWidthPitchFormat | (levels > 1 ? flagMipmapCount : 0));
    appendLittleEndian(out, h);
    appendLittleEndian(out, w);
    appendLittleEndian(out, w * 4); // bytes per row
    appendLittleEndian(out, 0);     // depth
    appendLittleEndian(out, levels > 1 ? static_cast<std::uint32_t>(levels) : 0);
    for (int i = 0; i < 11; ++i)
        appendLittleEndian(out, 0);
    appendLittleEndian(out, pixelFormatSize);
    appendLittleEndian(out, pixelFormatRgbWithAlpha);
    appendLittleEndian(out, 0); // no FourCC: plain RGB
    appendLittleEndian(out, 32);
    appendLittleEndian(out, 0x00ff0000); // red
    appendLittleEndian(out, 0x0000ff00); // green
    appendLittleEndian(out, 0x000000ff); // blue
    appendLittleEndian(out, 0xff000000); // alpha
    appendLittleEndian(out, capsTexture | (levels > 1 ? capsComplexMipmap : 0));
    for (int i = 0; i < 4; ++i)
        appendLittleEndian(out, 0);

    appendPixels(out, pixels, static_cast<std::size_t>(w) * h);
    std::vector<std::uint8_t> level;
    int lw = width;
    int lh = height;
    for (int i = 1; i < levels; ++i)
    {
        level = halveRgba(
            i == 1 ? std::vector<std::uint8_t>(pixels, pixels + static_cast<std::size_t>(w) * h * 4) : level,
            lw, lh);
        lw = std::max(1, lw / 2);
        lh = std::max(1, lh / 2);
        appendPixels(out, level.data(), static_cast<std::size_t>(lw) * static_cast<std::size_t>(lh));
    }
    return out;
}
