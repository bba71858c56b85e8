#include "input/ois_keyboard.h"

#include <string>

#include <OISInputManager.h>
#include <OISKeyboard.h>
#include <OgreRenderWindow.h>

OisKeyboard::OisKeyboard(Ogre::RenderWindow& window)
{
    size_t handle = 0;
    window.getCustomAttribute("WINDOW", &handle);
    OIS::ParamList parameters;
    parameters.insert({"WINDOW", std::to_string(handle)});
    parameters.insert({"x11_keyboard_grab", "false"});
    parameters.insert({"x11_mouse_grab", "false"});
    parameters.insert({"x11_mouse_hide", "false"});
    mInputSystem = OIS::InputManager::createInputSystem(parameters);
    try
    {
        mKeyboard = static_cast<OIS::Keyboard*>(mInputSystem->createInputObject(OIS::OISKeyboard, true, ""));
    }
    catch (...)
    {
        OIS::InputManager::destroyInputSystem(mInputSystem);
        throw;
    }
    // OIS asks the X server for the window's keys on a connection of its own, and Xlib holds that request
    // back until the connection is next flushed, which OIS first does when it reads events: at the end of
    // the first frame. A key pressed meanwhile (that frame can take a second on a slow machine) would
    // never arrive. Reading now sends the request.
    mKeyboard->capture();
}

OisKeyboard::~OisKeyboard()
{
    mInputSystem->destroyInputObject(mKeyboard);
    OIS::InputManager::destroyInputSystem(mInputSystem);
}

void OisKeyboard::capture()
{
    mKeyboard->capture();
}

bool OisKeyboard::isKeyDown(OIS::KeyCode key) const
{
    return mKeyboard->isKeyDown(key);
}
