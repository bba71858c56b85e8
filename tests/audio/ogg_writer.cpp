#include "ogg_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <vector>

#include <vorbis/vorbisenc.h>

namespace
{
constexpr double twoPi = 6.283185307179586;
constexpr int serialNumber = 1234;

void writePage(std::ofstream& out, const ogg_page& page)
{
    out.write(reinterpret_cast<const char*>(page.header), page.header_len);
    out.write(reinterpret_cast<const char*>(page.body), page.body_len);
}

// Builds one page by hand: `continued` marks a body that carries on the previous page's packet.
void writeRawPage(std::ofstream& out, int serial, long sequence, ogg_int64_t granule, bool continued,
                  const unsigned char* body, long bytes)
{
    std::vector<unsigned char> lacing;
    long left = bytes;
    while (left >= 255)
    {
        lacing.push_back(255);
        left -= 255;
    }
    // A packet that goes on in the next page ends its page with a 255 and no terminating value.
    if (granule != -1 || left > 0)
        lacing.push_back(static_cast<unsigned char>(left));
    std::vector<unsigned char> header(27 + lacing.size());
    std::memcpy(header.data(), "OggS", 4);
    header[5] = continued ? 1 : 0;
    for (int i = 0; i < 8; ++i)
        header[6 + i] = static_cast<unsigned char>(static_cast<unsigned long long>(granule) >> (8 * i));
    for (int i = 0; i < 4; ++i)
    {
        header[14 + i] = static_cast<unsigned char>(static_cast<unsigned>(serial) >> (8 * i));
        header[18 + i] = static_cast<unsigned char>(static_cast<unsigned long>(sequence) >> (8 * i));
    }
    header[26] = static_cast<unsigned char>(lacing.size());
    std::memcpy(header.data() + 27, lacing.data(), lacing.size());
    ogg_page page;
    page.header = header.data();
    page.header_len = static_cast<long>(header.size());
    page.body = const_cast<unsigned char*>(body);
    page.body_len = bytes;
    ogg_page_checksum_set(&page);
    writePage(out, page);
}

// Runs the encoder over `frames` samples per channel from `sample(channel, frame)`. The headers always go
// to the file as the encoder pages them; audio packets too, unless `takePacket` is given, which then gets
// every audio packet to page itself.
void encode(std::ofstream& out, int channels, long rate, long frames, float quality,
            const std::function<float(int, long)>& sample,
            const std::function<void(const ogg_packet&)>& takePacket = nullptr)
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

    const long step = 1024;
    long done = 0;
    bool finished = false;
    while (!finished)
    {
        const long count = std::min(step, frames - done);
        if (count > 0)
        {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (int c = 0; c < channels; ++c)
                for (long i = 0; i < count; ++i)
                    buffer[c][i] = sample(c, done + i);
            done += count;
        }
        // Writing zero samples marks the end of the data.
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        finished = count == 0;
        while (vorbis_analysis_blockout(&dsp, &block) == 1)
        {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet))
            {
                if (takePacket)
                {
                    takePacket(packet);
                    continue;
                }
                ogg_stream_packetin(&stream, &packet);
                // Short pages, so that even a small file has several and its length comes from the last.
                while (packet.packetno % 16 == 0 ? ogg_stream_flush(&stream, &page)
                                                 : ogg_stream_pageout(&stream, &page))
                    writePage(out, page);
            }
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
    encode(out, spec.channels, spec.rate, spec.frames, 0.4f,
           [&spec](int, long frame) {
               return static_cast<float>(spec.amplitude *
                                         std::sin(twoPi * spec.frequency * frame / spec.rate));
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
        [&](const ogg_packet& packet)
        {
            const long firstPart = packet.bytes > 255 ? 255 : 0;
            if (firstPart)
            {
                sequence += 2;
                writeRawPage(out, serialNumber, sequence, -1, false, packet.packet, firstPart);
            }
            sequence += 2;
            writeRawPage(out, serialNumber, sequence, packet.granulepos, firstPart != 0,
                         packet.packet + firstPart, packet.bytes - firstPart);
        });
}

void claimLength(const std::string& path, long long frames)
{
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const size_t last = bytes.rfind("OggS");
    if (last == std::string::npos || bytes.size() < last + 27)
        throw std::runtime_error("no Ogg page in " + path);
    auto* header = reinterpret_cast<unsigned char*>(&bytes[last]);
    for (int i = 0; i < 8; ++i)
        header[6 + i] = static_cast<unsigned char>(static_cast<unsigned long long>(frames) >> (8 * i));
    ogg_page page;
    page.header = header;
    page.header_len = 27 + header[26];
    page.body = header + page.header_len;
    page.body_len = static_cast<long>(bytes.size() - last) - page.header_len;
    ogg_page_checksum_set(&page);
    std::ofstream(path, std::ios::binary) << bytes;
}

void writeTextFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}
