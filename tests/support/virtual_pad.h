#pragma once

// Game controllers without hardware: SDL's virtual joystick driver, which the game reads through the same
// SDL calls as a real controller.

#include <cstdint>
#include <string>
#include <vector>

struct _SDL_Joystick;

// Keeps SDL's controller subsystem running while it lives, so that virtual controllers can be plugged in
// before the game starts its own controller support and outlive it. Make one before any VirtualPad.
class VirtualPadPort
{
  public:
    // Throws std::runtime_error when SDL cannot start.
    VirtualPadPort();
    ~VirtualPadPort();
    VirtualPadPort(const VirtualPadPort&) = delete;
    VirtualPadPort& operator=(const VirtualPadPort&) = delete;
};

// A controller plugged in for as long as the object lives (or until unplug()). With `mapped`, SDL maps it
// as a controller with every standard button and axis; otherwise it is a bare joystick of four buttons
// and two axes that only a mapping can make a controller.
class VirtualPad
{
  public:
    VirtualPad(const std::string& name, bool mapped = true);
    ~VirtualPad() { unplug(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    // Buttons and axes by the joystick's own numbers, which are SDL's controller numbers
    // (SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_AXIS_LEFTX) on a mapped pad. Seen at the next update.
    void button(int index, bool down);
    // A stick axis from -1 to 1 along SDL's direction (y points down).
    void axis(int index, double value);
    // A trigger from 0 (released) to 1.
    void trigger(int index, double travel);
    void unplug();
    // SDL's identifier of the device, as mapping lines begin.
    const std::string& guid() const { return mGuid; }

    // Every rumble the game asked for, in order; SDL ends a pulse with one of strength 0.
    struct Rumble
    {
        std::uint16_t low, high;
    };
    std::vector<Rumble> rumbles;

  private:
    std::string mName;
    _SDL_Joystick* mJoystick = nullptr;
    std::int32_t mInstance = -1;
    std::string mGuid;
};
