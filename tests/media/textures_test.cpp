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
