#include "wav_reader.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace
{
std::uint32_t le32(const std::string& bytes, size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

std::uint16_t le16(const std::string& bytes, size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}
} // namespace

float Recording::peak(long first, long count) const
{
    float loudest = 0.0f;
    const long end = std::min(frames(), first + count);
    for (long frame = std::max(0L, first); frame < end; ++frame)
        for (int c = 0; c < channels; ++c)
            loudest = std::max(loudest, std::fabs(samples[static_cast<size_t>(frame * channels + c)]));
    return loudest;
}

Recording readRecording(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        throw std::runtime_error(path + ": not a WAVE file");
    Recording recording;
    int bits = 0;
    size_t at = 12;
    while (at + 8 <= bytes.size())
    {
        const std::string id = bytes.substr(at, 4);
        const size_t size = le32(bytes, at + 4);
        const size_t body = at + 8;
        if (id == "fmt " && body + 16 <= bytes.size())
        {
            recording.channels = le16(bytes, body + 2);
            recording.rate = static_cast<int>(le32(bytes, body + 4));
            bits = le16(bytes, body + 14);
        }
        else if (id == "data")
        {
            if (bits != 32 || recording.channels == 0)
                throw std::runtime_error(path + ": expected 32-bit float samples");
            const size_t available = std::min(size, bytes.size() - body) / 4;
            recording.samples.resize(available);
            std::memcpy(recording.samples.data(), bytes.data() + body, available * 4);
            return recording;
        }
        at = body + size + (size & 1);
    }
    throw std::runtime_error(path + ": no data chunk");
}
