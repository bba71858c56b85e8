#include "tableaux.h"

#include <cstdio>
#include <string>
#include <vector>

#include <Ogre.h>

#include "contact_sheet.h"
#include "studio.h"

namespace
{
constexpr int sheetWidth = 6 * (224 + 12) + 12;

Ogre::Entity* addModel(Studio& studio, Ogre::SceneNode* node, const std::string& mesh,
                       const std::string& animation, float time)
{
    Ogre::Entity* entity = studio.scene().createEntity(mesh);
    node->attachObject(entity);
    if (!animation.empty())
    {
        Ogre::AnimationState* state = entity->getAnimationState(animation);
        state->setEnabled(true);
        state->setLoop(false);
        state->setTimePosition(time);
    }
    return entity;
}

Ogre::SceneNode* child(Studio& studio, const Ogre::Vector3& position, float scale = 1,
                       const Ogre::Quaternion& orientation = Ogre::Quaternion::IDENTITY)
{
    Ogre::SceneNode* node = studio.place(orientation);
    node->setPosition(position);
    node->setScale(Ogre::Vector3(scale));
    return node;
}
} // namespace

void introSheet(Studio& studio, const std::string& outDir)
{
    ContactSheet sheet(sheetWidth,
                       "Intro: the runners on the rolling planet, then the tumble and the return");
    struct Moment
    {
        const char* bears;
        float time;
    };
    const std::vector<Moment> moments = {{"correr", 0.1f}, {"correr", 0.4f}, {"caure", 0.3f},
                                         {"caure", 1.2f},  {"caure", 2.5f},  {"caure", 6.0f},
                                         {"caure", 7.2f},  {"caure", 7.9f}};
    for (const Moment& moment : moments)
    {
        // The intro's node sits at y -142 under a camera at the origin: its local y 142 is the screen's
        // middle.
        Ogre::SceneNode* node = child(studio, Ogre::Vector3::ZERO);
        addModel(studio, node, "start_planeta.mesh", "roda", moment.time + 3);
        addModel(studio, node, "start_cat.mesh", "correr", moment.time);
        addModel(studio, node, "start_pimbear1.mesh", moment.bears, moment.time);
        addModel(studio, node, "start_pimbear2.mesh", moment.bears, moment.time);
        char caption[64];
        std::snprintf(caption, sizeof caption, "%s %.1f s", moment.bears, static_cast<double>(moment.time));
        sheet.addCell(studio.shoot(Ogre::Vector3(0, 142, 0), Ogre::Vector3::UNIT_X, 400), caption);
        studio.clear();
    }
    sheet.save(outDir + "/intro.png");
}

