#include "input/controls.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "input/key_names.h"

namespace
{
using OIS::KeyCode;

// Indexed by TiltSource.
constexpr const char* tiltSourceNames[] = {"stick", "triggers", "motion"};

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

std::string playerName(int player)
{
    return "player" + std::to_string(player);
}

// The player of a setting's name ("player2.jump" is player 2), or 0.
int playerOf(const std::string& name)
{
    const std::string prefix = name.substr(0, name.find('.'));
    for (int player = 1; player <= playerCount; ++player)
        if (sameIgnoringCase(prefix, playerName(player)))
            return player;
    return 0;
}

std::optional<int> actionNamed(const std::string& name)
{
    for (int number = 0; number < action::count; ++number)
        if (sameIgnoringCase(name, action::names[number]))
            return number;
    return std::nullopt;
}

std::optional<TiltSource> tiltSourceNamed(const std::string& name)
{
    for (int source = 0; source < 3; ++source)
        if (sameIgnoringCase(name, tiltSourceNames[source]))
            return static_cast<TiltSource>(source);
    return std::nullopt;
}

// Applies one "name = value" setting; returns what was wrong with it, or an empty text.
std::string applySetting(Controls& controls, const std::string& name, const std::string& value)
{
    const auto dot = name.find('.');
    if (dot == std::string::npos)
        return "unknown setting \"" + name + "\" (player<1|2>.<action or tilt>)";
    const int player = playerOf(name);
    if (player == 0)
        return "unknown player \"" + name.substr(0, dot) + "\" (player1 or player2)";
    const std::string setting = name.substr(dot + 1);
    if (sameIgnoringCase(setting, "tilt"))
    {
        const std::optional<TiltSource> source = tiltSourceNamed(value);
        if (!source)
            return "unknown tilt source \"" + value + "\" for " + name + " (stick, triggers or motion)";
        controls.tilt[player] = *source;
        return "";
    }
    const std::optional<int> number = actionNamed(setting);
    if (!number)
        return "unknown action \"" + setting + "\"";
    const std::optional<KeyCode> key = keyCodeNamed(value);
    if (!key)
        return "unknown key \"" + value + "\" for " + name;
    controls.keys[player][*number] = *key;
    return "";
}
} // namespace

Controls Controls::defaults()
{
    Controls controls;
    controls.keys[1] = {OIS::KC_W, OIS::KC_S,      OIS::KC_D,      OIS::KC_A, OIS::KC_D, OIS::KC_A,
                        OIS::KC_W, OIS::KC_ESCAPE, OIS::KC_RETURN, OIS::KC_E, OIS::KC_Q, OIS::KC_M};
    controls.keys[2] = {OIS::KC_UP,     OIS::KC_DOWN, OIS::KC_RIGHT, OIS::KC_LEFT,
                        OIS::KC_RIGHT,  OIS::KC_LEFT, OIS::KC_UP,    OIS::KC_ESCAPE,
                        OIS::KC_RETURN, OIS::KC_L,    OIS::KC_K,     OIS::KC_UNASSIGNED};
    controls.tilt.fill(TiltSource::stick);
    return controls;
}

ControlsFile parseControls(const std::string& text, const std::string& fileName)
{
    ControlsFile result;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number)
    {
        const std::string content = trim(line);
        if (content.empty() || content[0] == '#')
            continue;
        const auto equals = content.find('=');
        const std::string problem =
            equals == std::string::npos
                ? "expected \"player<1|2>.<action or tilt> = <value>\", found \"" + content + "\""
                : applySetting(result.controls, trim(content.substr(0, equals)),
                               trim(content.substr(equals + 1)));
        if (!problem.empty())
            result.problems.push_back(fileName + " line " + std::to_string(number) + ": " + problem +
                                      "; line ignored");
    }
    return result;
}

ControlsFile readControls(const std::string& path)
{
    const std::string fileName = std::filesystem::path(path).filename().string();
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return ControlsFile();
    std::ifstream in(path);
    if (!in.is_open())
    {
        ControlsFile unread;
        unread.problems.push_back(fileName + " cannot be read; default controls");
        return unread;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parseControls(text.str(), fileName);
}

std::string controlsExample()
{
    const Controls defaults = Controls::defaults();
    std::ostringstream text;
    text
        << "# Copy this file to controls.cfg beside the game and change what you like; every line below\n"
           "# sets the default. One setting a line:\n"
           "#   player<1|2>.<action> = <key>   with an OIS key name (KC_SPACE, KC_LEFT, KC_NUMPAD4; the KC_\n"
           "#                                  may be left out and case does not matter); KC_UNASSIGNED\n"
           "#                                  takes the key away\n"
           "#   player<1|2>.tilt = <source>    how the player's game controller tilts the plank: stick (the\n"
           "#                                  right stick), triggers (right up, left down) or motion\n"
           "#                                  (pitching a controller that has motion sensors)\n"
           "# Menu and move actions are separate: rebind moveLeft and menuLeft to move both.\n";
    for (int player = 1; player <= playerCount; ++player)
    {
        text << '\n';
        for (int number = 0; number < action::count; ++number)
            text << playerName(player) << '.' << action::names[number] << " = "
                 << keyCodeName(defaults.keys[player][number]) << '\n';
        text << playerName(player) << ".tilt = " << tiltSourceNames[static_cast<int>(defaults.tilt[player])]
             << '\n';
    }
    return text.str();
}
