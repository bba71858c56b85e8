// Decorations in a real headless engine with the game's media.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <Ogre.h>
#include <OgreManualObject.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/access_points.h"
#include "core/camera_rig.h"
#include "decor/cloud_emitter.h"
#include "decor/fons.h"
#include "decor/static_decor.h"
#include "platform/headless_engine.h"
#include "support/stand_in_media.h"

namespace
{
class DecorationTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        writeHalfOpaquePicture(pictureDir / "wide_picture.png", 64, 32);
        writeTopLeftPicture(pictureDir / "corner_picture.png", 32);
        engine.addResourceLocation(pictureDir.string(), "FileSystem");
        standin::provideWorldMedia(engine);
        auto wide = Ogre::MaterialManager::getSingleton().create("test_wide_picture", "General");
        Ogre::Pass* pass = wide->getTechnique(0)->getPass(0);
        pass->setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
        pass->setDepthWriteEnabled(false);
        pass->createTextureUnitState("wide_picture.png");
        auto corner = Ogre::MaterialManager::getSingleton().create("test_corner_picture", "General");
        corner->getTechnique(0)->getPass(0)->createTextureUnitState("corner_picture.png");

        theSceneManager = &engine.sceneManager();
        theCamera = theSceneManager->createCamera("Cam0");
        theCamera->setProjectionType(Ogre::PT_ORTHOGRAPHIC);
        theCamera->setAspectRatio(4.0f / 3.0f);
        theCamera->setOrthoWindowWidth(126);
        cameraNode().setPosition(0, 0, -200);
    }

    void TearDown() override
    {
        Decoracio::deleteAll();
        theSceneManager = nullptr;
        theCamera = nullptr;
        std::filesystem::remove_all(pictureDir);
    }

    // Clear in the top half, opaque in the bottom half.
    static void writeHalfOpaquePicture(const std::filesystem::path& path, unsigned width, unsigned height)
    {
        std::filesystem::create_directories(path.parent_path());
        Ogre::Image image(Ogre::PF_BYTE_RGBA, width, height);
        for (unsigned y = 0; y < height; ++y)
            for (unsigned x = 0; x < width; ++x)
                image.setColourAt(Ogre::ColourValue(0.3f, 0.6f, 0.3f, y < height / 2 ? 0.0f : 1.0f), x, y, 0);
        image.save(path.string());
    }

    // Visible only in its top left quarter.
    static void writeTopLeftPicture(const std::filesystem::path& path, unsigned size)
    {
        Ogre::Image image(Ogre::PF_BYTE_RGBA, size, size);
        for (unsigned y = 0; y < size; ++y)
            for (unsigned x = 0; x < size; ++x)
                image.setColourAt(Ogre::ColourValue(1, 1, 1, x < size / 2 && y < size / 2 ? 1.0f : 0.0f), x,
                                  y, 0);
        image.save(path.string());
    }

    // Where a node is in the world, with the scene graph brought up to date as rendering does.
    static float worldX(Ogre::SceneNode& node)
    {
        theSceneManager->getRootSceneNode()->_update(true, false);
        return node._getDerivedPosition().x;
    }

    // Every node that carries an entity, in the order of the entities' names.
    std::vector<Ogre::SceneNode*> entityNodes()
    {
        std::vector<Ogre::SceneNode*> nodes;
        for (const auto& entry : theSceneManager->getMovableObjects("Entity"))
            nodes.push_back(entry.second->getParentSceneNode());
        return nodes;
    }

    // One folder per process: ctest runs these tests side by side, and each removes its folder at the end.
    std::filesystem::path pictureDir =
        std::filesystem::temp_directory_path() / ("quobbel_decor_test_" + std::to_string(getpid()));
    platform::HeadlessEngine engine;
};
} // namespace

