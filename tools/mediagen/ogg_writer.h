#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Encodes planar float samples (-1..1; louder values are clipped) as an Ogg Vorbis file in memory.
// channels holds one (mono) or two (left, right) channels of equal length; rate is in Hz; quality is
// libvorbisenc's VBR quality (-0.1 to 1). The Ogg stream serial number is given, not random, so the bytes
// depend only on the arguments. Throws std::runtime_error when the encoder refuses the settings.
std::string encodeOggVorbis(const std::vector<std::vector<float>>& channels, int rate, float quality,
                            std::uint32_t serial);

// A stable serial number for a file name (FNV-1a), so each generated stream has its own fixed serial.
std::uint32_t oggSerialFor(const std::string& fileName);
