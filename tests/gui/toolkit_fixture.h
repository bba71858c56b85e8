#pragma once

#include <memory>
#include <string>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "gui/button_manager.h"
#include "platform/headless_engine.h"

// A headless engine with a toolkit on an 800 x 600 screen whose fades run on a hand-driven clock.
class ToolkitTest : public testing::Test
{
  protected:
    ToolkitTest()
        : manager(std::make_unique<buttonGUI::buttonManager>(
              "darkInput", buttonGUI::TextScheme("PimFont", 20, Ogre::ColourValue(0, 1, 0, 1)), nullptr,
              "Cam0", nullptr))
    {
        auto manual = std::make_unique<buttonGUI::ManualClock>();
        clock = manual.get();
        manager->setClock(std::move(manual));
        manager->setScreenSize(800, 600);
    }

    // One technique, pass and texture unit, as the game's overlay materials have. The texture is never
    // loaded: without a render system the engine cannot.
    static void makeMaterial(const std::string& name)
    {
        Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().create(name, "General");
        material->getTechnique(0)->getPass(0)->createTextureUnitState(name + ".png");
    }

    // The manual alpha that setAlpha gave the material, 1 when it never ran on it.
    static float alphaOf(const std::string& materialName)
    {
        const Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(materialName);
        const Ogre::LayerBlendModeEx& mode =
            material->getTechnique(0)->getPass(0)->getTextureUnitState(0)->getAlphaBlendMode();
        return mode.source1 == Ogre::LBS_MANUAL ? mode.alphaArg1 : 1.0f;
    }

    platform::HeadlessEngine engine;
    std::unique_ptr<buttonGUI::buttonManager> manager;
    buttonGUI::ManualClock* clock = nullptr;
};
