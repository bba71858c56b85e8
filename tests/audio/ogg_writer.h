#pragma once

// Writes Ogg Vorbis files for the audio tests with libvorbisenc, so no test depends on media it did not
// make.

#include <string>

struct OggSpec
{
    int channels = 1;
    long rate = 22050;
    // Samples per channel; libvorbisfile reports exactly this length back.
    long frames = 22050;
    // A sine of this frequency (Hz) and peak amplitude (full scale 1) on every channel.
    double frequency = 440.0;
    double amplitude = 0.5;
};

void writeOgg(const std::string& path, const OggSpec& spec);

// A file whose headers are sound but whose audio pages each lose their predecessor: every packet is cut
// by a gap, so decoding answers nothing but holes from the first audio page to the end.
void writeDamagedOgg(const std::string& path, long frames);

// Rewrites the last page's position so that the file claims `frames` samples per channel.
void claimLength(const std::string& path, long long frames);
