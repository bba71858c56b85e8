#pragma once

// The game's one input object: the keyboard, up to two Wii remotes and up to two game controllers turned
// into two players with twelve numbered actions each (input/actions.h). Scenes and game objects never look
// at keys or buttons; they ask whether a player's action is down now or was pressed this frame, and read
// the player's tilt. Players are 1 and 2; player 0 in a query means either of them.
//
// A player's sources: player p is read from remote p - 1 when at least p remotes connected at start-up
// (and then has no actions 9 to 11), otherwise from the keyboard (the keys of controls.cfg, by default
// player 1 on W A S D, player 2 on the arrows); and from the game controller in slot p - 1 besides,
// whenever one is there (input/gamepads.h). An action is down while any of the player's sources holds it,
// and pressed in the frame it goes down when none held it the frame before.
//
// Tilt, degrees within [-35, 35]: a remote player's is the remote's pitch; a keyboard player's moves 100
// degrees a second while a tilt key is held and stays where it is left; a game controller's stick,
// triggers or motion tilt adds to either.
//
// Update order, once per frame on the main thread before the scene's update: remote flags, controllers,
// keyboard capture, actions and their edges (from polled states, not key events, so auto-repeat never
// adds a press), then the tilt.
//
// Replays and tests build one without a window or OIS from InputSources holding a ScriptedKeys (and, for
// remote players, a ScriptedRemotes): before each frame's update they set the keys held in that frame,
// the keys of an action as their Controls bind them, and the results follow frame by frame exactly as
// from a player.

#include <array>
#include <cstdint>
#include <memory>

#include <OISKeyboard.h>

#include "input/actions.h"
#include "input/controls.h"
#include "input/gamepads.h"
#include "input/key_source.h"
#include "input/pad_player.h"
#include "input/wiinput.h"

// Where an InputState reads from.
struct InputSources
{
    // Required.
    std::unique_ptr<KeySource> keys;
    // Null for no remotes. Searched for when the InputState is made.
    std::unique_ptr<RemoteBackend> remotes;
    // Null for no game controllers.
    std::unique_ptr<Gamepads> gamepads;
    Controls controls = Controls::defaults();
};

class InputState
{
  public:
    static constexpr int actionCount = action::count;
    static constexpr float maxTiltDegrees = 35;
    static constexpr double keyTiltDegreesPerSecond = 100;

    // The game's input: the real keyboard of theRenderWindow (which must exist and be mapped), the
    // kernel's Wii remotes, searched for here, and SDL's game controllers; controls from basePath +
    // "controls.cfg" and controller mappings from basePath + "gamecontrollerdb.txt" when they exist. Logs
    // each bad line of controls.cfg. Throws OIS::Exception when the keyboard cannot be opened.
    InputState();
    // Input from any sources, with no window needed: replays, tools and tests. Keep plain pointers to a
    // ScriptedKeys or ScriptedRemotes to script them frame by frame: they live as long as this object.
    explicit InputState(InputSources sources);
    // Closes the keyboard and the controllers, then stops and releases the remotes.
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
    // F11, or Return while Alt is held, went down at the last update: the window should switch between
    // full screen and windowed. A Return pressed with Alt is no player's key until it is released.
    bool fullScreenRequested() const { return mFullScreenRequested; }

    // Whether player 1 or 2 is read from a Wii remote; fixed at construction.
    bool usesRemote(int player) const;
    // Whether a game controller drives player 1 or 2 now.
    bool hasGamepad(int player) const;
    // A rumble pulse of `seconds` on the player's remote and game controller, where there are any.
    void rumble(int player, double seconds);
    // The remotes.
    Wiinput& remotes() { return mRemotes; }
    // The remote button bit (WIIMOTE_BUTTON_*) for an action; 0 where there is none.
    static int32_t remoteButtonFor(int action);

  private:
    static bool isPlayer(int player) { return player == 1 || player == 2; }
    static bool isAction(int action) { return action >= 0 && action < actionCount; }
    bool keyHeld(OIS::KeyCode key) const;
    bool sourceHeld(int player, int action) const;
    void updateFullScreenKeys();
    void updateActions();
    void updateTilt(int player, double frameTime);

    // Indexed by player (0 unused) and action.
    using ActionFlags = std::array<std::array<bool, actionCount>, playerCount + 1>;

    std::unique_ptr<KeySource> mKeys;
    Wiinput mRemotes;
    std::unique_ptr<Gamepads> mGamepads;
    Controls mControls;
    // Indexed by player (0 unused).
    std::array<PadPlayer, playerCount + 1> mPads;
    std::array<bool, playerCount + 1> mUsesRemote{};
    std::array<float, playerCount + 1> mKeyTilt{};
    std::array<float, playerCount + 1> mTilt{};
    ActionFlags mDown{};
    ActionFlags mPressed{};
    bool mReturnHeld = false;
    bool mReturnWithAlt = false;
    bool mFullScreenKeysDown = false;
    bool mFullScreenRequested = false;
};
