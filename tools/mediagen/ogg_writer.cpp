#include "ogg_writer.h"

#include <algorithm>
#include <stdexcept>

#include <vorbis/vorbisenc.h>

namespace
{
// Frames handed to the encoder per call; libvorbis buffers internally, so the size only trades memory
// for call overhead.
constexpr std::size_t framesPerBlock = 4096;

// Owns libvorbis's and libogg's encoder state so that every exit path releases it.
struct Encoder
{
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    bool analysisReady = false;

    Encoder()
    {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~Encoder()
    {
        if (analysisReady)
        {
            ogg_stream_clear(&stream);
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
};

void appendPage(std::string& out, const ogg_page& page)
{
    out.append(reinterpret_cast<const char*>(page.header), static_cast<std::size_t>(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), static_cast<std::size_t>(page.body_len));
}

// Moves every finished block through the encoder into pages.
void drainBlocks(Encoder& encoder, std::string& out)
{
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&encoder.dsp, &encoder.block) == 1)
    {
        vorbis_analysis(&encoder.block, nullptr);
        vorbis_bitrate_addblock(&encoder.block);
        while (vorbis_bitrate_flushpacket(&encoder.dsp, &packet))
        {
            ogg_stream_packetin(&encoder.stream, &packet);
            while (ogg_stream_pageout(&encoder.stream, &page))
                appendPage(out, page);
        }
    }
}
} // namespace

std::string encodeOggVorbis(const std::vector<std::vector<float>>& channels, int rate, float quality,
                            std::uint32_t serial)
{
    if (channels.empty() || channels.size() > 2)
        throw std::runtime_error("ogg writer: one or two channels expected");
    const std::size_t frames = channels[0].size();
    for (const auto& channel : channels)
        if (channel.size() != frames)
            throw std::runtime_error("ogg writer: channels of different lengths");

    Encoder encoder;
    const int channelCount = static_cast<int>(channels.size());
    if (vorbis_encode_init_vbr(&encoder.info, channelCount, rate, quality) != 0)
        throw std::runtime_error("ogg writer: the Vorbis encoder refuses these settings");
    vorbis_analysis_init(&encoder.dsp, &encoder.info);
    vorbis_block_init(&encoder.dsp, &encoder.block);
    ogg_stream_init(&encoder.stream, static_cast<int>(serial));
    encoder.analysisReady = true;

    std::string out;
    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&encoder.dsp, &encoder.comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&encoder.stream, &identification);
    ogg_stream_packetin(&encoder.stream, &comments);
    ogg_stream_packetin(&encoder.stream, &codebooks);
    // The headers end their page, so audio starts on a page of its own as decoders expect.
    ogg_page page;
    while (ogg_stream_flush(&encoder.stream, &page))
        appendPage(out, page);

    for (std::size_t start = 0; start < frames; start += framesPerBlock)
    {
        const std::size_t count = std::min(framesPerBlock, frames - start);
        float** buffer = vorbis_analysis_buffer(&encoder.dsp, static_cast<int>(count));
        for (int c = 0; c < channelCount; ++c)
        {
            const float* source = channels[static_cast<std::size_t>(c)].data() + start;
            for (std::size_t i = 0; i < count; ++i)
                buffer[c][i] = std::clamp(source[i], -1.0f, 1.0f);
        }
        vorbis_analysis_wrote(&encoder.dsp, static_cast<int>(count));
        drainBlocks(encoder, out);
    }
    vorbis_analysis_wrote(&encoder.dsp, 0);
    drainBlocks(encoder, out);
    while (ogg_stream_flush(&encoder.stream, &page))
        appendPage(out, page);
    return out;
}

std::uint32_t oggSerialFor(const std::string& fileName)
{
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : fileName)
    {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}
