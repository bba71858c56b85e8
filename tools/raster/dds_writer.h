#pragma once

#include <cstdint>
#include <string>

// Encodes 8-bit RGBA pixels (row by row, no padding) as an uncompressed 32-bit DDS file without mipmaps.
// The engine decodes DDS itself; its PNG codec plugin hands out buffers that the engine later frees with a
// different allocator, which the address sanitizer rejects in every test that loads such a texture.
std::string encodeDdsRgba(const std::uint8_t* pixels, int width, int height);
