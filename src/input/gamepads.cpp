#include "input/gamepads.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <OgreLogManager.h>
#include <SDL.h>

namespace
{
constexpr SDL_GameControllerButton sdlButtons[padButtonCount] = {
    SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,         SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_DPAD_UP,   SDL_CONTROLLER_BUTTON_DPAD_DOWN,
    SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT};

void logLine(const std::string& line)
{
    if (Ogre::LogManager* log = Ogre::LogManager::getSingletonPtr())
        log->logMessage(line, Ogre::LML_NORMAL);
}

// An axis from SDL's -32768 .. 32767 to -1 .. 1.
float unitAxis(SDL_GameController* controller, SDL_GameControllerAxis axis)
{
    return std::max(-1.0f, SDL_GameControllerGetAxis(controller, axis) / 32767.0f);
}

// The device's own name; the mapping's name for it may be shared by many devices.
std::string controllerName(SDL_GameController* controller)
{
    const char* name = SDL_JoystickName(SDL_GameControllerGetJoystick(controller));
    return name ? name : "unnamed controller";
}

bool hasMotionSensors(SDL_GameController* controller)
{
    return SDL_GameControllerHasSensor(controller, SDL_SENSOR_ACCEL) &&
           SDL_GameControllerHasSensor(controller, SDL_SENSOR_GYRO);
}

PadReading readController(SDL_GameController* controller, bool motion)
{
    PadReading reading;
    reading.connected = true;
    for (int button = 0; button < padButtonCount; ++button)
        reading.buttons[button] = SDL_GameControllerGetButton(controller, sdlButtons[button]) != 0;
    // SDL's y axes point down.
    reading.leftX = unitAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    reading.leftY = -unitAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    reading.rightY = -unitAxis(controller, SDL_CONTROLLER_AXIS_RIGHTY);
    reading.leftTrigger = unitAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    reading.rightTrigger = unitAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    reading.hasMotion =
        motion &&
        SDL_GameControllerGetSensorData(controller, SDL_SENSOR_ACCEL, reading.motion.accel.data(), 3) == 0 &&
        SDL_GameControllerGetSensorData(controller, SDL_SENSOR_GYRO, reading.motion.gyro.data(), 3) == 0;
    return reading;
}
} // namespace

Gamepads::Gamepads(const std::string& mappingFile)
{
    // SDL would otherwise take SIGINT and SIGTERM for an event queue nobody reads, and, on Nintendo
    // controllers, swap the face buttons to match their labels.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
    {
        logLine(std::string("Game controllers unavailable: ") + SDL_GetError());
        return;
    }
    mStarted = true;
    // Also counts joysticks without a mapping: they are named when the first update passes them over.
    if (SDL_NumJoysticks() == 0)
        logLine("No game controller connected");
    // Controllers are polled, not read through events: unread events would only pile up.
    for (Uint32 type = SDL_JOYAXISMOTION; type < SDL_FINGERDOWN; ++type)
        SDL_EventState(type, SDL_IGNORE);

    std::error_code error;
    if (!std::filesystem::exists(mappingFile, error))
        return;
    const std::string fileName = std::filesystem::path(mappingFile).filename().string();
    const int added = SDL_GameControllerAddMappingsFromFile(mappingFile.c_str());
    if (added < 0)
        logLine(fileName + " not read: " + SDL_GetError());
    else
        logLine(fileName + ": " + std::to_string(added) + " controller mappings added");
}

Gamepads::~Gamepads()
{
    if (!mStarted)
        return;
    for (Slot& slot : mSlots)
        if (slot.controller)
            SDL_GameControllerClose(slot.controller);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Gamepads::update()
{
    if (!mStarted)
        return;
    SDL_GameControllerUpdate();
    dropRemoved();
    openConnected();
    for (Slot& slot : mSlots)
        slot.reading = slot.controller ? readController(slot.controller, slot.motionWanted) : PadReading();
}

void Gamepads::dropRemoved()
{
    for (int index = 0; index < slotCount; ++index)
    {
        Slot& slot = mSlots[index];
        if (!slot.controller || SDL_GameControllerGetAttached(slot.controller))
            continue;
        logLine("Game controller of player " + std::to_string(index + 1) +
                " removed: " + controllerName(slot.controller));
        SDL_GameControllerClose(slot.controller);
        slot.controller = nullptr;
        slot.instance = -1;
    }
}

void Gamepads::openConnected()
{
    const int joysticks = SDL_NumJoysticks();
    for (int device = 0; device < joysticks; ++device)
    {
        const int instance = SDL_JoystickGetDeviceInstanceID(device);
        if (std::any_of(mSlots.begin(), mSlots.end(), [&](const Slot& s) { return s.instance == instance; }))
            continue;
        const char* name = SDL_JoystickNameForIndex(device);
        const std::string named = name ? name : "unnamed";
        if (!SDL_IsGameController(device))
        {
            logOnce(instance, "Joystick not used, no controller mapping for it: " + named +
                                  " (add one to gamecontrollerdb.txt)");
            continue;
        }
        const auto free =
            std::find_if(mSlots.begin(), mSlots.end(), [](const Slot& s) { return !s.controller; });
        if (free == mSlots.end())
            logOnce(instance, "Game controller waiting until a player's controller is removed: " + named);
        else
            open(device, static_cast<int>(free - mSlots.begin()));
    }
}

void Gamepads::open(int deviceIndex, int index)
{
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    const int instance = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (!controller)
    {
        logOnce(instance, std::string("Game controller could not be opened: ") + SDL_GetError());
        return;
    }
    Slot& slot = mSlots[index];
    slot.controller = controller;
    slot.instance = instance;
    char* mapping = SDL_GameControllerMapping(controller);
    logLine("Game controller for player " + std::to_string(index + 1) + ": " + controllerName(controller) +
            ", mapping " + (mapping ? mapping : "none"));
    SDL_free(mapping);
    switchMotion(slot, index + 1);
}

void Gamepads::setMotionWanted(int index, bool wanted)
{
    Slot& slot = mSlots.at(index);
    slot.motionWanted = wanted;
    if (slot.controller)
        switchMotion(slot, index + 1);
}

void Gamepads::switchMotion(Slot& slot, int player)
{
    if (!hasMotionSensors(slot.controller))
    {
        if (slot.motionWanted)
            logLine("Game controller of player " + std::to_string(player) +
                    " has no motion sensors: it tilts with the right stick");
        return;
    }
    const SDL_bool on = slot.motionWanted ? SDL_TRUE : SDL_FALSE;
    SDL_GameControllerSetSensorEnabled(slot.controller, SDL_SENSOR_ACCEL, on);
    SDL_GameControllerSetSensorEnabled(slot.controller, SDL_SENSOR_GYRO, on);
}

void Gamepads::rumble(int index, double seconds)
{
    const Slot& slot = mSlots.at(index);
    if (!slot.controller || seconds <= 0)
        return;
    const auto milliseconds = static_cast<Uint32>(std::lround(seconds * 1000));
    SDL_GameControllerRumble(slot.controller, rumbleStrength, rumbleStrength, milliseconds);
}

void Gamepads::logOnce(int instance, const std::string& line)
{
    if (std::find(mLoggedInstances.begin(), mLoggedInstances.end(), instance) != mLoggedInstances.end())
        return;
    mLoggedInstances.push_back(instance);
    logLine(line);
}
