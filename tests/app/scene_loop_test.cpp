#include <string>
#include <vector>

#include <Ogre.h>

#include <gtest/gtest.h>

#include "app/scene_loop.h"
#include "core/scene.h"

namespace
{
// Records what the scenes did and what the loop logged, in one sequence.
std::vector<std::string> events;

class RecordingLog : public Ogre::LogListener
{
  public:
    void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel, bool, const Ogre::String&,
                       bool&) override
    {
        events.push_back("log " + message);
    }
};

class ScriptedScene : public Scene
{
  public:
    ScriptedScene(std::string sceneName, int updatesBeforeNext, Scene* successorScene,
                  bool setNextOnLoad = false)
        : name(std::move(sceneName)), updatesLeft(updatesBeforeNext), successor(successorScene),
          nextOnLoad(setNextOnLoad)
    {
    }
    ~ScriptedScene() override { events.push_back("delete " + name); }
    void load() override
    {
        events.push_back("load " + name);
        if (nextOnLoad)
            next = successor;
    }
    void unload() override { events.push_back("unload " + name); }
    void update(double, InputState*) override
    {
        events.push_back("update " + name);
        if (--updatesLeft == 0)
            next = successor;
    }

  private:
    std::string name;
    int updatesLeft;
    Scene* successor;
    bool nextOnLoad;
};

class SceneLoopTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        events.clear();
        logManager.createLog("scene_loop_test.log", true, false, true)->addListener(&recorder);
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
    RecordingLog recorder;
    Scene* current = nullptr;
};
} // namespace

TEST_F(SceneLoopTest, RunsEachSceneInTurnAndDeletesItAfterUnload)
{
    auto* second = new ScriptedScene("B", 1, Scene::quitMarker());
    run(new ScriptedScene("A", 2, second));
    const std::vector<std::string> expected = {"log Loading scene",
                                               "load A",
                                               "log Scene loaded",
                                               "update A",
                                               "update A",
                                               "log Unloading scene",
                                               "unload A",
                                               "delete A",
                                               "log Scene unloaded",
                                               "log Loading scene",
                                               "load B",
                                               "log Scene loaded",
                                               "update B",
                                               "log Unloading scene",
                                               "unload B",
                                               "delete B",
                                               "log Scene unloaded"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(current, nullptr);
}

TEST_F(SceneLoopTest, ASceneThatNamesItsSuccessorInLoadStillGetsOneUpdate)
{
    run(new ScriptedScene("A", 100, Scene::quitMarker(), true));
    const std::vector<std::string> expected = {
        "log Loading scene",   "load A",   "log Scene loaded", "update A",
        "log Unloading scene", "unload A", "delete A",         "log Scene unloaded"};
    EXPECT_EQ(events, expected);
}

TEST_F(SceneLoopTest, NullOrQuitFirstSceneEndsAtOnceWithoutLogging)
{
    run(nullptr);
    run(Scene::quitMarker());
    EXPECT_TRUE(events.empty());
}

TEST_F(SceneLoopTest, ANullSuccessorEndsTheLoop)
{
    // A rendering loop that stops on its own (the engine was asked to end) leaves `next` null.
    runScenes(new ScriptedScene("A", 100, nullptr), current, [] {});
    EXPECT_EQ(events.back(), "log Scene unloaded");
    EXPECT_EQ(current, nullptr);
}
