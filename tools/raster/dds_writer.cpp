#include "dds_writer.h"

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
constexpr std::uint32_t pixelFormatSize = 32;
constexpr std::uint32_t pixelFormatRgbWithAlpha = 0x40 | 0x1;
constexpr std::uint32_t capsTexture = 0x1000;
} // namespace

std::string encodeDdsRgba(const std::uint8_t* pixels, int width, int height)
{
    const auto w = static_cast<std::uint32_t>(width);
    const auto h = static_cast<std::uint32_t>(height);
    std::string out = "DDS ";
    out.reserve(128 + static_cast<std::size_t>(w) * h * 4);
    appendLittleEndian(out, headerSize);
    appendLittleEndian(out, flagsCapsHeightWidthPitchFormat);
    appendLittleEndian(out, h);
    appendLittleEndian(out, w);
    appendLittleEndian(out, w * 4); // bytes per row
    appendLittleEndian(out, 0);     // depth
    appendLittleEndian(out, 0);     // mipmap count: the top level only
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
    appendLittleEndian(out, capsTexture);
    for (int i = 0; i < 4; ++i)
        appendLittleEndian(out, 0);
    // Each pixel is one little-endian word A8R8G8B8: bytes blue, green, red, alpha.
    const std::size_t count = static_cast<std::size_t>(w) * h;
    for (std::size_t i = 0; i < count; ++i)
    {
        const std::uint8_t* p = pixels + i * 4;
        out.push_back(static_cast<char>(p[2]));
        out.push_back(static_cast<char>(p[1]));
        out.push_back(static_cast<char>(p[0]));
        out.push_back(static_cast<char>(p[3]));
    }
    return out;
}
