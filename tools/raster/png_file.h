#pragma once

#include <string>

#include "raster.h"

// Writes picture as an 8-bit RGBA PNG file through libpng (the engine's image codec has buffers the address
// sanitizer rejects), transparent pixels bled as for textures. Throws std::runtime_error when it cannot.
void writePng(const Raster& picture, const std::string& path);