TEST_F(DecorationTest, ACloudRowFillsItsLengthAndAFarCloudReturnsOnlyOutOfSight)
{
    auto* row = new CloudEmitter({300, -7, -70}, 200, "cloud1", 0.4, 0.8, 50.0);
    std::vector<float> xs;
    for (Ogre::SceneNode* cloud : entityNodes())
        xs.push_back(worldX(*cloud));
    std::sort(xs.begin(), xs.end());
    EXPECT_EQ(xs, (std::vector<float>{140, 180, 220, 260, 300}));

    // The last cloud drifts at 0.8 units per second. Past the far end (x 100) it drifts on while the
    // camera could see it jump back to the start.
    Ogre::SceneNode* last = entityNodes().front();
    for (Ogre::SceneNode* cloud : entityNodes())
        if (worldX(*cloud) < worldX(*last))
            last = cloud;
    cameraNode().setPosition(90, 0, -200);
    row->update({}, 60);
    EXPECT_FLOAT_EQ(worldX(*last), 92);
    row->update({}, 0.5);
    EXPECT_FLOAT_EQ(worldX(*last), 91.6f);
    cameraNode().setPosition(300, 0, -200);
    row->update({}, 0.5);
    EXPECT_FLOAT_EQ(worldX(*last), 300);
}

// A cloud is drawn only over the visible quarter of its picture, where that quarter lies on the whole
// picture: top left as the camera sees it, which, looking along +z, is towards +x.
TEST_F(DecorationTest, ACloudCoversOnlyTheVisiblePartOfItsPictureInItsPlace)
{
    cameraNode().lookAt(Ogre::Vector3(0, 0, 0), Ogre::Node::TS_WORLD);
    new CloudEmitter({300, -7, -70}, 50, "test_corner_picture", 1, 1, 50.0);
    const auto& entities = theSceneManager->getMovableObjects("Entity");
    ASSERT_EQ(entities.size(), 1u);
    auto* cloud = static_cast<Ogre::Entity*>(entities.begin()->second);
    cloud->getParentSceneNode()->setPosition(0, 0, 0);
    theSceneManager->getRootSceneNode()->_update(true, false);
    const Ogre::AxisAlignedBox drawn = cloud->getWorldBoundingBox(true);
    // The engine pads a mesh's bounds by 1%.
    EXPECT_TRUE(drawn.getMinimum().positionEquals(Ogre::Vector3(0, 0, 0), 1)) << drawn;
    EXPECT_TRUE(drawn.getMaximum().positionEquals(Ogre::Vector3(50, 50, 0), 1)) << drawn;
}

// The scale comes from the picture's own size (64 x 32), read through its material. The opaque half is
// drawn before the sky, which must not cover it; its top row, next to clear texels, is blended; the clear
// half has no geometry at all.
TEST_F(DecorationTest, APictureIsScaledToItsOwnProportionsAndItsOpaquePartComesBeforeTheSky)
{
    cameraNode().lookAt(Ogre::Vector3(0, 0, 0), Ogre::Node::TS_WORLD);
    new Static2dDecor({1, 2, 200}, 30, "test_wide_picture");
    Ogre::AxisAlignedBox drawn;
    int opaque = 0;
    for (const auto& entry : theSceneManager->getMovableObjects("Entity"))
    {
        const auto* part = static_cast<const Ogre::Entity*>(entry.second);
        EXPECT_EQ(part->getParentSceneNode()->getScale(), Ogre::Vector3(30, 15, 30));
        EXPECT_EQ(part->getParentSceneNode()->getOrientation(), cameraNode().getOrientation());
        const bool blended = part->getSubEntity(0)->getMaterial()->isTransparent();
        EXPECT_EQ(part->getRenderQueueGroup() < Fons::skyQueue, !blended);
        opaque += blended ? 0 : 1;
        drawn.merge(part->getMesh()->getBounds());
    }
    EXPECT_EQ(opaque, 1);
    // In the frame of a default billboard, 100 units square; the engine pads a mesh's bounds by 1%.
    EXPECT_NEAR(drawn.getMaximum().y, 0, 1);
    EXPECT_NEAR(drawn.getMinimum().y, -50, 1);
    EXPECT_NEAR(drawn.getSize().x, 100, 2);
}

