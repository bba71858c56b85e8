#pragma once

// Which key does what for each player, and how each player's game controller tilts: the defaults, or
// what the optional "controls.cfg" of the game directory says.
//
// controls.cfg holds one setting a line; blank lines and lines starting with '#' are ignored:
//   player<1|2>.<action> = <key>                 player1.jump = KC_SPACE
//   player<1|2>.tilt = stick | triggers | motion  player2.tilt = triggers
// Actions are named as in action::names. Keys are OIS key names (see key_names.h); KC_UNASSIGNED takes
// the key away. A line that names no known player, action, key or tilt source changes nothing and is
// reported with the file's name and the line's number; a later line for the same setting wins.

#include <array>
#include <string>
#include <vector>

#include <OISKeyboard.h>

#include "input/actions.h"

// What moves a player's tilt on a game controller: the right stick's vertical axis, the two triggers
// (right up, left down), or pitching a controller that has motion sensors.
enum class TiltSource
{
    stick,
    triggers,
    motion
};

struct Controls
{
    // Indexed by player (0 unused) and action; OIS::KC_UNASSIGNED where an action has no key.
    std::array<std::array<OIS::KeyCode, action::count>, playerCount + 1> keys{};
    // Indexed by player (0 unused).
    std::array<TiltSource, playerCount + 1> tilt{};

    // Player 1 on W A S D (tilt E and Q, music M), player 2 on the arrows (tilt L and K); both accept with
    // Return and go back with Escape; both controllers tilt with the stick.
    static Controls defaults();
};

struct ControlsFile
{
    Controls controls = Controls::defaults();
    // One line of text per bad line of the file, naming the file and the line.
    std::vector<std::string> problems;
};

// The controls a file's text gives, starting from the defaults. fileName only names the file in problems.
ControlsFile parseControls(const std::string& text, const std::string& fileName);

// The controls the file at `path` gives; the defaults, with no problem, when there is no such file.
ControlsFile readControls(const std::string& path);

// A commented file that sets every setting to its default: the game directory's "controls.cfg.example".
std::string controlsExample();
