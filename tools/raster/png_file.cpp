#include "png_file.h"

#include <stdexcept>
#include <vector>

#include <png.h>

void writePng(const Raster& picture, const std::string& path)
{
    const std::vector<std::uint8_t> pixels = picture.bledRgba();
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width());
    image.height = static_cast<png_uint_32>(picture.height());
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr))
        throw std::runtime_error("cannot write " + path + ": " + image.message);
}
