#include "ogg_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <vector>

#include <vorbis/vorbisenc.h>

#include "support/file_bytes.h"
namespace
{
constexpr int serialNumber = 1234;

void writePage(std::ofstream& out, const ogg_page& page)
{
    out.write(reinterpret_cast<const char*>(page.header), page.header_len);
    out.write(reinterpret_cast<const char*>(page.body), page.body_len);
}

// Ogg header fields are little-endian.
void putLittleEndian(unsigned char* at, unsigned long long value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

// Builds one page by hand: `continued` marks a body that carries on the previous page's packet; a granule
// of -1 leaves the packet unfinished, to go on in the next page.
void writeRawPage(std::ofstream& out, long sequence, ogg_int64_t granule, bool continued,
                  const unsigned char* body, long bytes)
{
    std::vector<unsigned char> header(27);
    std::memcpy(header.data(), "OggS", 4);
    header[5] = continued ? 1 : 0;
    putLittleEndian(&header[6], static_cast<unsigned long long>(granule), 8);
    putLittleEndian(&header[14], serialNumber, 4);
    putLittleEndian(&header[18], static_cast<unsigned long long>(sequence), 4);
    long left = bytes;
    for (; left >= 255; left -= 255)
        header.push_back(255);
    if (granule != -1 || left > 0)
        header.push_back(static_cast<unsigned char>(left));
    header[26] = static_cast<unsigned char>(header.size() - 27);
    ogg_page page{header.data(), static_cast<long>(header.size()), const_cast<unsigned char*>(body), bytes};
    ogg_page_checksum_set(&page);
    writePage(out, page);
}

// Runs the encoder over `frames` samples per channel from `sample(channel, frame)`. The headers go to the
// file as the encoder pages them; every audio packet goes to `takePacket`, with the stream the headers went
// through, and whatever that stream still holds at the end is paged out.
void encode(std::ofstream& out, int channels, long rate, long frames, float quality,
            const std::function<float(int, long)>& sample,
            const std::function<void(ogg_packet&, ogg_stream_state&)>& takePacket)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0)
        throw std::runtime_error("vorbis encoder refused the format");
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serialNumber);
    ogg_packet headers[3];
    vorbis_analysis_headerout(&dsp, &comment, &headers[0], &headers[1], &headers[2]);
    for (ogg_packet& header : headers)
        ogg_stream_packetin(&stream, &header);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page))
        writePage(out, page);

    for (long done = 0, count = 1; count > 0; done += count)
    {
        count = std::min(1024L, frames - done);
        if (count > 0)
        {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (int c = 0; c < channels; ++c)
                for (long i = 0; i < count; ++i)
                    buffer[c][i] = sample(c, done + i);
        }
        // Writing zero samples marks the end of the data.
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        while (vorbis_analysis_blockout(&dsp, &block) == 1)
        {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet))
                takePacket(packet, stream);
        }
    }
    while (ogg_stream_flush(&stream, &page))
        writePage(out, page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
}
} // namespace

void writeOgg(const std::string& path, const OggSpec& spec)
{
    std::ofstream out(path, std::ios::binary);
    encode(
        out, spec.channels, spec.rate, spec.frames, 0.4f,
        [&spec](int, long frame)
        {
            return static_cast<float>(spec.amplitude *
                                      std::sin(6.283185307179586 * spec.frequency * frame / spec.rate));
        },
        [&out](ogg_packet& packet, ogg_stream_state& stream)
        {
            ogg_stream_packetin(&stream, &packet);
            // Short pages, so that even a small file has several and its length comes from the last.
            ogg_page page;
            while (packet.packetno % 16 == 0 ? ogg_stream_flush(&stream, &page)
                                             : ogg_stream_pageout(&stream, &page))
                writePage(out, page);
        });
}

void writeDamagedOgg(const std::string& path, long frames)
{
    std::ofstream out(path, std::ios::binary);
    // Two header pages come first (sequence 0 and 1); every audio page after them skips a number.
    long sequence = 1;
    // Noise at full quality makes packets longer than one lacing segment, so each can be cut in two.
    encode(
        out, 1, 44100, frames, 1.0f,
        [](int, long) { return static_cast<float>(std::rand() % 2001 - 1000) / 1000.0f; },
        [&](ogg_packet& packet, ogg_stream_state&)
        {
            const long firstPart = packet.bytes > 255 ? 255 : 0;
            if (firstPart)
                writeRawPage(out, sequence += 2, -1, false, packet.packet, firstPart);
            writeRawPage(out, sequence += 2, packet.granulepos, firstPart != 0, packet.packet + firstPart,
                         packet.bytes - firstPart);
        });
}

void claimLength(const std::string& path, long long frames)
{
    std::string bytes = readFile(path);
    const size_t last = bytes.rfind("OggS");
    if (last == std::string::npos || bytes.size() < last + 27)
        throw std::runtime_error("no Ogg page in " + path);
    auto* header = reinterpret_cast<unsigned char*>(&bytes[last]);
    putLittleEndian(header + 6, static_cast<unsigned long long>(frames), 8);
    const long headerBytes = 27 + header[26];
    ogg_page page{header, headerBytes, header + headerBytes,
                  static_cast<long>(bytes.size() - last) - headerBytes};
    ogg_page_checksum_set(&page);
    std::ofstream(path, std::ios::binary) << bytes;
}
