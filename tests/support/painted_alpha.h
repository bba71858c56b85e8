#pragma once

// Pictures for the cut-out and outline tests, painted texel by texel from a function of the position.

#include <functional>

#include "decor/picture_cutout.h"

AlphaGrid paintAlpha(int width, int height, const std::function<int(int x, int y)>& alpha);
