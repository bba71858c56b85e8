#pragma once

// A headless engine with the world media (real or stand-in) and a real physics world, published through
// the access points as the application does, for tests of the objects a level is made of. Frames run at
// 60 per second through the game's own frame of play (runPlayFrame).

#include <cmath>
#include <memory>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "core/access_points.h"
#include "platform/headless_engine.h"
#include "support/stand_in_media.h"
#include "world/enemic.h"
#include "world/physics.h"
#include "world/platform.h"
#include "world/play_frame.h"

class LevelObjectsTest : public ::testing::Test
{
  protected:
    static constexpr float frameTime = 1.0f / 60.0f;

    void SetUp() override
    {
        standin::provideWorldMedia(engine);
        theSceneManager = &engine.sceneManager();
        world.reset(physics::createWorld());
        thePhysicsWorld = world.get();
    }

    void TearDown() override
    {
        Platform::deleteAll();
        Enemic::deleteAll();
        theSceneManager->clearScene();
        world.reset();
        thePhysicsWorld = nullptr;
        theSceneManager = nullptr;
    }

    static int framesFor(float seconds) { return static_cast<int>(std::lround(seconds / frameTime)); }

    // One frame with stand-in feet for players 1 and 2 (either may be null): every platform asks feet1,
    // then feet2, who stands on it and follows that player's tilt; every enemy moves; the world steps.
    PlayFrameOutcome frame(b2Body* feet1 = nullptr, float tilt1 = 0.0f, b2Body* feet2 = nullptr,
                           float tilt2 = 0.0f)
    {
        PlayerTurn first;
        first.feet = feet1;
        first.tilt = tilt1;
        PlayerTurn second;
        second.feet = feet2;
        second.tilt = tilt2;
        return runPlayFrame(*world, {first, second}, frameTime);
    }

    // A body shaped like a player's feet: a circle of radius 2 with the player's filter.
    b2Body* makeFeet(float x, float y)
    {
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position.Set(x, y);
        def.allowSleep = false;
        def.fixedRotation = true;
        b2Body* feet = world->CreateBody(&def);
        physics::addCircle(*feet, 2.0f, {1.0f, 9999.0f, 0.0f});
        physics::setFilter(*feet, physics::playerFilter());
        return feet;
    }

    platform::HeadlessEngine engine;
    std::unique_ptr<b2World> world;
};
