#pragma once

// Game controllers through SDL's GameController API, as one slot per player: the first controller
// connected is player 1's, the next player 2's; a controller that is removed frees its slot, and the next
// one connected (the same again, or another) takes the lowest free slot. Further controllers wait until a
// slot is free.
//
// Mappings, each overriding the one before for the same controller: SDL's own database, the game
// directory's "gamecontrollerdb.txt" when there is one, and the SDL_GAMECONTROLLERCONFIG environment
// variable. A joystick that none of them maps is not used (the log says so).
//
// Only SDL's game controller subsystem is started (with its joystick and event parts): no window, no
// keyboard, no signal handlers, so OIS keeps the keyboard and the engine the window. Controllers count
// whether or not any window has the focus. When SDL cannot start, every slot stays empty. Main thread only.

#include <array>
#include <string>
#include <vector>

#include "input/actions.h"
#include "input/pad_player.h"

struct _SDL_GameController;

class Gamepads
{
  public:
    static constexpr int slotCount = playerCount;
    // Strength of a rumble pulse on both motors, out of 65535.
    static constexpr unsigned rumbleStrength = 0xC000;

    // Starts SDL's game controller support and adds the mappings of `mappingFile` when it exists. Logs one
    // line when SDL cannot start, and one for the mapping file. Controllers are opened by update().
    explicit Gamepads(const std::string& mappingFile);
    // Closes the controllers and stops what the constructor started.
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Once per frame: drops removed controllers, opens newly connected ones into free slots, and reads
    // every slot. Logs each controller opened (name and mapping) and each removed.
    void update();
    // The slot's reading as the last update() left it; not connected for an empty slot.
    const PadReading& reading(int slot) const { return mSlots.at(slot).reading; }
    // Whether the slot's player tilts by motion: switches the sensors of its controller on or off, now
    // and for controllers that take the slot later.
    void setMotionWanted(int slot, bool wanted);
    // A pulse of both motors for `seconds`, stopped by SDL; nothing for an empty slot or a controller
    // without motors.
    void rumble(int slot, double seconds);

  private:
    struct Slot
    {
        _SDL_GameController* controller = nullptr;
        // The joystick's SDL instance, -1 when the slot is empty.
        int instance = -1;
        bool motionWanted = false;
        PadReading reading;
    };

    void dropRemoved();
    void openConnected();
    void open(int deviceIndex, int slot);
    void switchMotion(Slot& slot, int player);
    // Logs a line about the joystick instance once only.
    void logOnce(int instance, const std::string& line);

    bool mStarted = false;
    std::array<Slot, slotCount> mSlots;
    std::vector<int> mLoggedInstances;
};
