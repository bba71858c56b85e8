// Decorations in a real headless engine, with stand-in meshes where the real media is not built.

#include <cstdio>
#include <filesystem>
#include <string>

#include <Ogre.h>
#include <OgreRectangle2D.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/access_points.h"
#include "core/camera_rig.h"
#include "decor/bird_emitter.h"
#include "decor/butterfly.h"
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
        standin::makeAnimatedMesh("butterfly.mesh", {-1, -1, -1, 1, 1, 1}, "butterfly", {{"moure", 0.8f}});
        standin::makeAnimatedMesh("bird.mesh", {-1, -1, -1, 1, 1, 1}, "bird", {{"moure", 1.0f}});
        for (const char* material : {"butterfly2", "cel", "wcel", "cloud1"})
            standin::makeMaterial(material);
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

    // Every node that carries a billboard set, in creation order of the sets' names.
    std::vector<Ogre::SceneNode*> billboardNodes()
    {
        std::vector<Ogre::SceneNode*> nodes;
        for (const auto& entry : theSceneManager->getMovableObjects("BillboardSet"))
            nodes.push_back(entry.second->getParentSceneNode());
        return nodes;
    }

    void updateAll(double seconds, const std::vector<Ogre::Vector3>& players = {})
    {
        for (Decoracio* decoration : Decoracio::instances())
            decoration->update(players, seconds);
    }

    // One folder per process: ctest runs these tests side by side, and each removes its folder at the end.
    std::filesystem::path pictureDir =
        std::filesystem::temp_directory_path() / ("quobbel_decor_test_" + std::to_string(getpid()));
    platform::HeadlessEngine engine;
};
} // namespace

TEST_F(DecorationTest, ACloudRowFillsItsLengthEvenWhenStartAndGoalMeet)
{
    new CloudEmitter({300, -7, -90}, 200, "cloud1", 0.4, 1.0, 25.0);
    std::vector<Ogre::SceneNode*> row = billboardNodes();
    ASSERT_EQ(row.size(), 8u);
    Decoracio::deleteAll();
    theSceneManager->clearScene();

    new CloudEmitter({300, -7, -70}, 200, "cloud1", 0.4, 0.8, 50.0);
    row = billboardNodes();
    ASSERT_EQ(row.size(), 5u);
    std::vector<float> xs;
    for (Ogre::SceneNode* cloud : row)
    {
        xs.push_back(cloud->getPosition().x);
        EXPECT_LE(cloud->getPosition().x, 300);
        EXPECT_GT(cloud->getPosition().x, 100);
    }
    std::sort(xs.begin(), xs.end());
    EXPECT_FLOAT_EQ(xs.front(), 300 - 4 * 200 / 5);
    EXPECT_FLOAT_EQ(xs.back(), 300);
}

TEST_F(DecorationTest, ACloudPastTheFarEndWaitsUntilTheCameraIsAwayBeforeReturning)
{
    new CloudEmitter({0, -7, -90}, 50, "cloud1", 0.4, 1.0, 50.0);
    ASSERT_EQ(billboardNodes().size(), 1u);
    Ogre::SceneNode* cloud = billboardNodes().front();
    cloud->setPosition(-51, -7, -90);
    cameraNode().setPosition(-60, 0, -200);
    updateAll(0.5);
    EXPECT_FLOAT_EQ(cloud->getPosition().x, -51.5f) << "drifts on while the camera could see it jump";

    cameraNode().setPosition(60, 0, -200);
    updateAll(0.5);
    EXPECT_EQ(cloud->getPosition(), Ogre::Vector3(0, -7, -90));
}

