#pragma once

// The generated media.icl as the game's resource system finds it (headless, one engine per suite), and the
// checklist of every resource the game names (asset_checklist.tsv: type, name, where, R/S/O).

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "platform/headless_engine.h"
#include "support/test_paths.h"

struct ChecklistEntry
{
    std::string type;
    std::string name;
    std::string need; // R required, S suggested name, O optional
};

// Entries of one type, or of every type when `type` is empty.
inline std::vector<ChecklistEntry> readChecklist(const std::string& type = "")
{
    std::ifstream in(testing_paths::sourceDir() + "/tests/media/asset_checklist.tsv");
    std::vector<ChecklistEntry> entries;
    std::string line, where;
    while (std::getline(in, line))
    {
        std::istringstream fields(line);
        ChecklistEntry entry;
        if (line.empty() || line[0] == '#' || !std::getline(fields, entry.type, '\t') ||
            !std::getline(fields, entry.name, '\t') || !std::getline(fields, where, '\t'))
            continue;
        std::getline(fields, entry.need);
        if (type.empty() || entry.type == type)
            entries.push_back(entry);
    }
    return entries;
}

class GeneratedMedia : public testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        engine = std::make_unique<platform::HeadlessEngine>();
        engine->addResourceLocation(testing_paths::gameDir() + "/media.icl", "Zip");
        engine->initialiseResources();
    }
    static void TearDownTestSuite() { engine.reset(); }

    static bool inArchive(const std::string& name)
    {
        return Ogre::ResourceGroupManager::getSingleton().resourceExists(
            Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, name);
    }
    static Ogre::MeshPtr mesh(const std::string& name)
    {
        return Ogre::MeshManager::getSingleton().load(
            name, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
    }
    static Ogre::MaterialPtr material(const std::string& name)
    {
        return Ogre::MaterialManager::getSingleton().getByName(name);
    }
    // The decoded picture of the material's first texture unit.
    static Ogre::Image picture(const std::string& materialName)
    {
        Ogre::Image image;
        image.load(
            material(materialName)->getTechnique(0)->getPass(0)->getTextureUnitState(0)->getTextureName(),
            Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
        return image;
    }

    static inline std::unique_ptr<platform::HeadlessEngine> engine;
};
