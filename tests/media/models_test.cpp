// The generated media against the checklist of what the game names, and the 3D media against what the game
// relies on: every mesh loads with its skeleton and carries exactly the animations the game plays; loops
// close and one-shot clips end where the next one starts; the bounds match the physics conventions the
// game's code assumes.

#include <cmath>
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
    for (const std::string& name : checklistNames("anim"))
    {
        const auto colon = name.find(':');
        animations[name.substr(0, colon)].insert(name.substr(colon + 1));
    }
    return animations;
}

std::vector<std::string> meshNames()
{
    std::vector<std::string> names = checklistNames("file-mesh");
    for (const std::string& extra : checklistNames("file-mesh-extra"))
        names.push_back(extra);
    return names;
}

// Model-space transform of every bone at time t of an animation.
struct BoneState
{
    Ogre::Vector3 position;
    Ogre::Quaternion orientation;
    Ogre::Vector3 scale;
};

std::vector<BoneState> poseAt(const Ogre::SkeletonPtr& skeleton, const std::string& animation, float t)
{
    skeleton->reset(true);
    skeleton->getAnimation(animation)->apply(skeleton.get(), t, 1.0f, 1.0f);
    std::vector<BoneState> pose;
    for (unsigned short i = 0; i < skeleton->getNumBones(); ++i)
    {
        Ogre::Bone* bone = skeleton->getBone(i);
        pose.push_back(
            {bone->_getDerivedPosition(), bone->_getDerivedOrientation(), bone->_getDerivedScale()});
    }
    return pose;
}

// The largest distance, in mesh units, that any bone's joint or a point one unit along its axes moves
// between two poses: catches jumps in position, turn and size alike.
float poseDistance(const std::vector<BoneState>& a, const std::vector<BoneState>& b)
{
    float largest = 0;
    for (size_t i = 0; i < a.size(); ++i)
    {
        for (const Ogre::Vector3& probe : {Ogre::Vector3::ZERO, Ogre::Vector3::UNIT_X, Ogre::Vector3::UNIT_Y})
        {
            const Ogre::Vector3 pa = a[i].position + a[i].orientation * (a[i].scale * probe);
            const Ogre::Vector3 pb = b[i].position + b[i].orientation * (b[i].scale * probe);
            largest = std::max(largest, pa.distance(pb));
        }
    }
    return largest;
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
            if (!font)
            {
                ADD_FAILURE() << "no such font";
                continue;
            }
            EXPECT_EQ(font->getType(), Ogre::FT_TRUETYPE);
            const std::string bytes =
                Ogre::ResourceGroupManager::getSingleton().openResource(font->getSource())->getAsString();
            EXPECT_EQ(bytes.substr(0, 4), std::string("\0\1\0\0", 4)) << "not a TrueType file";
        }
    }
}

TEST_F(GeneratedModels, BillboardsBlendUnlitAndSkiesStayBehindEverything)
{
    for (const char* name : {"platf_particle1", "platf_particle1b", "platf_particle2", "platf_particle2b",
                             "smoke_puff", "cloud1", "cloud2", "cloud3", "deco_hills"})
    {
        const Ogre::Pass* pass = material(name)->getTechnique(0)->getPass(0);
        EXPECT_FALSE(pass->getLightingEnabled()) << name;
        EXPECT_FALSE(pass->getDepthWriteEnabled()) << name;
        EXPECT_TRUE(pass->isTransparent()) << name;
    }
    for (const char* sky : {"cel", "wcel"})
    {
        const Ogre::Pass* pass = material(sky)->getTechnique(0)->getPass(0);
        EXPECT_FALSE(pass->getDepthCheckEnabled()) << sky;
        EXPECT_FALSE(pass->getDepthWriteEnabled()) << sky;
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
        if (wanted == expected.end())
        {
            EXPECT_FALSE(loaded->hasSkeleton());
            scene.destroyEntity(entity);
            continue;
        }
        ASSERT_TRUE(loaded->hasSkeleton());
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
        // Software skinning rewrites positions and normals; the texture coordinates must live in another
        // buffer or the GL render system loses them.
        const Ogre::VertexDeclaration* declaration = loaded->getSubMesh(0)->vertexData->vertexDeclaration;
        EXPECT_NE(declaration->findElementBySemantic(Ogre::VES_POSITION)->getSource(),
                  declaration->findElementBySemantic(Ogre::VES_TEXTURE_COORDINATES)->getSource());
        scene.destroyEntity(entity);
    }
}

