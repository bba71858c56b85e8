#include "support/virtual_pad.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <SDL.h>

VirtualPadPort::VirtualPadPort()
{
    // As the game's own controller support starts SDL: no signal handlers of its own.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        throw std::runtime_error(std::string("SDL's controller support: ") + SDL_GetError());
}

VirtualPadPort::~VirtualPadPort()
{
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

VirtualPad::VirtualPad(const std::string& name, bool mapped) : mName(name)
{
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = mapped ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = mapped ? SDL_CONTROLLER_AXIS_MAX : 2;
    desc.nbuttons = mapped ? SDL_CONTROLLER_BUTTON_MAX : 4;
    desc.name = mName.c_str();
    // SDL finds mappings by vendor and product: pid.codes' test vendor, a product number of our own.
    desc.vendor_id = 0x1209;
    desc.product_id = 0x0b0e;
    desc.userdata = this;
    desc.Rumble = [](void* self, Uint16 low, Uint16 high)
    {
        static_cast<VirtualPad*>(self)->rumbles.push_back({low, high});
        return 0;
    };
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    if (device < 0)
        throw std::runtime_error(std::string("virtual controller: ") + SDL_GetError());
    mInstance = SDL_JoystickGetDeviceInstanceID(device);
    char guid[33];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(device), guid, sizeof guid);
    mGuid = guid;
    // A virtual joystick's state is set through a handle of its own.
    mJoystick = SDL_JoystickOpen(device);
}

void VirtualPad::button(int index, bool down)
{
    SDL_JoystickSetVirtualButton(mJoystick, index, down);
}

void VirtualPad::axis(int index, double value)
{
    SDL_JoystickSetVirtualAxis(mJoystick, index,
                               static_cast<Sint16>(std::clamp(value * 32767, -32768.0, 32767.0)));
}

// A virtual controller's trigger axes run over the whole range of an axis, released at its minimum.
void VirtualPad::trigger(int index, double travel)
{
    SDL_JoystickSetVirtualAxis(mJoystick, index, static_cast<Sint16>(std::lround(-32768 + travel * 65535)));
}

void VirtualPad::unplug()
{
    if (!mJoystick)
        return;
    SDL_JoystickClose(mJoystick);
    mJoystick = nullptr;
    for (int device = 0; device < SDL_NumJoysticks(); ++device)
        if (SDL_JoystickGetDeviceInstanceID(device) == mInstance)
            SDL_JoystickDetachVirtual(device);
}
