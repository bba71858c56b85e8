#include "support/replay.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include <Ogre.h>

#include "app/quobbel.h"
#include "core/access_points.h"
#include "core/scene.h"
#include "gui/button_manager.h"
#include "gui/clock.h"
#include "input/gamepads.h"
#include "input/input_state.h"
#include "input/key_source.h"
#include "input/scripted_remotes.h"
#include "support/game_process.h"

namespace
{
constexpr int actionCount = 12;
// Ballistic meteors, butterflies and birds draw from rand().
constexpr unsigned replaySeed = 1;

// The letter of each action number 0 to 10; '.' has no letter.
constexpr std::string_view actionLetters = "UD..RLJBAEQ";

std::uint16_t parseActions(const std::string& letters, int line)
{
    std::uint16_t held = 0;
    if (letters == "-")
        return held;
    for (char letter : letters)
    {
        const std::size_t action = actionLetters.find(letter);
        if (letter == '.' || action == std::string::npos)
            throw std::runtime_error("route line " + std::to_string(line) + ": unknown action " + letter);
        held |= static_cast<std::uint16_t>(1u << action);
    }
    return held;
}
} // namespace

ReplayFrame ReplayFrame::holding(const std::string& player1, const std::string& player2)
{
    ReplayFrame frame;
    frame.held[0] = parseActions(player1, 1);
    frame.held[1] = parseActions(player2, 1);
    return frame;
}

std::string ReplayFrame::letters(int player) const
{
    std::string text;
    for (std::size_t action = 0; action < actionLetters.size(); ++action)
        if (actionLetters[action] != '.' && (held[player] & (1u << action)))
            text += actionLetters[action];
    return text.empty() ? "-" : text;
}

Route Route::parse(const std::string& text)
{
    Route route;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number)
    {
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        long count = 0;
        std::string first;
        std::string second = "-";
        if (!(fields >> count))
        {
            if (line.find_first_not_of(" \t\r") == std::string::npos)
                continue;
            throw std::runtime_error("route line " + std::to_string(number) + ": no frame count");
        }
        if (count <= 0 || !(fields >> first))
            throw std::runtime_error("route line " + std::to_string(number) + ": bad frame count or actions");
        fields >> second;
        ReplayFrame frame;
        frame.held[0] = parseActions(first, number);
        frame.held[1] = parseActions(second, number);
        route.frames.insert(route.frames.end(), static_cast<std::size_t>(count), frame);
        route.lines.insert(route.lines.end(), static_cast<std::size_t>(count), number);
    }
    return route;
}

Route Route::load(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read route " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str());
}

GameDriver::GameDriver(Scene* first, const std::vector<LevelText>& extraLevels,
                       const std::vector<GameFile>& gameFiles)
    : mDir(std::make_unique<GameDirCopy>())
{
    for (const GameFile& file : gameFiles)
        mDir->write(file.name, file.text);
    mApp = std::make_unique<Quobbel>(mDir->path() + "/");
    mControls = readControls(mDir->file("controls.cfg")).controls;
    std::srand(replaySeed);
    if (!extraLevels.empty())
    {
        const std::string folder = mDir->file("test_levels");
        std::filesystem::create_directory(folder);
        for (const LevelText& level : extraLevels)
            mDir->write("test_levels/" + level.fileName, level.text);
        // The engine looks for a file in its resource groups in the order of their names, so this group is
        // searched before the game's own ("General").
        const std::string group = "0 Test levels";
        auto& resources = Ogre::ResourceGroupManager::getSingleton();
        resources.createResourceGroup(group);
        resources.addResourceLocation(folder, "FileSystem", group);
        resources.initialiseResourceGroup(group);
    }
    makeInput(false);
    auto clock = std::make_unique<buttonGUI::ManualClock>();
    mClock = clock.get();
    theButtonManager->setClock(std::move(clock));
    Ogre::ControllerManager::getSingleton().setFrameDelay(static_cast<Ogre::Real>(frameSeconds));
    mScene = first;
    try
    {
        mScene->load();
    }
    catch (...)
    {
        // No destructor runs for a driver whose construction fails: take the half-loaded scene down here,
        // while the application it lives in still exists.
        mScene->unload();
        delete mScene;
        throw;
    }
}

std::string GameDriver::logText() const
{
    std::ifstream in(basePath + "quobbel.log");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

GameDriver::~GameDriver()
{
    if (mScene)
    {
        mScene->unload();
        delete mScene;
    }
    mInput.reset();
    mApp.reset();
}

void GameDriver::makeInput(bool gameControllers)
{
    InputSources sources;
    sources.keys = std::make_unique<ScriptedKeys>();
    mKeys = static_cast<ScriptedKeys*>(sources.keys.get());
    sources.remotes = std::make_unique<ScriptedRemotes>(0);
    if (gameControllers)
        sources.gamepads = std::make_unique<Gamepads>(mDir->file("gamecontrollerdb.txt"));
    sources.controls = mControls;
    mInput = std::make_unique<InputState>(std::move(sources));
}

void GameDriver::readGameControllers()
{
    makeInput(true);
}

void GameDriver::step(const ReplayFrame& frame)
{
    stepHolding(frame, {});
}

void GameDriver::holdKeys(const std::vector<OIS::KeyCode>& keys, int frames)
{
    for (int i = 0; i < frames && mScene; ++i)
        stepHolding(ReplayFrame(), keys);
}

void GameDriver::stepHolding(const ReplayFrame& frame, const std::vector<OIS::KeyCode>& keys)
{
    if (!mScene)
        return;
    std::uint16_t anyPlayer[actionCount] = {};
    for (int player = 1; player <= 2; ++player)
        for (int action = 0; action < actionCount; ++action)
            if (frame.held[player - 1] & (1u << action))
                anyPlayer[action] |= static_cast<std::uint16_t>(1u << player);
    // Players share some keys (Escape, Return): a key is down when any player holds an action on it.
    mKeys->releaseAll();
    for (int player = 1; player <= 2; ++player)
        for (int action = 0; action < actionCount; ++action)
            if (anyPlayer[action] & (1u << player))
                mKeys->press(mControls.keys[player][action]);
    for (OIS::KeyCode key : keys)
        mKeys->press(key);

    ++mFrames;
    mClock->set(static_cast<std::uint32_t>(std::lround(mFrames * frameSeconds * 1000.0)));
    mInput->update(frameSeconds);
    mScene->update(frameSeconds, mInput.get());
    // The game renders after every update, and rendering brings the scene graph up to date: the players'
    // hurt boxes (their meshes' world bounds) follow them only then.
    theSceneManager->getRootSceneNode()->_update(true, false);
    Scene* successor = mScene->next;
    if (!successor)
        return;
    mScene->unload();
    delete mScene;
    mScene = successor == Scene::quitMarker() ? nullptr : successor;
    if (mScene)
        mScene->load();
}

void GameDriver::play(const Route& route)
{
    for (const ReplayFrame& frame : route.frames)
    {
        if (!mScene)
            return;
        step(frame);
    }
}

void GameDriver::idle(int frames)
{
    for (int i = 0; i < frames && mScene; ++i)
        step(ReplayFrame());
}

void GameDriver::press(const std::string& actions)
{
    for (char action : actions)
    {
        step(ReplayFrame::holding(std::string(1, action)));
        idle(1);
    }
}

void GameDriver::render()
{
    Ogre::Root::getSingleton().renderOneFrame();
}

void GameDriver::screenshot(const std::string& path)
{
    render();
    theRenderWindow->writeContentsToFile(path);
}
