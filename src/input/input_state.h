#pragma once

// The game's one input object: the keyboard and up to two Wii remotes turned into two players with
// twelve numbered actions each. Scenes and game objects never look at keys or buttons; they ask whether
// a player's action is down now or was pressed this frame, and read the player's tilt.
//
// Players are 1 and 2; player 0 in a query means either of them. Actions:
//   0 menu up, 1 menu down, 2 menu right, 3 menu left, 4 move right, 5 move left, 6 jump,
//   7 back or pause, 8 accept, 9 tilt up, 10 tilt down, 11 music on or off.
// A player with a remote connected at start-up is read from it (player p from remote p - 1), and then
// has no actions 9 to 11; otherwise from the keyboard, player 1 on W A S D, player 2 on the arrows.
//
// Update order, once per frame on the main thread before the scene's update: remote flags, keyboard
// capture and edge detection (from polled key states, not key events, so auto-repeat never adds a
// press), then the tilt.
//
// Replays and tests build one without a window or OIS from a ScriptedKeys (and, for remote players, a
// ScriptedRemotes): before each frame's update they set the keys held in that frame, keyFor(player,
// action) giving the key of an action, and the results follow frame by frame exactly as from a player.

#include <array>
#include <cstdint>
#include <memory>

#include <OISKeyboard.h>

#include "input/key_source.h"
#include "input/wiinput.h"

class RemoteBackend;

// A player's action numbers, as InputState's queries take them.
namespace action
{
enum : int
{
    menuUp = 0,
    menuDown = 1,
    menuRight = 2,
    menuLeft = 3,
    moveRight = 4,
    moveLeft = 5,
    jump = 6,
    back = 7,
    accept = 8,
    tiltUp = 9,
    tiltDown = 10,
    musicToggle = 11
};
} // namespace action

class InputState
{
  public:
    static constexpr int actionCount = 12;
    static constexpr float maxTiltDegrees = 35;
    static constexpr double keyTiltDegreesPerSecond = 100;

    // The game's input: the real keyboard of theRenderWindow (which must exist and be mapped) and the
    // kernel's Wii remotes, searched for here. Throws OIS::Exception when the keyboard cannot be opened.
    InputState();
    // Input from any sources, with no window needed: replays, tools and tests. `keys` is required;
    // `remotes` may be null for no remotes. Keep plain pointers to a ScriptedKeys or ScriptedRemotes
    // to script them frame by frame: they live as long as this object. Searches for remotes here.
    InputState(std::unique_ptr<KeySource> keys, std::unique_ptr<RemoteBackend> remotes);
    // Closes the keyboard, then stops and releases the remotes.
    ~InputState();
    InputState(const InputState&) = delete;
    InputState& operator=(const InputState&) = delete;

    // Once per frame; frameTime in seconds (at most 0.04 from the frame loop).
    void update(double frameTime);
    // The action is held now. False for players and actions out of range.
    bool isDown(int player, int action) const;
    // The action went from up to down at the last update: true in exactly one frame per press.
    bool wasPressed(int player, int action) const;
    // Player 1 or 2's tilt in degrees, within [-35, 35]; 0 for any other player.
    float tilt(int player) const;

    // Whether player 1 or 2 is read from a Wii remote; fixed at construction.
    bool usesRemote(int player) const;
    // The remotes, for rumble pulses.
    Wiinput& remotes() { return mRemotes; }
    // The key a keyboard player uses for an action; OIS::KC_UNASSIGNED where there is none. Replays use it
    // to hold a player's actions through ScriptedKeys.
    static OIS::KeyCode keyFor(int player, int action);
    // The remote button bit (WIIMOTE_BUTTON_*) for an action; 0 where there is none.
    static int32_t remoteButtonFor(int action);

  private:
    static bool isPlayer(int player) { return player == 1 || player == 2; }
    static bool isAction(int action) { return action >= 0 && action < actionCount; }
    void connectRemotes();
    bool keyDown(int player, int action) const;

    // Indexed by player (0 unused) and action.
    using ActionFlags = std::array<std::array<bool, actionCount>, 3>;

    std::unique_ptr<KeySource> mKeys;
    Wiinput mRemotes;
    std::array<bool, 3> mUsesRemote{};
    std::array<float, 3> mTilt{};
    ActionFlags mPressedFlags{};
};
