#include <string>
#include <vector>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "app/scene_loop.h"
#include "core/scene.h"

namespace
{
// What the scenes did and what the loop logged, in one sequence.
std::vector<std::string> events;

// Names `successorScene` after `updatesBeforeNext` updates, or in `load` when that is 0.
struct ScriptedScene : Scene
{
    ScriptedScene(std::string sceneName, int updatesBeforeNext, Scene* successorScene)
        : name(std::move(sceneName)), updatesLeft(updatesBeforeNext), successor(successorScene)
    {
    }
    ~ScriptedScene() override { events.push_back("delete " + name); }
    void load() override
    {
        events.push_back("load " + name);
        if (updatesLeft == 0)
            next = successor;
    }
    void unload() override { events.push_back("unload " + name); }
    void update(double, InputState*) override
    {
        events.push_back("update " + name);
        if (--updatesLeft == 0)
            next = successor;
    }

    std::string name;
    int updatesLeft;
    Scene* successor;
};

// The events of one scene's whole turn in the loop.
std::vector<std::string> turnOf(const std::string& name, int updates)
{
    std::vector<std::string> turn = {"log Loading scene", "load " + name, "log Scene loaded"};
    turn.insert(turn.end(), static_cast<size_t>(updates), "update " + name);
    turn.insert(turn.end(),
                {"log Unloading scene", "unload " + name, "delete " + name, "log Scene unloaded"});
    return turn;
}

class SceneLoopTest : public testing::Test, Ogre::LogListener
{
  protected:
    void SetUp() override
    {
        events.clear();
        logManager.createLog("scene_loop_test.log", true, false, true)->addListener(this);
    }
    void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel, bool, const Ogre::String&,
                       bool&) override
    {
        events.push_back("log " + message);
    }

    // Stands in for the engine's rendering loop: one update per frame until `next` is set at a frame's end.
    void run(Scene* first)
    {
        runScenes(first, current,
                  [this]
                  {
                      do
                          current->update(0.016, nullptr);
                      while (!current->next);
                  });
    }

    Ogre::LogManager logManager;
    Scene* current = nullptr;
};
} // namespace

TEST_F(SceneLoopTest, RunsEachSceneInTurnAndDeletesItAfterUnload)
{
    run(new ScriptedScene("A", 2, new ScriptedScene("B", 1, Scene::quitMarker())));
    std::vector<std::string> expected = turnOf("A", 2);
    const std::vector<std::string> second = turnOf("B", 1);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(events, expected);
    EXPECT_EQ(current, nullptr);
}

TEST_F(SceneLoopTest, ASceneThatNamesItsSuccessorInLoadStillGetsOneUpdate)
{
    run(new ScriptedScene("A", 0, Scene::quitMarker()));
    EXPECT_EQ(events, turnOf("A", 1));
}

TEST_F(SceneLoopTest, NullOrQuitFirstSceneEndsAtOnceWithoutLoggingAndANullSuccessorEndsTheLoop)
{
    run(nullptr);
    run(Scene::quitMarker());
    EXPECT_TRUE(events.empty());
    // A rendering loop that stops on its own (the engine was asked to end) leaves `next` null.
    runScenes(new ScriptedScene("A", 100, nullptr), current, [] {});
    EXPECT_EQ(events, turnOf("A", 0));
    EXPECT_EQ(current, nullptr);
}
