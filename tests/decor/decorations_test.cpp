// Decorations in a real headless engine with the game's media.

#include <cstdio>
#include <filesystem>
#include <string>

#include <Ogre.h>
#include <OgreRectangle2D.h>
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
        writePicture(pictureDir / "wide_picture.png", 64, 32);
        engine.addResourceLocation(pictureDir.string(), "FileSystem");
        standin::provideWorldMedia(engine);
        auto wide = Ogre::MaterialManager::getSingleton().create("test_wide_picture", "General");
        wide->getTechnique(0)->getPass(0)->createTextureUnitState("wide_picture.png");

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

    static void writePicture(const std::filesystem::path& path, unsigned width, unsigned height)
    {
        std::filesystem::create_directories(path.parent_path());
        Ogre::Image image(Ogre::PF_BYTE_RGBA, width, height);
        image.setColourAt(Ogre::ColourValue::White, 0, 0, 0);
        image.save(path.string());
    }

    // Every node that carries a billboard set, in the order of the sets' names.
    // Where a node is in the world, with the scene graph brought up to date as rendering does.
    static float worldX(Ogre::SceneNode& node)
    {
        theSceneManager->getRootSceneNode()->_update(true, false);
        return node._getDerivedPosition().x;
    }

    std::vector<Ogre::SceneNode*> billboardNodes()
    {
        std::vector<Ogre::SceneNode*> nodes;
        for (const auto& entry : theSceneManager->getMovableObjects("BillboardSet"))
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
    for (Ogre::SceneNode* cloud : billboardNodes())
        xs.push_back(worldX(*cloud));
    std::sort(xs.begin(), xs.end());
    EXPECT_EQ(xs, (std::vector<float>{140, 180, 220, 260, 300}));

    // The last cloud drifts at 0.8 units per second. Past the far end (x 100) it drifts on while the
    // camera could see it jump back to the start.
    Ogre::SceneNode* last = billboardNodes().front();
    for (Ogre::SceneNode* cloud : billboardNodes())
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

// The scale comes from the picture's own size (64 x 32), read through its material.
TEST_F(DecorationTest, APictureIsScaledToItsOwnProportions)
{
    new Static2dDecor({1, 2, 200}, 30, "test_wide_picture");
    EXPECT_EQ(billboardNodes().front()->getScale(), Ogre::Vector3(30, 15, 30));
}

TEST_F(DecorationTest, TheSkyPicksItsPictureByTheCamerasAspectAndIsNeverCulled)
{
    theCamera->setAspectRatio(1.6f);
    new Fons;
    auto* sky =
        static_cast<Ogre::Rectangle2D*>(theSceneManager->getSceneNode("Background")->getAttachedObject(0));
    EXPECT_EQ(sky->getMaterial()->getName(), "wcel");
    EXPECT_TRUE(sky->getBoundingBox().isInfinite());
    Decoracio::deleteAll();
    theSceneManager->clearScene();

    theCamera->setAspectRatio(4.0f / 3.0f);
    new Fons;
    sky = static_cast<Ogre::Rectangle2D*>(theSceneManager->getSceneNode("Background")->getAttachedObject(0));
    EXPECT_EQ(sky->getMaterial()->getName(), "cel");
}
