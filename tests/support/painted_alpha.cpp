#include "support/painted_alpha.h"

#include <cstdint>

AlphaGrid paintAlpha(int width, int height, const std::function<int(int x, int y)>& alpha)
{
    AlphaGrid picture{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.alpha.push_back(static_cast<std::uint8_t>(alpha(x, y)));
    return picture;
}
