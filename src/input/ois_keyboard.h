#pragma once

#include "input/key_source.h"

namespace OIS
{
class InputManager;
class Keyboard;
} // namespace OIS
namespace Ogre
{
class RenderWindow;
}

// The real keyboard, read through OIS from the game window. The keyboard is not grabbed: other programs
// keep working and the window reads keys while it has the focus. No mouse is opened: nothing reads it,
// and opening one grabs, hides and warps the pointer. OIS filters key auto-repeat.
class OisKeyboard : public KeySource
{
  public:
    // The window must be mapped. Throws OIS::Exception when OIS cannot open the keyboard.
    explicit OisKeyboard(Ogre::RenderWindow& window);
    // Destroys the keyboard, then the input system.
    ~OisKeyboard() override;
    OisKeyboard(const OisKeyboard&) = delete;
    OisKeyboard& operator=(const OisKeyboard&) = delete;

    void capture() override;
    bool isKeyDown(OIS::KeyCode key) const override;

  private:
    OIS::InputManager* mInputSystem = nullptr;
    OIS::Keyboard* mKeyboard = nullptr;
};