void stageSheet(Studio& studio, const std::string& outDir)
{
    ContactSheet sheet(sheetWidth, "In the game's frames: a level stretch, the boss, the end scene");
    const Ogre::Quaternion facingScreenRight(-0.5f, 0, 1, 0);
    Ogre::Quaternion bearTurn = facingScreenRight;
    bearTurn.normalise();

    // Planks whose tops are at y 1 (box, log and ground, physics thickness 2), the bears' soles 0.5 above
    // their node at feet centre - 2.5, a checkpoint with both balloons and meteors.
    const std::vector<std::pair<const char*, float>> poses = {
        {"respirar", 0.5f}, {"correr", 0.2f}, {"saltar", 0.3f}};
    for (const auto& [animation, time] : poses)
    {
        Ogre::SceneNode* box = child(studio, Ogre::Vector3(12, 0, 0));
        box->setScale(2, 0.15f, 0.5f);
        addModel(studio, box, "box.mesh", "", 0);
        addModel(studio, child(studio, Ogre::Vector3(-12, 0, 0)), "tronc_20.mesh", "", 0)
            ->setMaterialName("tronc1");
        addModel(studio, child(studio, Ogre::Vector3(-34, 0, 0)), "terra.mesh", "", 0);
        addModel(studio, child(studio, Ogre::Vector3(12, 0.5f, -10), 0.07f, bearTurn), "Pimbear.mesh",
                 animation, time);
        addModel(studio, child(studio, Ogre::Vector3(-12, 0.5f, -20), 0.07f, bearTurn), "Pimbear.mesh",
                 animation, time)
            ->setMaterialName("PimbearPanda_tex");
        addModel(studio, child(studio, Ogre::Vector3(-34, 1, 0)), "checkpoint.mesh", "", 0);
        addModel(studio, child(studio, Ogre::Vector3(-34, 1, 0)), "globus1.mesh", "repos", 0.5f);
        addModel(studio, child(studio, Ogre::Vector3(-34, 1, 0)), "globus2.mesh", "repos", 0.5f)
            ->setMaterialName("globus2");
        addModel(studio, child(studio, Ogre::Vector3(0, 12, 0), 0.1f), "meteor.mesh", "", 0);
        addModel(studio, child(studio, Ogre::Vector3(-24, 10, 0), 0.1f), "meteor.mesh", "", 0)
            ->setMaterialName("green_meteor_tex");
        addModel(studio,
                 child(studio, Ogre::Vector3(-44, 1, -80), 1.3f,
                       Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_Y)),
                 "cat.mesh", "respirar_e", 0.5f);
        sheet.addCell(studio.shoot(Ogre::Vector3(-12, 6, 0), Ogre::Vector3::UNIT_Z, 66),
                      std::string("level, ") + animation);
        studio.clear();
    }

    // The boss at node scale 1.2 with its accessories and eight tentacles placed as the game places them.
    {
        Ogre::SceneNode* boss = child(studio, Ogre::Vector3(0, 0, 40), 1.2f);
        for (const char* part : {"octoboss.mesh", "pajarita.mesh", "hat.mesh", "monoculo.mesh"})
            addModel(studio, boss, part, "respirar", 0.5f);
        for (int i = 0; i < 8; ++i)
        {
            const float s = 60.0f - 20.0f * static_cast<float>(i);
            const bool right = i < 4;
            const bool front = i < 2 || i > 5;
            Ogre::SceneNode* arm =
                boss->createChildSceneNode(Ogre::Vector3(right ? s + 20 : s, -5, front ? -50 : 50));
            const float roll = i < 2 ? -45.0f : i < 4 ? -30.0f : i < 6 ? 30.0f : 45.0f;
            const float yaw = i < 2 ? -40.0f : i < 4 ? -35.0f : i < 6 ? 35.0f : 40.0f;
            arm->roll(Ogre::Degree(roll));
            arm->yaw(Ogre::Degree(yaw));
            Ogre::Entity* tentacle =
                addModel(studio, boss, "tentacle.mesh", "mou1", 0.7f * static_cast<float>(i % 4));
            boss->detachObject(tentacle);
            arm->attachObject(tentacle);
            if (!front)
                tentacle->setMaterialName("tex_tentacle_far");
        }
        sheet.addCell(studio.shoot(Ogre::Vector3(0, 10, 0), Ogre::Vector3::UNIT_Z, 200), "boss, respirar");
        studio.clear();
    }

    // The end scene: camera at -x looking +x, bears turned to face it on a log, the cat petted by bear 2.
    const Ogre::Quaternion facingCamera(Ogre::Degree(-90), Ogre::Vector3::UNIT_Y);
    const std::vector<std::pair<const char*, const char*>> endPoses = {
        {"saludar_d", "saludar_e"}, {"saludar_d", "acariciar_e"}, {"acariciar_d", "saludar_e"}};
    for (const auto& [first, second] : endPoses)
    {
        Ogre::SceneNode* log = child(studio, Ogre::Vector3(-100, -11, 0), 1.5f);
        log->yaw(Ogre::Degree(90));
        addModel(studio, log, "tronc_40.mesh", "", 0);
        addModel(studio, child(studio, Ogre::Vector3(-110, -10, -15), 0.07f, facingCamera), "Pimbear.mesh",
                 first, 0.4f);
        addModel(studio, child(studio, Ogre::Vector3(-110, -10, 15), 0.07f, facingCamera), "Pimbear.mesh",
                 second, 0.4f)
            ->setMaterialName("PimbearPanda_tex");
        const bool petting = std::string(first) == "acariciar_d" || std::string(second) == "acariciar_e";
        const float catZ = std::string(second) == "acariciar_e" ? 13.0f : petting ? -13.0f : 0.0f;
        const Ogre::Quaternion catTurn(Ogre::Degree(std::string(second) == "acariciar_e" ? 0.0f : 180.0f),
                                       Ogre::Vector3::UNIT_Y);
        addModel(studio, child(studio, Ogre::Vector3(-120, -10.8f, catZ), 1, catTurn), "cat.mesh",
                 petting ? "rebre_caricia" : "correr_d", 0.4f);
        sheet.addCell(studio.shoot(Ogre::Vector3(-100, -5, 0), Ogre::Vector3::UNIT_X, 37.5f),
                      std::string("end, ") + first + " / " + second);
        studio.clear();
    }
    sheet.save(outDir + "/stage.png");
}
