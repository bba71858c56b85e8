// The generated media against the checklist of what the game names, and the 3D media against what the game
// relies on: every mesh loads with its skeleton and carries exactly the animations the game plays; timed
// clips fit the game's timers; the bounds match the physics conventions the game's code assumes.

#include <map>
#include <set>
#include <string>
#include <vector>

#include <OgreFont.h>
#include <OgreFontManager.h>
#include <OgreParticleSystem.h>
#include <OgreParticleSystemManager.h>

#include "media_fixture.h"

namespace
{
using GeneratedModels = GeneratedMedia;

// Animations per mesh, as the checklist names them ("mesh:animation").
std::map<std::string, std::set<std::string>> expectedAnimations()
{
    std::map<std::string, std::set<std::string>> animations;
    for (const ChecklistEntry& entry : readChecklist("anim"))
    {
        const auto colon = entry.name.find(':');
        animations[entry.name.substr(0, colon)].insert(entry.name.substr(colon + 1));
    }
    return animations;
}

std::vector<std::string> meshNames()
{
    std::vector<std::string> names;
    for (const ChecklistEntry& entry : readChecklist())
        if (entry.type == "file-mesh" || entry.type == "file-mesh-extra")
            names.push_back(entry.name);
    return names;
}
} // namespace

// Optional entries are names the game would use if present; levels are written by hand, music is checked
// where it is streamed from.
TEST_F(GeneratedModels, EveryNameOfTheChecklistIsGenerated)
{
    const std::set<std::string> files = {"file-mesh", "file-mesh-extra", "file-skeleton", "file-sound"};
    for (const ChecklistEntry& entry : readChecklist())
    {
        SCOPED_TRACE(entry.type + " " + entry.name);
        if (entry.need == "O")
            continue;
        if (files.count(entry.type))
        {
            EXPECT_TRUE(inArchive(entry.name));
        }
        if (entry.type == "particle")
        {
            EXPECT_NE(Ogre::ParticleSystemManager::getSingleton().getTemplate(entry.name), nullptr);
        }
        if (entry.type == "material")
        {
            // A material whose picture is missing draws white: every one shows exactly one of the archive's.
            const Ogre::MaterialPtr found = material(entry.name);
            const Ogre::Pass* pass = found ? found->getTechnique(0)->getPass(0) : nullptr;
            EXPECT_TRUE(pass && pass->getNumTextureUnitStates() == 1 &&
                        inArchive(pass->getTextureUnitState(0)->getTextureName()));
        }
        if (entry.type == "font")
        {
            const Ogre::FontPtr font = Ogre::FontManager::getSingleton().getByName(entry.name);
            ASSERT_TRUE(font && font->getType() == Ogre::FT_TRUETYPE);
            const std::string bytes =
                Ogre::ResourceGroupManager::getSingleton().openResource(font->getSource())->getAsString();
            EXPECT_EQ(bytes.substr(0, 4), std::string("\0\1\0\0", 4)) << "not a TrueType file";
        }
    }
}

TEST_F(GeneratedModels, EveryMeshLoadsWithItsSkeletonMaterialAndExactlyItsAnimations)
{
    const auto expected = expectedAnimations();
    Ogre::SceneManager& scene = engine->sceneManager();
    for (const auto& name : meshNames())
    {
        SCOPED_TRACE(name);
        Ogre::MeshPtr loaded = mesh(name);
        ASSERT_EQ(loaded->getNumSubMeshes(), 1u) << "whole-entity material swaps need one atlas";
        const std::string material = loaded->getSubMesh(0)->getMaterialName();
        EXPECT_TRUE(Ogre::MaterialManager::getSingleton().resourceExists(material)) << material;
        // Creating the entity compiles the bone assignments against the skeleton.
        Ogre::Entity* entity = scene.createEntity(name);
        const auto wanted = expected.find(name);
        ASSERT_EQ(loaded->hasSkeleton(), wanted != expected.end());
        if (loaded->hasSkeleton())
        {
            EXPECT_TRUE(inArchive(loaded->getSkeletonName()));
            std::set<std::string> carried;
            const Ogre::SkeletonPtr& skeleton = loaded->getSkeleton();
            for (unsigned short i = 0; i < skeleton->getNumAnimations(); ++i)
            {
                Ogre::Animation* animation = skeleton->getAnimation(i);
                carried.insert(animation->getName());
                EXPECT_GT(animation->getLength(), 0.0f) << animation->getName();
                EXPECT_TRUE(entity->getAnimationState(animation->getName()));
            }
            EXPECT_EQ(carried, wanted->second);
            // Software skinning rewrites positions and normals; the texture coordinates must live in
            // another buffer or the GL render system loses them.
            const Ogre::VertexDeclaration* declaration = loaded->getSubMesh(0)->vertexData->vertexDeclaration;
            EXPECT_NE(declaration->findElementBySemantic(Ogre::VES_POSITION)->getSource(),
                      declaration->findElementBySemantic(Ogre::VES_TEXTURE_COORDINATES)->getSource());
        }
        scene.destroyEntity(entity);
    }
}

