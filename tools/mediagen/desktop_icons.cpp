#include "desktop_icons.h"

#include <filesystem>

#include "gui_style.h"
#include "png_file.h"
#include "raster.h"

namespace
{
const int iconSizes[] = {16, 32, 48, 64, 128, 256, 512};

// The face with its ears spans 1.1 face half-widths each way from its centre, plus an outline at least 1.5
// pixels wide, and its soft shadow a little more below: a margin of a twentieth of the size is left around
// it, as icon themes expect.
Raster drawIcon(int size)
{
    Raster picture(size, size);
    const float s = static_cast<float>(size);
    gui::drawBearFace(picture, s * 0.5f, s * 0.5f, (s * 0.45f - 1.5f) / 1.1f, false);
    return picture;
}
} // namespace

void writeDesktopIcons(const std::string& folder, const std::string& iconName)
{
    for (const int size : iconSizes)
    {
        const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path apps = std::filesystem::path(folder) / "hicolor" / sizeName / "apps";
        std::filesystem::create_directories(apps);
        writePng(drawIcon(size), (apps / (iconName + ".png")).string());
    }
}
