#include <Ogre.h>

#include <gtest/gtest.h>

#include "platform/headless_engine.h"
#include "support/stand_in_media.h"

namespace
{

// The world tests rely on these assets carrying the names, lengths and bounds of the media contract,
// whether they come from media.icl or from the stand-ins.
TEST(StandInMediaTest, WorldAssetsCarryTheirAnimationsAndBounds)
{
    platform::HeadlessEngine engine;
    standin::provideWorldMedia(engine);
    Ogre::SceneManager& scene = engine.sceneManager();

    Ogre::Entity* bear = scene.createEntity("Pimbear.mesh");
    for (const char* name : {"respirar", "correr", "saltar", "caure", "rebre_front", "win", "lose"})
        EXPECT_GT(bear->getAnimationState(name)->getLength(), 0.0f) << name;
    const Ogre::Vector3 size = bear->getBoundingBox().getSize();
    EXPECT_NEAR(size.y * 0.07f, 7.5f, 1.0f);

    for (const char* mesh : {"globus1.mesh", "globus2.mesh"})
    {
        Ogre::Entity* balloon = scene.createEntity(mesh);
        EXPECT_GT(balloon->getAnimationState("sortir")->getLength(), 0.0f);
        EXPECT_GT(balloon->getAnimationState("repos")->getLength(), 0.0f);
    }
    for (const char* mesh : {"checkpoint.mesh", "box.mesh", "terra.mesh", "tronc_20.mesh", "tronc_50.mesh",
                             "eix.mesh", "eix_mov.mesh", "rail.mesh", "extrem.mesh", "meteor.mesh"})
        EXPECT_NO_THROW(scene.createEntity(mesh)) << mesh;
    EXPECT_NEAR(scene.createEntity("tronc_30.mesh")->getBoundingBox().getSize().x, 30.0f, 0.01f);
    for (const char* material :
         {"Pimbear_tex", "PimbearPanda_tex", "globus1", "globus2", "tronc", "tronc0", "tronc1", "tronc2",
          "green_meteor_tex", "platf_particle1b", "platf_particle2b"})
        EXPECT_TRUE(Ogre::MaterialManager::getSingleton().resourceExists(material)) << material;
    EXPECT_NO_THROW(scene.createParticleSystem("smoke", "meteor_smoke"));
}

} // namespace