// Clouds and backdrops draw through copies of their pictures' materials with cheaper filtering. A material
// whose script sets addressing or filtering has a sampler of its own, and the copies must not change it: the
// same pictures are drawn elsewhere (far clouds, meteor clouds) through their own materials.
TEST_F(DecorationTest, CloudRowsAndCutOutBackdropsLeaveTheirPicturesOwnFilteringAlone)
{
    const auto unit = [](const char* material)
    {
        return Ogre::MaterialManager::getSingleton()
            .getByName(material)
            ->getTechnique(0)
            ->getPass(0)
            ->getTextureUnitState(0);
    };
    const auto filtering = [&](const char* material)
    {
        const Ogre::TextureUnitState* texture = unit(material);
        return std::vector<Ogre::FilterOptions>{texture->getTextureFiltering(Ogre::FT_MIN),
                                                texture->getTextureFiltering(Ogre::FT_MAG),
                                                texture->getTextureFiltering(Ogre::FT_MIP)};
    };
    for (const char* material : {"test_corner_picture", "test_wide_picture"})
    {
        unit(material)->setTextureAddressingMode(Ogre::TextureUnitState::TAM_CLAMP);
        unit(material)->setTextureFiltering(Ogre::TFO_TRILINEAR);
    }
    const auto corner = filtering("test_corner_picture");
    const auto wide = filtering("test_wide_picture");

    new CloudEmitter({300, -7, -70}, 50, "test_corner_picture", 1, 1, 50.0);
    new Static2dDecor({1, 2, 200}, 30, "test_wide_picture");
    int copies = 0;
    for (const char* kind : {"BillboardSet", "Entity"})
        for (const auto& entry : theSceneManager->getMovableObjects(kind))
        {
            const Ogre::MaterialPtr drawn =
                kind == std::string("Entity")
                    ? static_cast<Ogre::Entity*>(entry.second)->getSubEntity(0)->getMaterial()
                    : static_cast<Ogre::BillboardSet*>(entry.second)->getMaterial();
            EXPECT_EQ(
                drawn->getTechnique(0)->getPass(0)->getTextureUnitState(0)->getTextureFiltering(Ogre::FT_MIP),
                Ogre::FO_NONE)
                << drawn->getName();
            ++copies;
        }
    EXPECT_EQ(copies, 3) << "one cloud, an opaque and a blended strip mesh";
    EXPECT_EQ(filtering("test_corner_picture"), corner);
    EXPECT_EQ(filtering("test_wide_picture"), wide);
}

TEST_F(DecorationTest, TheSkyPicksItsPictureByTheCamerasAspectAndIsNeverCulled)
{
    const auto sky = []
    {
        return static_cast<Ogre::ManualObject*>(
            theSceneManager->getSceneNode("Background")->getAttachedObject(0));
    };
    theCamera->setAspectRatio(1.6f);
    new Fons;
    EXPECT_EQ(sky()->getSections().front()->getMaterialName(), "wcel");
    EXPECT_TRUE(sky()->getBoundingBox().isInfinite());
    Decoracio::deleteAll();
    theSceneManager->clearScene();

    theCamera->setAspectRatio(4.0f / 3.0f);
    new Fons;
    EXPECT_EQ(sky()->getSections().front()->getMaterialName(), "cel");
}

// Whatever the media say, the sky lies on the far plane after the backdrops. Behind an opaque backdrop it
// tests depth and leaves the depth buffer as it is; with nothing behind it, it covers the view whatever
// the depth buffer holds and writes the far plane's depth for what comes after.
TEST_F(DecorationTest, TheSkyLiesOnTheFarPlaneAfterTheBackdropsAndTestsDepthOnlyBehindOpaqueOnes)
{
    const auto skyPass = []
    {
        auto* sky = static_cast<Ogre::ManualObject*>(
            theSceneManager->getSceneNode("Background")->getAttachedObject(0));
        EXPECT_GT(sky->getRenderQueueGroup(), Fons::backdropQueue);
        EXPECT_LT(sky->getRenderQueueGroup(), Ogre::RENDER_QUEUE_MAIN);
        EXPECT_TRUE(sky->getUseIdentityProjection());
        return sky->getSections().front()->getMaterial()->getTechnique(0)->getPass(0);
    };
    new Fons;
    const Ogre::Pass* alone = skyPass();
    EXPECT_TRUE(!alone->getDepthCheckEnabled() || alone->getDepthFunction() == Ogre::CMPF_ALWAYS_PASS)
        << "nothing lies behind it";
    EXPECT_TRUE(alone->getDepthCheckEnabled() && alone->getDepthWriteEnabled());
    Decoracio::deleteAll();
    theSceneManager->clearScene();

    new Static2dDecor({1, 2, 200}, 30, "test_wide_picture");
    new Fons;
    const Ogre::Pass* behind = skyPass();
    EXPECT_TRUE(behind->getDepthCheckEnabled()) << "the picture's opaque half is drawn before it";
    EXPECT_NE(behind->getDepthFunction(), Ogre::CMPF_ALWAYS_PASS);
    EXPECT_FALSE(behind->getDepthWriteEnabled());
}