TEST_F(DecorationTest, BirdsSetOffOnlyOnceTheSpawnTimerIsBelowZeroAndOneAtATime)
{
    auto* birds = new BirdEmitter(5.0);
    std::vector<Ogre::SceneNode*> nodes;
    for (const auto& entry : theSceneManager->getMovableObjects("Entity"))
        nodes.push_back(entry.second->getParentSceneNode());
    ASSERT_EQ(nodes.size(), 2u);
    auto visibleBirds = [&]
    {
        int visible = 0;
        for (Ogre::SceneNode* node : nodes)
            visible += node->getAttachedObject(0)->getVisible();
        return visible;
    };
    // Far outside the view, so every bird could start, but the timer must first fall below zero.
    cameraNode().setPosition(5000, 0, -200);
    birds->update({}, 5.0);
    EXPECT_EQ(visibleBirds(), 0) << "a timer at exactly zero starts nothing";
    birds->update({}, 0.01);
    EXPECT_EQ(visibleBirds(), 1);
    birds->update({}, 0.01);
    EXPECT_EQ(visibleBirds(), 1) << "the next bird waits a whole interval";
    const Ogre::Vector3 start =
        nodes[0]->getAttachedObject(0)->getVisible() ? nodes[0]->getPosition() : nodes[1]->getPosition();
    EXPECT_GT(std::fabs(start.x - 5000), 63.0f) << "starts beyond the edge of the view";
    EXPECT_GE(start.z, 100.0f) << "far behind the level";
}

TEST_F(DecorationTest, AButterflyFluttersOnceWhenAPlayerPassesAndAgainOnlyAfterItEnds)
{
    auto* butterfly = new Butterfly({10, 0, -40});
    Ogre::Entity* entity =
        static_cast<Ogre::Entity*>(theSceneManager->getMovableObjects("Entity").begin()->second);
    Ogre::AnimationState* flight = entity->getAnimationState("moure");
    EXPECT_TRUE(flight->hasEnded()) << "rests until somebody comes";
    EXPECT_FALSE(flight->getLoop());

    butterfly->update({{30, 0, -10}}, 0.016);
    EXPECT_TRUE(flight->hasEnded()) << "a player 20 units away is too far";
    butterfly->update({{30, 0, -10}, {12, 0, -20}}, 0.016);
    EXPECT_FLOAT_EQ(flight->getTimePosition(), 0) << "the second player is close enough";
    butterfly->update({{12, 0, -20}}, 0.1);
    EXPECT_GT(flight->getTimePosition(), 0) << "no restart while the flutter plays";
    for (int frame = 0; frame < 200 && !flight->hasEnded(); ++frame)
        butterfly->update({}, 0.016);
    ASSERT_TRUE(flight->hasEnded());
    butterfly->update({{12, 0, -20}}, 0.016);
    EXPECT_FLOAT_EQ(flight->getTimePosition(), 0);
}

TEST_F(DecorationTest, APictureIsScaledToItsOwnProportions)
{
    new Static2dDecor({1, 2, 200}, 30, "test_wide_picture");
    Ogre::SceneNode* node = billboardNodes().front();
    EXPECT_EQ(node->getScale(), Ogre::Vector3(30, 15, 30));
    EXPECT_EQ(node->getPosition(), Ogre::Vector3(1, 2, 200));
}

TEST_F(DecorationTest, TheSkyPicksItsPictureByTheCamerasAspectAndIsNeverCulled)
{
    theCamera->setAspectRatio(1.6f);
    new Fons;
    Ogre::SceneNode* background = theSceneManager->getSceneNode("Background");
    auto* sky = static_cast<Ogre::Rectangle2D*>(background->getAttachedObject(0));
    EXPECT_EQ(sky->getMaterial()->getName(), "wcel");
    EXPECT_TRUE(sky->getBoundingBox().isInfinite());
    EXPECT_EQ(sky->getRenderQueueGroup(), Ogre::RENDER_QUEUE_BACKGROUND);
    Decoracio::deleteAll();
    theSceneManager->clearScene();

    theCamera->setAspectRatio(4.0f / 3.0f);
    new Fons;
    sky = static_cast<Ogre::Rectangle2D*>(theSceneManager->getSceneNode("Background")->getAttachedObject(0));
    EXPECT_EQ(sky->getMaterial()->getName(), "cel");
}
