#pragma once

// A player's action numbers, as InputState's queries take them, and their names in controls.cfg. The
// numbers are part of every caller's code: never renumber them.
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

constexpr int count = 12;

// Indexed by action number.
constexpr const char* names[count] = {"menuUp",    "menuDown", "menuRight", "menuLeft",
                                      "moveRight", "moveLeft", "jump",      "back",
                                      "accept",    "tiltUp",   "tiltDown",  "musicToggle"};
} // namespace action

// Players are 1 and 2 (0 in a query means either).
constexpr int playerCount = 2;
