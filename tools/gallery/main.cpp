// gallery GAME_DIR OUT_DIR: renders contact sheets of the game's media (from GAME_DIR/media.icl) with the
// real GL render system, for judging the art without playing:
//   meshes.png      every mesh as the game camera sees it and in three-quarter view
//   animations.png  every animation of every mesh at three moments
//   looks.png       the material swaps the game makes, the skies and clouds
//   particles.png   every particle template mid-burst with each material the game gives it
//   gui.png         every overlay picture with its looks side by side
//   intro.png, stage.png  models together as the intro, a level, the boss and the end scene show them
// Needs an X display (run it under xvfb-run).

#include <algorithm>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <Ogre.h>
#include <OgreOverlaySystem.h>
#include <OgreParticleSystem.h>

#include "contact_sheet.h"
#include "platform/engine_plugins.h"
#include "studio.h"
#include "tableaux.h"

namespace
{
constexpr int cellSize = 224;
constexpr int sheetWidth = 6 * (cellSize + 12) + 12;
const Ogre::Vector3 gameCamera = Ogre::Vector3::UNIT_Z;
const Ogre::Vector3 introCamera = Ogre::Vector3::UNIT_X;
const std::string group = Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME;

// How the game turns each model in front of its camera.
struct Staging
{
    Ogre::Quaternion orientation;
    Ogre::Vector3 camera;
};

Staging stagingOf(const std::string& mesh)
{
    auto turned = [](float w, float y)
    {
        Ogre::Quaternion q(w, 0, y, 0);
        q.normalise();
        return q;
    };
    if (mesh == "Pimbear.mesh")
        return {turned(-0.5f, 1), gameCamera};
    if (mesh == "cat.mesh" || mesh == "butterfly.mesh")
        return {turned(1, 1), gameCamera};
    if (mesh == "bird.mesh")
        return {turned(-1, 1), gameCamera};
    if (mesh.rfind("start_", 0) == 0)
        return {Ogre::Quaternion::IDENTITY, introCamera};
    return {Ogre::Quaternion::IDENTITY, gameCamera};
}

Ogre::Vector3 threeQuarter(const Ogre::Vector3& camera)
{
    Ogre::Vector3 direction = Ogre::Quaternion(Ogre::Degree(40), Ogre::Vector3::UNIT_Y) * camera;
    direction.y = -0.45f;
    return direction.normalisedCopy();
}

std::vector<std::string> archiveNames(const std::string& pattern)
{
    const Ogre::StringVectorPtr found =
        Ogre::ResourceGroupManager::getSingleton().findResourceNames(group, pattern);
    std::vector<std::string> names(found->begin(), found->end());
    std::sort(names.begin(), names.end());
    return names;
}

Ogre::AxisAlignedBox worldBounds(Ogre::SceneNode* node)
{
    node->_update(true, false);
    node->_updateBounds();
    return node->_getWorldAABB();
}

void meshSheet(Studio& studio, const std::string& out)
{
    ContactSheet sheet(sheetWidth, "Meshes: the game camera's view and three-quarter view");
    for (const auto& name : archiveNames("*.mesh"))
    {
        const Staging staging = stagingOf(name);
        Ogre::SceneNode* node = studio.place(staging.orientation);
        node->attachObject(studio.scene().createEntity(name));
        const Ogre::AxisAlignedBox box = worldBounds(node);
        sheet.addCell(studio.shoot(box, staging.camera), name);
        sheet.addCell(studio.shoot(box, threeQuarter(staging.camera)), "  three-quarter");
        studio.clear();
    }
    sheet.save(out + "/meshes.png");
}

// Frames an animation so that the whole motion stays in view: the bind pose plus every bone's path. The
// path is sampled on the mesh's own skeleton (an entity updates its animation only once per frame).
Ogre::AxisAlignedBox motionBounds(Ogre::Entity* entity, Ogre::SceneNode* node, const std::string& animation)
{
    Ogre::AxisAlignedBox box = worldBounds(node);
    const float reach = box.getSize().length() * 0.3f;
    const Ogre::SkeletonPtr& skeleton = entity->getMesh()->getSkeleton();
    Ogre::Animation* clip = skeleton->getAnimation(animation);
    for (int k = 0; k <= 16; ++k)
    {
        skeleton->reset(true);
        clip->apply(skeleton.get(), clip->getLength() * static_cast<float>(k) / 16, 1.0f, 1.0f);
        for (unsigned short b = 0; b < skeleton->getNumBones(); ++b)
        {
            const Ogre::Vector3 p = node->_getFullTransform() * skeleton->getBone(b)->_getDerivedPosition();
            box.merge(Ogre::AxisAlignedBox(p - reach, p + reach));
        }
    }
    skeleton->reset(true);
    return box;
}

void animationSheet(Studio& studio, const std::string& out)
{
    ContactSheet sheet(sheetWidth, "Animations at 15%, 50% and 85% of their length");
    for (const auto& name : archiveNames("*.mesh"))
    {
        Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().load(name, group);
        if (!mesh->hasSkeleton())
            continue;
        const Staging staging = stagingOf(name);
        sheet.newRow(name);
        const auto animationCount = mesh->getSkeleton()->getNumAnimations();
        for (unsigned short a = 0; a < animationCount; ++a)
        {
            const std::string animation = mesh->getSkeleton()->getAnimation(a)->getName();
            Ogre::SceneNode* node = studio.place(staging.orientation);
            Ogre::Entity* entity = studio.scene().createEntity(name);
            node->attachObject(entity);
            Ogre::AnimationState* state = entity->getAnimationState(animation);
            state->setEnabled(true);
            state->setLoop(false);
            // The intro is framed as the intro's camera frames it (its arrangement is baked in).
            const bool intro = name.rfind("start_", 0) == 0;
            const Ogre::AxisAlignedBox box =
                intro ? Ogre::AxisAlignedBox() : motionBounds(entity, node, animation);
            for (float moment : {0.15f, 0.5f, 0.85f})
            {
                state->setTimePosition(state->getLength() * moment);
                char caption[96];
                std::snprintf(caption, sizeof caption, "%s %.2f s", animation.c_str(),
                              static_cast<double>(state->getLength() * moment));
                sheet.addCell(intro ? studio.shoot(Ogre::Vector3(0, 142, 0), staging.camera, 560)
                                    : studio.shoot(box, staging.camera),
                              caption);
            }
            studio.clear();
        }
    }
    sheet.save(out + "/animations.png");
}

// The picture of a material's first texture, shrunk to fit maxSide. A material without a picture the
// archive can decode shows as a dark grey square, so one bad entry does not hide the rest of the sheet.
Ogre::Image texturePicture(const std::string& material, int maxSide)
{
    Ogre::Image picture;
    try
    {
        Ogre::MaterialPtr found = Ogre::MaterialManager::getSingleton().getByName(material);
        Ogre::Pass* pass = found->getTechnique(0)->getPass(0);
        if (pass->getNumTextureUnitStates() == 0)
            throw std::runtime_error("no texture");
        picture.load(pass->getTextureUnitState(0)->getTextureName(), group);
    }
    catch (const std::exception& error)
    {
        std::cerr << "gallery: " << material << ": " << error.what() << '\n';
        picture = Ogre::Image(Ogre::PF_BYTE_RGBA, 32, 32);
        std::fill(picture.getData(), picture.getData() + picture.getSize(), Ogre::uchar(64));
        return picture;
    }
    const float scale =
        std::min(1.0f, static_cast<float>(maxSide) /
                           static_cast<float>(std::max(picture.getWidth(), picture.getHeight())));
    if (scale < 1)
        picture.resize(static_cast<Ogre::ushort>(picture.getWidth() * scale),
                       static_cast<Ogre::ushort>(picture.getHeight() * scale));
    return picture;
}

void looksSheet(Studio& studio, const std::string& out)
{
    ContactSheet sheet(sheetWidth, "Material swaps, skies and clouds");
    const std::vector<std::pair<std::string, std::vector<std::string>>> swaps = {
        {"Pimbear.mesh", {"Pimbear_tex", "PimbearPanda_tex"}},
        {"tronc_20.mesh", {"tronc", "tronc0", "tronc1", "tronc2"}},
        {"octoboss.mesh", {"tex_octoboss", "tex_octoboss_ouch", "tex_octoboss_ouch2"}},
        {"tentacle.mesh", {"tex_tentacle", "tex_tentacle_far"}},
        {"meteor.mesh", {"meteor_tex", "green_meteor_tex"}},
        {"butterfly.mesh", {"butterfly1", "butterfly2"}},
        {"globus1.mesh", {"globus1", "globus2"}}};
    for (const auto& [mesh, materials] : swaps)
    {
        sheet.newRow(mesh);
        for (const auto& material : materials)
        {
            const Staging staging = stagingOf(mesh);
            Ogre::SceneNode* node = studio.place(staging.orientation);
            Ogre::Entity* entity = studio.scene().createEntity(mesh);
            entity->setMaterialName(material);
            node->attachObject(entity);
            sheet.addCell(studio.shoot(worldBounds(node), staging.camera), material);
            studio.clear();
        }
    }
    sheet.newRow("Skies and billboards");
    for (const char* picture :
         {"cel", "wcel", "cloud1", "cloud2", "cloud3", "deco_hills", "meteor_glow", "green_meteor_glow"})
        sheet.addCell(texturePicture(picture, cellSize), picture);
    sheet.save(out + "/looks.png");
}

void particleSheet(Studio& studio, const std::string& out)
{
    ContactSheet sheet(sheetWidth, "Particle templates mid-burst");
    const std::vector<std::pair<std::string, std::vector<std::string>>> uses = {
        {"platf_particle1", {"platf_particle1", "platf_particle1b", "platf_particle2", "platf_particle2b"}},
        {"platf_particle2", {"platf_particle2", "platf_particle2b", "platf_particle1", "platf_particle1b"}},
        {"meteor_smoke", {"smoke_puff"}}};
    for (const auto& [name, materials] : uses)
    {
        sheet.newRow(name);
        for (const auto& material : materials)
        {
            Ogre::SceneNode* node = studio.place();
            Ogre::ParticleSystem* system =
                studio.scene().createParticleSystem("gallery." + name + material, name);
            system->setMaterialName(material);
            node->attachObject(system);
            node->_update(true, false);
            const bool burst = name != "meteor_smoke";
            system->fastForward(burst ? 0.15f : 1.0f, 0.02f);
            if (!burst)
            {
                Ogre::Entity* meteor = studio.scene().createEntity("meteor.mesh");
                node->createChildSceneNode(Ogre::Vector3(0, 0, 1), Ogre::Quaternion::IDENTITY)
                    ->attachObject(meteor);
                node->getChild(0)->setScale(0.1f, 0.1f, 0.1f);
            }
            sheet.addCell(studio.shoot(Ogre::Vector3(0, burst ? 1.5f : 0, 0), gameCamera, burst ? 6 : 5),
                          material + " (" + std::to_string(system->getNumParticles()) + ")");
            for (Ogre::Node* child : node->getChildren())
                static_cast<Ogre::SceneNode*>(child)->detachAllObjects();
            studio.clear();
        }
    }
    sheet.save(out + "/particles.png");
}

// Overlay pictures are every material that the 3D media do not define, shown with their looks.
void guiSheet(const std::string& out)
{
    ContactSheet sheet(sheetWidth,
                       "Overlay pictures and their looks (base, .mouseOver, .onClick, .mouseOff)");
    std::set<std::string> names;
    for (const auto& entry : Ogre::MaterialManager::getSingleton().getResourceIterator())
    {
        const Ogre::ResourcePtr& resource = entry.second;
        const std::string& origin = resource->getOrigin();
        if (!origin.empty() && origin != "models.material")
            names.insert(resource->getName());
    }
    const std::vector<std::string> looks = {".mouseOver", ".onClick", ".mouseOff"};
    for (const auto& name : names)
    {
        if (name.find('.') != std::string::npos)
            continue;
        sheet.addCell(texturePicture(name, 300), name);
        for (const auto& look : looks)
        {
            if (names.count(name + look))
                sheet.addCell(texturePicture(name + look, 300), look);
        }
    }
    sheet.save(out + "/gui.png");
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: gallery GAME_DIR OUT_DIR\n";
        return 2;
    }
    const std::string gameDir = argv[1];
    const std::string outDir = argv[2];
    bool failed = false;
    try
    {
        std::filesystem::create_directories(outDir);
        Ogre::LogManager logs;
        logs.createLog(outDir + "/gallery.log", true, false, false);
        Ogre::Root root("", "", "");
        platform::loadRenderSystemPlugin(root, "RenderSystem_GL");
        platform::loadOgrePlugin(root, "Plugin_ParticleFX");
        platform::loadImageCodecPlugin(root);
        root.setRenderSystem(root.getAvailableRenderers().front());
        root.initialise(false);
        Ogre::RenderWindow* window = root.createRenderWindow("Quobbel gallery", cellSize, cellSize, false);
        {
            // Font definitions are parsed only when the overlay system exists before the resources.
            Ogre::OverlaySystem overlays;
            Ogre::ResourceGroupManager::getSingleton().addResourceLocation(gameDir + "/media.icl", "Zip");
            Ogre::ResourceGroupManager::getSingleton().initialiseAllResourceGroups();
            Studio studio(root, *window);
            // Each sheet stands alone: an archive missing some media still gets the others.
            const std::vector<std::pair<const char*, std::function<void()>>> sheets = {
                {"meshes", [&] { meshSheet(studio, outDir); }},
                {"animations", [&] { animationSheet(studio, outDir); }},
                {"looks", [&] { looksSheet(studio, outDir); }},
                {"particles", [&] { particleSheet(studio, outDir); }},
                {"intro", [&] { introSheet(studio, outDir); }},
                {"stage", [&] { stageSheet(studio, outDir); }},
                {"gui", [&] { guiSheet(outDir); }}};
            for (const auto& [name, draw] : sheets)
            {
                try
                {
                    draw();
                }
                catch (const std::exception& error)
                {
                    std::cerr << "gallery: no " << name << " sheet: " << error.what() << '\n';
                    studio.clear();
                    failed = true;
                }
            }
            root.destroySceneManager(&studio.scene());
        }
    }
    catch (const std::exception& error)
    {
        std::cerr << "gallery: " << error.what() << '\n';
        return 1;
    }
    return failed ? 1 : 0;
}
