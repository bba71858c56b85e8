#pragma once

#include <bitset>

#include <OISKeyboard.h>

// Where `InputState` reads key states from: the real keyboard in the game (`OisKeyboard`), a program in
// tests and replays (`ScriptedKeys`). Main thread only.
class KeySource
{
  public:
    virtual ~KeySource() = default;
    // Takes in what happened since the last capture; isKeyDown answers from it until the next one.
    virtual void capture() = 0;
    // Whether the key was down at the last capture.
    virtual bool isKeyDown(OIS::KeyCode key) const = 0;
};

// Keys held by a program. Changes made between two captures show at the second one, as with a real
// keyboard, so a replay sets each frame's held keys before that frame's `InputState::update`.
class ScriptedKeys : public KeySource
{
  public:
    void press(OIS::KeyCode key) { mPending.set(key); }
    void release(OIS::KeyCode key) { mPending.reset(key); }
    void setHeld(OIS::KeyCode key, bool down) { mPending.set(key, down); }
    void releaseAll() { mPending.reset(); }

    void capture() override { mCaptured = mPending; }
    bool isKeyDown(OIS::KeyCode key) const override { return mCaptured.test(key); }

  private:
    // Indexed by OIS key code (0 to 255).
    std::bitset<256> mPending;
    std::bitset<256> mCaptured;
};
