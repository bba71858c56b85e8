#include "gui_media.h"

#include <map>
#include <stdexcept>
#include <vector>

#include "gui_pictures.h"
#include "media_output.h"

namespace
{
// The lettering of every label, embedded as the TrueType source of "PimFont".
const char* const fontFileName = "DejaVuSans-Bold.ttf";

// Texture file for a material: "gui_" plus the name with dots as underscores. "BLANK" differs from "blank"
// only in case, which some archives fold, so it gets a name of its own.
std::string textureFileFor(const std::string& material)
{
    if (material == "BLANK")
        return "gui_cursor_clear.dds";
    std::string stem = material;
    for (char& c : stem)
        if (c == '.')
            c = '_';
    return "gui_" + stem + ".dds";
}

// Where a picture is shown: as an overlay, drawn over everything, or in the world as a billboard, which
// keeps the depth test so that the level's planks and meteors pass in front of it.
enum class Layer
{
    Overlay,
    World
};

// An unlit, alpha-blended material with one clamped texture. Overlays take no mipmaps: the toolkit reads the
// pixel size of this one texture unit and fades it through its alpha operation.
std::string materialScript(const std::string& material, const std::string& texture, Layer layer)
{
    const bool overlay = layer == Layer::Overlay;
    return "material \"" + material +
           "\"\n"
           "{\n"
           "    technique\n"
           "    {\n"
           "        pass\n"
           "        {\n"
           "            lighting off\n" +
           (overlay ? "            depth_check off\n" : "") +
           "            depth_write off\n"
           "            scene_blend alpha_blend\n"
           "\n"
           "            texture_unit\n"
           "            {\n"
           "                texture " +
           texture + (overlay ? " 2d 0\n" : "\n") + "                tex_address_mode clamp\n" +
           (overlay ? "                filtering linear linear none\n" : "") +
           "            }\n"
           "        }\n"
           "    }\n"
           "}\n\n";
}

// Collects materials in the order they are added (a fixed order, so the script is the same every run).
class Sheet : public gui::OverlaySheet
{
  public:
    void add(const std::string& material, const Raster& picture) override
    {
        const std::string texture = textureFileFor(material);
        define(material, texture);
        mFiles.emplace_back(texture, picture.encodeDds());
    }

    void addAlias(const std::string& material, const std::string& sameAs) override
    {
        const auto original = mTextureOf.find(sameAs);
        if (original == mTextureOf.end())
            throw std::logic_error("mediagen: " + material + " copies the unknown material " + sameAs);
        define(material, original->second);
    }

    void writeTo(MediaOutput& output)
    {
        output.addArchiveFile("gui_overlays.material", mScript);
        for (auto& [name, bytes] : mFiles)
            output.addArchiveFile(name, std::move(bytes));
    }

  private:
    void define(const std::string& material, const std::string& texture)
    {
        if (!mTextureOf.emplace(material, texture).second)
            throw std::logic_error("mediagen: two overlay materials named " + material);
        mScript += materialScript(material, texture, Layer::Overlay);
    }

    std::string mScript;
    std::map<std::string, std::string> mTextureOf;
    std::vector<std::pair<std::string, std::string>> mFiles;
};
} // namespace

namespace gui
{
void addButton(OverlaySheet& sheet, const std::string& material, const std::function<Raster(Look)>& draw)
{
    sheet.add(material, draw(Look::Off));
    sheet.addAlias(material + ".mouseOff", material);
    sheet.add(material + ".mouseOver", draw(Look::Over));
    sheet.add(material + ".onClick", draw(Look::Pressed));
}
} // namespace gui

void generateGuiMedia(MediaOutput& output)
{
    FontFace font(readDejaVuFont(fontFileName));
    Sheet sheet;
    gui::addMenuPictures(sheet, font);
    gui::addHudPictures(sheet, font);
    gui::addPanelPictures(sheet, font);
    sheet.writeTo(output);

    output.addArchiveFile("deco_boss_hint.dds", gui::bossHintSign(font).encodeDds(Mipmaps::full));
    output.addArchiveFile("level_signs.material",
                          materialScript("deco_boss_hint", "deco_boss_hint.dds", Layer::World));

    // The toolkit's text scheme names this font (20 px high); the game draws no text with it.
    output.addArchiveFile("pim_font.fontdef", std::string("font PimFont\n"
                                                          "{\n"
                                                          "    type truetype\n"
                                                          "    source ") +
                                                  fontFileName +
                                                  "\n"
                                                  "    size 20\n"
                                                  "    resolution 96\n"
                                                  "    code_points 32-126\n"
                                                  "}\n");
    output.addArchiveFile(fontFileName, font.bytes());
}
