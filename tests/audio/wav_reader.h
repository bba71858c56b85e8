#pragma once

// Reads what OpenAL Soft's wave-writer backend recorded: 32-bit float samples in a WAVE_FORMAT_EXTENSIBLE
// file, interleaved. Valid only once the device is closed (the size fields are written last).

#include <string>
#include <vector>

struct Recording
{
    int channels = 0;
    int rate = 0;
    std::vector<float> samples;

    long frames() const { return channels ? static_cast<long>(samples.size()) / channels : 0; }
    // Largest magnitude over every channel of frames [first, first + count).
    float peak(long first, long count) const;
};

// Throws std::runtime_error when the file is not such a recording.
Recording readRecording(const std::string& path);
