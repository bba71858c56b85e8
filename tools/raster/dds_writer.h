#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Whether a DDS file carries its smaller levels. Textures seen at many sizes (on models, particles,
// billboards) carry the whole chain down to 1x1, made here: the engine would otherwise make it on every
// load, and the software GL driver compiles a program to do that. Pictures always drawn at about their own
// size (overlays, the sky) carry none.
enum class Mipmaps
{
    none,
    full
};

// Encodes 8-bit RGBA pixels (row by row, no padding, straight alpha) as an uncompressed 32-bit DDS file.
// The engine decodes DDS itself; its PNG codec plugin hands out buffers that the engine later frees with a
// different allocator, which the address sanitizer rejects in every test that loads such a texture.
std::string encodeDdsRgba(const std::uint8_t* pixels, int width, int height, Mipmaps mipmaps = Mipmaps::none);

// The next smaller level of an RGBA picture: half the size, rounded down, at least 1. Each pixel averages
// the block of pixels it covers, colours weighted by alpha so that transparent pixels do not darken the
// edges of what is opaque.
std::vector<std::uint8_t> halveRgba(const std::vector<std::uint8_t>& pixels, int width, int height);
