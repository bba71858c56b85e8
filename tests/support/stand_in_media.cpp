#include "support/stand_in_media.h"

#include <fstream>

#include <Ogre.h>
#include <OgreParticleEmitter.h>
#include <OgreParticleSystemManager.h>

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

void makeStaticMesh(const std::string& meshName, const Ogre::AxisAlignedBox& bounds,
                    const std::string& material)
{
    if (!meshExists(meshName))
        buildBox(meshName, bounds, material);
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

void makeParticleTemplate(const std::string& name, const std::string& material)
{
    auto& particles = Ogre::ParticleSystemManager::getSingleton();
    if (particles.getTemplate(name))
        return;
    makeMaterial(material);
    Ogre::ParticleSystem* system = particles.createTemplate(name, group);
    system->setMaterialName(material);
    system->setDefaultDimensions(1, 1);
    Ogre::ParticleEmitter* emitter = system->addEmitter("Point");
    emitter->setEmissionRate(20);
    emitter->setTimeToLive(1);
}

bool provideWorldMedia(platform::HeadlessEngine& engine)
{
    const std::string archive = testing_paths::gameDir() + "/media.icl";
    const bool real = std::ifstream(archive).good();
    if (real)
        engine.addResourceLocation(archive, "Zip");
    engine.initialiseResources();

    using Box = Ogre::AxisAlignedBox;
    // The bear: soles at mesh y 7.1, 100 units tall, scaled 0.07 by the player.
    makeAnimatedMesh("Pimbear.mesh", Box(-25, 0, -20, 25, 110, 20), "Pimbear_tex",
                     {{"respirar", 2.0f},
                      {"correr", 0.6f},
                      {"saltar", 0.6f},
                      {"caure", 0.8f},
                      {"rebre_front", 1.0f},
                      {"win", 1.2f},
                      {"lose", 2.0f},
                      {"saludar_d", 1.2f},
                      {"saludar_e", 1.2f},
                      {"acariciar_d", 1.5f},
                      {"acariciar_e", 1.5f}});
    makeMaterial("PimbearPanda_tex");

    makeStaticMesh("checkpoint.mesh", Box(-0.5f, 0, -0.5f, 0.5f, 8, 0.5f), "checkpoint_tex");
    makeAnimatedMesh("globus1.mesh", Box(0.5f, 8, -1, 3, 13, 1), "globus1",
                     {{"sortir", 1.0f}, {"repos", 2.0f}});
    makeAnimatedMesh("globus2.mesh", Box(-3, 8, -1, -0.5f, 13, 1), "globus2",
                     {{"sortir", 1.0f}, {"repos", 2.0f}});

    // Planks: box native 10 x 13.333 x 20 centred; terra 20 long with faces at y +-1; logs N long, radius 1.
    makeStaticMesh("box.mesh", Box(-5, -6.6667f, -10, 5, 6.6667f, 10), "box_tex");
    makeStaticMesh("terra.mesh", Box(-10, -1, -5, 10, 1, 5), "terra_tex");
    for (int length : {20, 30, 40, 50})
    {
        const float half = static_cast<float>(length) / 2.0f;
        makeStaticMesh("tronc_" + std::to_string(length) + ".mesh", Box(-half, -1, -1, half, 1, 1), "tronc");
    }
    for (const char* name : {"tronc0", "tronc1", "tronc2"})
        makeMaterial(name);
    makeStaticMesh("eix.mesh", Box(-1.2f, -1.2f, -0.5f, 1.2f, 1.2f, 0.5f), "eix_tex");
    makeStaticMesh("eix_mov.mesh", Box(-1.2f, -1.2f, -0.5f, 1.2f, 1.2f, 0.5f), "eix_mov_tex");
    makeStaticMesh("rail.mesh", Box(-0.5f, -0.3f, -0.3f, 0.5f, 0.3f, 0.3f), "rail_tex");
    makeStaticMesh("extrem.mesh", Box(-0.8f, -0.8f, -0.8f, 0.8f, 0.8f, 0.8f), "extrem_tex");
    makeParticleTemplate("platf_particle1", "platf_particle1");
    makeParticleTemplate("platf_particle2", "platf_particle2");
    makeMaterial("platf_particle1b");
    makeMaterial("platf_particle2b");

    // Meteors: native radius 10, scaled 0.1 against a physics circle of radius 1.
    makeStaticMesh("meteor.mesh", Box(-10, -10, -10, 10, 10, 10), "meteor_tex");
    makeMaterial("green_meteor_tex");
    makeParticleTemplate("meteor_smoke", "smoke_puff");
    makeMaterial("cloud3");
    return real;
}

} // namespace standin
