#pragma once

#include <string>

#include "raster.h"

// Writes picture as an 8-bit RGBA PNG file through libpng. Throws std::runtime_error when it cannot.
void writePng(const Raster& picture, const std::string& path);