TEST_F(GeneratedModels, LoopsCloseAndOneShotClipsEndWhereTheGameGoesOn)
{
    // Clips the game plays once and then leaves or replaces: they must end in a pose it can stay in.
    const std::set<std::string> oneShot = {"globus1.mesh:sortir",       "globus2.mesh:sortir",
                                           "butterfly.mesh:moure",      "start_pimbear1.mesh:caure",
                                           "start_pimbear2.mesh:caure", "octoboss.mesh:rebre",
                                           "pajarita.mesh:rebre",       "hat.mesh:rebre",
                                           "monoculo.mesh:rebre",       "hat.mesh:perdre_elem",
                                           "monoculo.mesh:perdre_elem"};
    for (const auto& [meshName, animations] : expectedAnimations())
    {
        const Ogre::SkeletonPtr& skeleton = mesh(meshName)->getSkeleton();
        const float size = mesh(meshName)->getBounds().getSize().length();
        for (const auto& animation : animations)
        {
            const std::string id = meshName + ":" + animation;
            if (oneShot.count(id))
                continue;
            const float length = skeleton->getAnimation(animation)->getLength();
            EXPECT_LT(poseDistance(poseAt(skeleton, animation, 0), poseAt(skeleton, animation, length)),
                      size * 0.01f)
                << id << " jumps when it loops";
        }
    }
    // The balloon pops out into the pose its idle starts from; the butterfly's flutter starts and ends at
    // rest.
    for (const char* balloon : {"globus1.mesh", "globus2.mesh"})
    {
        const Ogre::SkeletonPtr& skeleton = mesh(balloon)->getSkeleton();
        const float end = skeleton->getAnimation("sortir")->getLength();
        EXPECT_LT(poseDistance(poseAt(skeleton, "sortir", end), poseAt(skeleton, "repos", 0)), 0.05f)
            << balloon;
    }
    const Ogre::SkeletonPtr& butterfly = mesh("butterfly.mesh")->getSkeleton();
    EXPECT_LT(poseDistance(poseAt(butterfly, "moure", 0), poseAt(butterfly, "moure", 1.5f)), 0.05f);
    // Boss flinches settle back to the body's rest pose, where breathing takes over.
    for (const char* part : {"octoboss.mesh", "pajarita.mesh", "hat.mesh", "monoculo.mesh"})
    {
        const Ogre::SkeletonPtr& skeleton = mesh(part)->getSkeleton();
        const float end = skeleton->getAnimation("rebre")->getLength();
        EXPECT_LT(poseDistance(poseAt(skeleton, "rebre", end), poseAt(skeleton, "respirar", 0)), 0.3f)
            << part;
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
    // The lost hat and monocle are hidden once their clip completes: by then they must have vanished.
    for (const char* part : {"hat.mesh", "monoculo.mesh"})
    {
        const Ogre::SkeletonPtr& skeleton = mesh(part)->getSkeleton();
        const float end = skeleton->getAnimation("perdre_elem")->getLength();
        const auto pose = poseAt(skeleton, "perdre_elem", end);
        const unsigned short piece =
            skeleton->getBone(std::string(part) == "hat.mesh" ? "hat" : "monocle")->getHandle();
        EXPECT_LT(pose[piece].scale.x, 0.05f) << part;
    }
}

TEST_F(GeneratedModels, BoundsMatchThePhysicsConventions)
{
    struct Expected
    {
        const char* mesh;
        Ogre::Vector3 minimum;
        Ogre::Vector3 maximum;
        float tolerance;
    };
    const float third = 13.333333f / 2;
    // Exact sizes where the game's code scales or places by them; tolerant ones where only the look counts.
    const Expected table[] = {
        {"box.mesh", {-5, -third, -10}, {5, third, 10}, 0.01f},
        {"terra.mesh", {-10, -1, -5}, {10, 1, 5}, 0.01f},
        {"rail.mesh", {-0.5f, -0.3f, -0.3f}, {0.5f, 0.3f, 0.3f}, 0.01f},
        {"meteor.mesh", {-10, -10, -10}, {10, 10, 10}, 0.7f},
        {"extrem.mesh", {-0.8f, -0.8f, -0.8f}, {0.8f, 0.8f, 0.8f}, 0.05f},
    };
    // Logs are drawn scaled from the nearest of four lengths: each is exactly its length, 2 thick.
    for (const float length : {20.0f, 30.0f, 40.0f, 50.0f})
    {
        const Ogre::AxisAlignedBox log = mesh("tronc_" + std::to_string(int(length)) + ".mesh")->getBounds();
        EXPECT_TRUE(log.getMinimum().positionEquals({-length / 2, -1, -1}, 0.01f)) << length;
        EXPECT_TRUE(log.getMaximum().positionEquals({length / 2, 1, 1}, 0.01f)) << length;
    }
    for (const Expected& e : table)
    {
        const Ogre::AxisAlignedBox box = mesh(e.mesh)->getBounds();
        for (int axis = 0; axis < 3; ++axis)
        {
            EXPECT_NEAR(box.getMinimum()[axis], e.minimum[axis], e.tolerance) << e.mesh << " axis " << axis;
            EXPECT_NEAR(box.getMaximum()[axis], e.maximum[axis], e.tolerance) << e.mesh << " axis " << axis;
        }
    }

    // The boss's mantle covers the upper half of the hit sphere (radius 15 about (0, 4.17, 0)).
    const Ogre::AxisAlignedBox boss = mesh("octoboss.mesh")->getBounds();
    EXPECT_NEAR(boss.getMaximum().y, 4.17f + 15, 0.3f);
    EXPECT_GE(boss.getMaximum().x, 15 - 0.1f);

    // Models that stand on something have their origin at their feet.
    for (const char* standing : {"cat.mesh", "butterfly.mesh", "checkpoint.mesh", "bush.mesh", "rock.mesh"})
        EXPECT_NEAR(mesh(standing)->getBounds().getMinimum().y, 0, 0.2f) << standing;
    EXPECT_NEAR(mesh("tree.mesh")->getBounds().getMinimum().y, -2, 0.25f);
    EXPECT_NEAR(mesh("cat.mesh")->getBounds().getSize().y, 2.8f, 0.3f);
    EXPECT_NEAR(mesh("butterfly.mesh")->getBounds().getSize().x, 20, 2);
    EXPECT_NEAR(mesh("bird.mesh")->getBounds().getSize().x, 6, 0.5f);
    // The bird flies toward -Z: its beak is the frontmost point.
    EXPECT_GT(-mesh("bird.mesh")->getBounds().getMinimum().z, mesh("bird.mesh")->getBounds().getMaximum().z);
    // Tentacles grow up from their node along +Y.
    const Ogre::AxisAlignedBox tentacle = mesh("tentacle.mesh")->getBounds();
    EXPECT_NEAR(tentacle.getMinimum().y, 0, 0.05f);
    EXPECT_NEAR(tentacle.getMaximum().y, 40, 0.5f);
    // Balloons float on their own side of the post, their tops 11 to 13 above its foot.
    const Ogre::AxisAlignedBox left = mesh("globus1.mesh")->getBounds();
    const Ogre::AxisAlignedBox right = mesh("globus2.mesh")->getBounds();
    EXPECT_GT(left.getCenter().x, 0.5f);
    EXPECT_LT(right.getCenter().x, -0.5f);
    for (const auto& balloon : {left, right})
    {
        EXPECT_GE(balloon.getMaximum().y, 11);
        EXPECT_LE(balloon.getMaximum().y, 13.5f);
    }
    // The intro planet's top is its node's origin.
    EXPECT_NEAR(mesh("start_planeta.mesh")->getBounds().getMaximum().y, 0, 0.1f);
    EXPECT_NEAR(mesh("start_planeta.mesh")->getBounds().getSize().y, 300, 1);
}

namespace
{
struct Triangle
{
    Ogre::Vector3 corner[3];
    Ogre::Vector3 normal[3];
};

std::vector<Triangle> trianglesOf(const Ogre::MeshPtr& mesh)
{
    const Ogre::SubMesh* sub = mesh->getSubMesh(0);
    const Ogre::VertexData* vertices = sub->vertexData;
    const Ogre::VertexElement* position =
        vertices->vertexDeclaration->findElementBySemantic(Ogre::VES_POSITION);
    const Ogre::VertexElement* normal = vertices->vertexDeclaration->findElementBySemantic(Ogre::VES_NORMAL);
    const Ogre::HardwareVertexBufferSharedPtr buffer =
        vertices->vertexBufferBinding->getBuffer(position->getSource());
    Ogre::HardwareBufferLockGuard vertexLock(buffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
    auto read = [&](const Ogre::VertexElement* element, size_t index)
    {
        float* values = nullptr;
        element->baseVertexPointerToElement(
            static_cast<unsigned char*>(vertexLock.pData) + index * buffer->getVertexSize(), &values);
        return Ogre::Vector3(values[0], values[1], values[2]);
    };
    const Ogre::IndexData* indices = sub->indexData;
    Ogre::HardwareBufferLockGuard indexLock(indices->indexBuffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
    const bool wide = indices->indexBuffer->getType() == Ogre::HardwareIndexBuffer::IT_32BIT;
    auto index = [&](size_t i) -> size_t
    {
        return wide ? static_cast<const Ogre::uint32*>(indexLock.pData)[i]
                    : static_cast<const Ogre::uint16*>(indexLock.pData)[i];
    };
    std::vector<Triangle> triangles;
    for (size_t i = 0; i + 2 < indices->indexCount; i += 3)
    {
        Triangle triangle;
        for (size_t k = 0; k < 3; ++k)
        {
            triangle.corner[k] = read(position, index(i + k));
            triangle.normal[k] = read(normal, index(i + k));
        }
        triangles.push_back(triangle);
    }
    return triangles;
}
} // namespace

// Every surface must wind counter-clockwise seen from the side its normals point to: a part built inside
// out is culled from the front and shows its back, which no bounds check notices.
TEST_F(GeneratedModels, TrianglesFaceTheWayTheirNormalsPoint)
{
    for (const auto& name : meshNames())
    {
        double total = 0;
        double inverted = 0;
        for (const Triangle& t : trianglesOf(mesh(name)))
        {
            const Ogre::Vector3 face = (t.corner[1] - t.corner[0]).crossProduct(t.corner[2] - t.corner[0]);
            const double area = face.length() * 0.5;
            total += area;
            if (face.dotProduct(t.normal[0] + t.normal[1] + t.normal[2]) < 0)
                inverted += area;
            for (const Ogre::Vector3& n : t.normal)
                ASSERT_NEAR(n.length(), 1.0f, 1e-3f) << name;
        }
        EXPECT_LT(inverted, total * 1e-3)
            << name << ": " << inverted / total * 100 << " % of its area is inside out";
    }
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

// The platform code lets a landing burst run for 0.2 s: it must show a handful of particles by then and be
// gone within a second, and the smoke trail must stay within its modest quota (dozens exist at once).
TEST_F(GeneratedModels, ParticleBurstsShowAndFadeInTime)
{
    Ogre::SceneManager& scene = engine->sceneManager();
    for (const char* name : {"platf_particle1", "platf_particle2"})
    {
        Ogre::ParticleSystem* system = scene.createParticleSystem(std::string("probe_") + name, name);
        scene.getRootSceneNode()->attachObject(system);
        system->fastForward(0.2f, 0.01f);
        EXPECT_GE(system->getNumParticles(), 8u) << name;
        system->setEmitting(false);
        system->fastForward(1.0f, 0.01f);
        EXPECT_EQ(system->getNumParticles(), 0u) << name;
        scene.destroyParticleSystem(system);
    }
    Ogre::ParticleSystem* smoke = scene.createParticleSystem("probe_smoke", "meteor_smoke");
    scene.getRootSceneNode()->attachObject(smoke);
    smoke->fastForward(3.0f, 0.02f);
    EXPECT_GE(smoke->getNumParticles(), 15u);
    EXPECT_LE(smoke->getParticleQuota(), 40u);
    scene.destroyParticleSystem(smoke);
}

namespace
{
// Mean colour of the opaque pixels.
Ogre::ColourValue meanColour(const Ogre::Image& picture)
{
    Ogre::ColourValue sum(0, 0, 0, 0);
    float count = 0;
    for (size_t y = 0; y < picture.getHeight(); y += 2)
    {
        for (size_t x = 0; x < picture.getWidth(); x += 2)
        {
            const Ogre::ColourValue c = picture.getColourAt(x, y, 0);
            if (c.a < 0.5f)
                continue;
            sum += c;
            count += 1;
        }
    }
    return count > 0 ? sum / count : sum;
}
} // namespace

// Player 1 is red-orange and player 2 blue wherever the game tints something per player, and the pictures
// the game stretches over fixed shapes have those shapes' proportions.
TEST_F(GeneratedModels, PlayerColoursAndPictureShapes)
{
    const std::vector<std::pair<std::string, std::string>> perPlayer = {
        {"tronc1", "tronc2"},
        {"globus1", "globus2"},
        {"platf_particle1", "platf_particle1b"},
        {"platf_particle2", "platf_particle2b"}};
    for (const auto& [one, two] : perPlayer)
    {
        const Ogre::ColourValue first = meanColour(picture(one));
        const Ogre::ColourValue second = meanColour(picture(two));
        EXPECT_GT(first.r, first.b) << one;
        EXPECT_GT(second.b, second.r) << two;
    }
    // The panda costume swaps onto the bear's geometry, so both pictures share one layout.
    const Ogre::Image bear = picture("Pimbear_tex");
    const Ogre::Image panda = picture("PimbearPanda_tex");
    EXPECT_EQ(bear.getWidth(), panda.getWidth());
    EXPECT_EQ(bear.getHeight(), panda.getHeight());
    // Skies fill 4:3 and 16:10 screens; clouds go on square billboards (the storm cloud's squash is drawn
    // in).
    EXPECT_NEAR(static_cast<float>(picture("cel").getWidth()) / picture("cel").getHeight(), 4.0f / 3, 0.01f);
    EXPECT_NEAR(static_cast<float>(picture("wcel").getWidth()) / picture("wcel").getHeight(), 1.6f, 0.01f);
    for (const char* cloud : {"cloud1", "cloud2", "cloud3"})
        EXPECT_EQ(picture(cloud).getWidth(), picture(cloud).getHeight()) << cloud;
}
