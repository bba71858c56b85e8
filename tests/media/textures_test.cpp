// The generated textures against how the materials sample them: a texture seen at many sizes brings its
// whole chain of smaller levels, so the engine never makes one at load time (the software GL driver
// compiles a program for that, which a level load or the start of the game would wait for); a picture drawn
// at its own size brings none.

#include <algorithm>
#include <set>
#include <string>

#include "media_fixture.h"

namespace
{
using GeneratedTextures = GeneratedMedia;

std::size_t fullChain(std::size_t width, std::size_t height)
{
    std::size_t levels = 0;
    for (std::size_t size = std::max(width, height); size > 1; size /= 2)
        ++levels;
    return levels;
}
} // namespace

TEST_F(GeneratedTextures, EveryTextureCarriesExactlyTheSmallerLevelsItsMaterialsSample)
{
    std::set<std::string> checked;
    std::size_t withChain = 0;
    auto materials = Ogre::MaterialManager::getSingleton().getResourceIterator();
    while (materials.hasMoreElements())
    {
        const Ogre::MaterialPtr material = Ogre::static_pointer_cast<Ogre::Material>(materials.getNext());
        for (const Ogre::Technique* technique : material->getTechniques())
            for (const Ogre::Pass* pass : technique->getPasses())
                for (const Ogre::TextureUnitState* unit : pass->getTextureUnitStates())
                {
                    const std::string& texture = unit->getTextureName();
                    if (texture.empty() || !inArchive(texture) || !checked.insert(texture).second)
                        continue;
                    SCOPED_TRACE(material->getName() + " samples " + texture);
                    Ogre::Image image;
                    image.load(texture, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
                    const bool sampledSmaller = unit->getNumMipmaps() != 0;
                    EXPECT_EQ(image.getNumMipmaps(),
                              sampledSmaller ? fullChain(image.getWidth(), image.getHeight()) : 0);
                    withChain += sampledSmaller;
                }
    }
    // The skies, overlays and models are all there, and most model textures bring a chain.
    EXPECT_TRUE(checked.count("cel.dds") && checked.count("gui_PimLogo.dds") &&
                checked.count("Pimbear_tex.dds"));
    EXPECT_GT(withChain, 20u);
}

// A cloud is clear away from its puffs: a faint haze over the rest of its square would show the square's
// edges against the sky, and would have to be drawn.
TEST_F(GeneratedTextures, CloudsAreClearOutsideTheirPuffs)
{
    for (const char* texture : {"cloud1.dds", "cloud2.dds", "cloud3.dds"})
    {
        SCOPED_TRACE(texture);
        Ogre::Image image;
        image.load(texture, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
        std::size_t clear = 0, corners = 0;
        const std::size_t size = image.getWidth() / 16;
        for (std::size_t y = 0; y < image.getHeight(); ++y)
            for (std::size_t x = 0; x < image.getWidth(); ++x)
            {
                const bool isClear = image.getColourAt(x, y, 0).a == 0;
                clear += isClear;
                const bool corner =
                    (x < size || x >= image.getWidth() - size) && (y < size || y >= image.getHeight() - size);
                corners += corner && !isClear;
            }
        EXPECT_EQ(corners, 0u);
        EXPECT_GT(clear, image.getWidth() * image.getHeight() / 3);
    }
}
