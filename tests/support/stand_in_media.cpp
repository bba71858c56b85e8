#include "support/stand_in_media.h"

#include <fstream>
#include <stdexcept>

#include <Ogre.h>

#include "platform/headless_engine.h"
#include "support/test_paths.h"

namespace standin
{

namespace
{
const std::string group = Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME;

bool meshExists(const std::string& name)
{
    return Ogre::MeshManager::getSingleton().resourceExists(name) ||
           Ogre::ResourceGroupManager::getSingleton().resourceExistsInAnyGroup(name);
}

Ogre::MeshPtr buildBox(const std::string& meshName, const Ogre::AxisAlignedBox& bounds,
                       const std::string& material)
{
    makeMaterial(material);
    Ogre::ManualObject box(meshName + ".standin");
    box.begin(material, Ogre::RenderOperation::OT_TRIANGLE_LIST, group);
    const Ogre::Vector3 lo = bounds.getMinimum();
    const Ogre::Vector3 hi = bounds.getMaximum();
    for (int corner = 0; corner < 8; ++corner)
    {
        box.position((corner & 1) ? hi.x : lo.x, (corner & 2) ? hi.y : lo.y, (corner & 4) ? hi.z : lo.z);
        box.normal(Ogre::Vector3((corner & 1) ? 1 : -1, (corner & 2) ? 1 : -1, (corner & 4) ? 1 : -1)
                       .normalisedCopy());
        box.textureCoord((corner & 1) ? 1.0f : 0.0f, (corner & 2) ? 0.0f : 1.0f);
    }
    // Two triangles per face, corners numbered by the bits (x, y, z).
    static const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                    {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& face : faces)
        box.quad(face[0], face[1], face[2], face[3]);
    box.end();
    Ogre::MeshPtr mesh = box.convertToMesh(meshName, group);
    // Tight bounds, as the media contract asks: the player's bounds are its hurt box.
    mesh->_setBounds(bounds, false);
    return mesh;
}
} // namespace

void makeMaterial(const std::string& name)
{
    auto& materials = Ogre::MaterialManager::getSingleton();
    if (materials.resourceExists(name, group))
        return;
    Ogre::MaterialPtr material = materials.create(name, group);
    material->setDiffuse(Ogre::ColourValue(0.8f, 0.6f, 0.4f));
}

void makeAnimatedMesh(const std::string& meshName, const Ogre::AxisAlignedBox& bounds,
                      const std::string& material, const std::vector<Animation>& animations)
{
    if (meshExists(meshName))
        return;
    Ogre::MeshPtr mesh = buildBox(meshName, bounds, material);

    Ogre::SkeletonPtr skeleton =
        Ogre::SkeletonManager::getSingleton().create(meshName + ".skeleton", group, true);
    // Loaded before it is filled: a skeleton that never counted as loaded would not free its bones.
    skeleton->load();
    Ogre::Bone* bone = skeleton->createBone("root", 0);
    skeleton->setBindingPose();
    for (const Animation& animation : animations)
    {
        // A small bob, so that a bone position shows how far each animation has run.
        Ogre::Animation* track = skeleton->createAnimation(animation.name, animation.lengthSeconds);
        Ogre::NodeAnimationTrack* nodeTrack = track->createNodeTrack(0, bone);
        nodeTrack->createNodeKeyFrame(0.0f)->setTranslate(Ogre::Vector3::ZERO);
        nodeTrack->createNodeKeyFrame(animation.lengthSeconds)->setTranslate(Ogre::Vector3(0, 1, 0));
    }
    mesh->_notifySkeleton(skeleton);
    for (unsigned short i = 0; i < mesh->getNumSubMeshes(); ++i)
    {
        Ogre::SubMesh* sub = mesh->getSubMesh(i);
        for (size_t vertex = 0; vertex < sub->vertexData->vertexCount; ++vertex)
            sub->addBoneAssignment(Ogre::VertexBoneAssignment{static_cast<unsigned>(vertex), 0, 1.0f});
    }
}

void provideWorldMedia(platform::HeadlessEngine& engine)
{
    const std::string archive = testing_paths::gameDir() + "/media.icl";
    if (!std::ifstream(archive).good())
        throw std::runtime_error("no " + archive + ": build the media target first");
    engine.addResourceLocation(archive, "Zip");
    engine.initialiseResources();
}

} // namespace standin
