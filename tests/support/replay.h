#pragma once

// Replays: the real game driven frame by frame at a fixed 1/60 s with scripted player actions, with the
// real physics and the real media, for gameplay tests and benchmarks.
//
// Route files are text, one line per run of identical frames:
//     <frames> <player 1 actions> [<player 2 actions>]    # comment
// Actions are letters, held for the whole run ("-" for none): R move right, L move left, J jump,
// E tilt up, Q tilt down, U menu up, D menu down, B back/pause, A accept.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <OISKeyboard.h>

#include "input/controls.h"

class InputState;
class Quobbel;
class Scene;
class ScriptedKeys;
namespace buttonGUI
{
class ManualClock;
}
class GameDirCopy;

struct ReplayFrame
{
    // Bit a of held[p] set: player p + 1 holds action a.
    std::uint16_t held[2] = {0, 0};

    // The players holding actions written as in a route file ("RJ", "-").
    static ReplayFrame holding(const std::string& player1, const std::string& player2 = "-");
    // What player (0 or 1) holds, written as in a route file.
    std::string letters(int player) const;
};

struct Route
{
    std::vector<ReplayFrame> frames;
    // The line of the route file each frame comes from; empty for a route made in code.
    std::vector<int> lines;

    // Throws std::runtime_error with the line number on a malformed line.
    static Route parse(const std::string& text);
    static Route load(const std::string& path);
};

// The application in a scratch game directory (needs a display: run under Xvfb), with the toolkit's clock
// and the input driven by the replay instead of real time and the keyboard. Held actions reach the game
// as the keys that the directory's controls.cfg (or the default) binds to them.
class GameDriver
{
  public:
    static constexpr double frameSeconds = 1.0 / 60.0;

    // A level of the test's own: file name and text.
    struct LevelText
    {
        std::string fileName;
        std::string text;
    };

    // A file of the caller's own in the game directory, there before the game starts (controls.cfg,
    // Quobbel.cfg).
    struct GameFile
    {
        std::string name;
        std::string text;
    };

    // Takes ownership of `first` and loads it. `extraLevels` are found like the shipped levels, and before
    // them: one named like a shipped level stands in for it. rand() is seeded the same way every time, so a
    // route replays bit for bit.
    explicit GameDriver(Scene* first, const std::vector<LevelText>& extraLevels = {},
                        const std::vector<GameFile>& gameFiles = {});
    ~GameDriver();
    GameDriver(const GameDriver&) = delete;
    GameDriver& operator=(const GameDriver&) = delete;

    // One frame: the held actions reach the input state, then the scene updates. When the scene names a
    // successor it is unloaded and deleted and the successor loaded, as the scene loop does; after the quit
    // marker (or no successor) scene() is null.
    void step(const ReplayFrame& frame);
    // Steps through the route, or until the scene ends.
    void play(const Route& route);
    // Steps with nothing held.
    void idle(int frames);
    // Player 1 presses each action in turn for one frame, with a frame between presses so that each is a
    // new press.
    void press(const std::string& actions);
    // Steps `frames` frames holding exactly these keys.
    void holdKeys(const std::vector<OIS::KeyCode>& keys, int frames);
    // From now on the input also reads SDL's game controllers (virtual ones in tests), with the game
    // directory's gamecontrollerdb.txt, as the game does.
    void readGameControllers();

    Scene* scene() const { return mScene; }
    template <typename T> T* sceneAs() const { return dynamic_cast<T*>(mScene); }
    // The current scene, which the test knows to be a T; throws when it is not.
    template <typename T> T& current() const
    {
        if (T* scene = sceneAs<T>())
            return *scene;
        throw std::logic_error("the current scene is not the one the test expects");
    }
    InputState& input() { return *mInput; }
    // What the game has written to quobbel.log so far.
    std::string logText() const;
    long frameCount() const { return mFrames; }
    // Renders one frame. The engine's own animations (particles) advance by one frame time per render,
    // however long the render took: smoke trails and bursts look as they do in play when every frame is
    // rendered, and the same on every run.
    void render();
    // Renders one frame and writes it as PNG.
    void screenshot(const std::string& path);

  private:
    void makeInput(bool gameControllers);
    void stepHolding(const ReplayFrame& frame, const std::vector<OIS::KeyCode>& keys);

    std::unique_ptr<GameDirCopy> mDir;
    Controls mControls;
    std::unique_ptr<Quobbel> mApp;
    ScriptedKeys* mKeys = nullptr;
    std::unique_ptr<InputState> mInput;
    buttonGUI::ManualClock* mClock = nullptr;
    Scene* mScene = nullptr;
    long mFrames = 0;
};