TEST_F(GeneratedModels, TimedClipsFitTheGamesTimers)
{
    // The intro swaps costumes once "caure" has run 6 s; past 12 s it would swap twice.
    for (const char* bear : {"start_pimbear1.mesh", "start_pimbear2.mesh"})
    {
        const float length = mesh(bear)->getSkeleton()->getAnimation("caure")->getLength();
        EXPECT_GT(length, 6.0f) << bear;
        EXPECT_LT(length, 12.0f) << bear;
    }
    // The boss flinches for 3 s and expects its hit clip to be over by then.
    EXPECT_LE(mesh("octoboss.mesh")->getSkeleton()->getAnimation("rebre")->getLength(), 3.0f);
}

TEST_F(GeneratedModels, BoundsMatchThePhysicsConventions)
{
    // Whole boxes, exact where the game's code scales or places by them (logs are drawn scaled from the
    // nearest of four lengths), tolerant where only the look counts.
    const float third = 13.333333f / 2;
    const struct
    {
        const char* mesh;
        Ogre::Vector3 minimum, maximum;
        float tolerance;
    } boxes[] = {
        {"box.mesh", {-5, -third, -10}, {5, third, 10}, 0.01f},
        {"terra.mesh", {-10, -1, -5}, {10, 1, 5}, 0.01f},
        {"rail.mesh", {-0.5f, -0.3f, -0.3f}, {0.5f, 0.3f, 0.3f}, 0.01f},
        {"tronc_20.mesh", {-10, -1, -1}, {10, 1, 1}, 0.01f},
        {"tronc_30.mesh", {-15, -1, -1}, {15, 1, 1}, 0.01f},
        {"tronc_40.mesh", {-20, -1, -1}, {20, 1, 1}, 0.01f},
        {"tronc_50.mesh", {-25, -1, -1}, {25, 1, 1}, 0.01f},
        {"meteor.mesh", {-10, -10, -10}, {10, 10, 10}, 0.7f},
        {"extrem.mesh", {-0.8f, -0.8f, -0.8f}, {0.8f, 0.8f, 0.8f}, 0.05f},
    };
    for (const auto& e : boxes)
    {
        const Ogre::AxisAlignedBox box = mesh(e.mesh)->getBounds();
        EXPECT_TRUE(box.getMinimum().positionEquals(e.minimum, e.tolerance)) << e.mesh << box;
        EXPECT_TRUE(box.getMaximum().positionEquals(e.maximum, e.tolerance)) << e.mesh << box;
    }
    // Single heights: models that stand on something have their origin at their feet; the boss's mantle
    // covers the upper half of its hit sphere (radius 15 about (0, 4.17, 0)); tentacles grow up from their
    // node; the intro planet's top is its node's origin.
    const struct
    {
        const char* mesh;
        bool top;
        float y, tolerance;
    } heights[] = {
        {"cat.mesh", false, 0, 0.2f},           {"butterfly.mesh", false, 0, 0.2f},
        {"checkpoint.mesh", false, 0, 0.2f},    {"bush.mesh", false, 0, 0.2f},
        {"rock.mesh", false, 0, 0.2f},          {"tree.mesh", false, -2, 0.25f},
        {"octoboss.mesh", true, 19.17f, 0.3f},  {"tentacle.mesh", false, 0, 0.05f},
        {"tentacle.mesh", true, 40, 0.5f},      {"start_planeta.mesh", true, 0, 0.1f},
        {"start_planeta.mesh", false, -300, 1},
    };
    for (const auto& e : heights)
    {
        const Ogre::AxisAlignedBox box = mesh(e.mesh)->getBounds();
        EXPECT_NEAR(e.top ? box.getMaximum().y : box.getMinimum().y, e.y, e.tolerance) << e.mesh;
    }
    EXPECT_GE(mesh("octoboss.mesh")->getBounds().getMaximum().x, 15 - 0.1f);
}

// The bear as the game turns and scales it: its bounds are the player's hurt box, which should be about as
// wide as the physics body (4 units at the feet) and stand on the ground the physics puts under it.
TEST_F(GeneratedModels, TurnedBearHurtBoxMatchesThePhysicsBody)
{
    Ogre::SceneManager& scene = engine->sceneManager();
    Ogre::SceneNode* node = scene.getRootSceneNode()->createChildSceneNode();
    Ogre::Quaternion turn(-0.5f, 0, 1, 0);
    turn.normalise();
    node->setOrientation(turn);
    node->setScale(0.07f, 0.07f, 0.07f);
    Ogre::Entity* bear = scene.createEntity("Pimbear.mesh");
    node->attachObject(bear);
    node->_update(true, false);
    const Ogre::AxisAlignedBox box = bear->getWorldBoundingBox(true);
    EXPECT_GT(box.getHalfSize().x, 1.5f);
    EXPECT_LT(box.getHalfSize().x, 2.45f);
    EXPECT_NEAR(box.getMinimum().y, 0.5f, 0.02f);
    EXPECT_NEAR(box.getSize().y, 7.0f, 0.3f);
    scene.destroyEntity(bear);
    scene.destroySceneNode(node);
}
