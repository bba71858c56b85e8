// The drawn sky in the real application's window under the test display, with the game's media: whatever
// the view clears, the depth left by the last frame never hides what this frame draws before the sky.

#include <Ogre.h>
#include <OgreManualObject.h>

#include <gtest/gtest.h>

#include "app/quobbel.h"
#include "core/access_points.h"
#include "decor/fons.h"
#include "support/game_process.h"
#include "support/window_pixels.h"
#include "support/x11_window.h"

namespace
{
// A red square in clip space over the view's middle, at depth `z` (-1 near, 1 far).
Ogre::ManualObject* addSquare(float z)
{
    auto material = Ogre::MaterialManager::getSingleton().getByName("test_red_square");
    if (!material)
    {
        material = Ogre::MaterialManager::getSingleton().create("test_red_square", "General");
        material->getTechnique(0)->getPass(0)->setLightingEnabled(false);
    }
    auto* square = theSceneManager->createManualObject();
    square->setUseIdentityProjection(true);
    square->setUseIdentityView(true);
    square->begin(material, Ogre::RenderOperation::OT_TRIANGLE_LIST);
    for (const float y : {0.5f, -0.5f})
        for (const float x : {-0.5f, 0.5f})
        {
            square->position(x, y, z);
            square->colour(Ogre::ColourValue::Red);
        }
    square->quad(0, 2, 3, 1);
    square->end();
    Ogre::AxisAlignedBox everywhere;
    everywhere.setInfinite();
    square->setBoundingBox(everywhere);
    theSceneManager->getRootSceneNode()->attachObject(square);
    return square;
}
} // namespace

// A square drawn near the camera in one frame and farther away in the next still shows in the next, and
// the sky shows around it: the depth buffer starts every frame at the far plane.
TEST(SkyOnScreen, WhatIsDrawnAfterTheSkyShowsWhereANearerThingStoodInTheLastFrame)
{
    ASSERT_TRUE(displayAvailable()) << "run the tests under Xvfb (scripts/test.sh)";
    GameDirCopy dir;
    dir.write("Quobbel.cfg", "Fullscreen = false\nWindowResolution = 320x240\nVSync = false\n");
    Quobbel game(dir.path() + "/");
    theViewport->setOverlaysEnabled(false);
    new Fons;

    Ogre::ManualObject* near = addSquare(-0.5f);
    Ogre::Root::getSingleton().renderOneFrame();
    EXPECT_TRUE(windowShows(160, 120, Ogre::ColourValue::Red));
    theSceneManager->destroyManualObject(near);
    addSquare(0.5f);
    Ogre::Root::getSingleton().renderOneFrame();
    EXPECT_TRUE(windowShows(160, 120, Ogre::ColourValue::Red)) << "hidden by the last frame's depth";
    EXPECT_FALSE(windowShows(10, 10, Ogre::ColourValue::Red)) << "the sky around the square";

    Decoracio::deleteAll();
}
