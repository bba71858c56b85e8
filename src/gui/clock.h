#pragma once

#include <cstdint>
#include <memory>

namespace Ogre
{
class Timer;
}

namespace buttonGUI
{

// The time base of fades: milliseconds since an arbitrary start, counting up and wrapping at 2^32.
// Replaceable so that fades can be driven step by step without waiting.
class Clock
{
  public:
    virtual ~Clock() = default;
    virtual std::uint32_t milliseconds() = 0;
};

// Real time from the engine's timer, starting at 0 when made.
class TimerClock : public Clock
{
  public:
    TimerClock();
    ~TimerClock() override;
    std::uint32_t milliseconds() override;

  private:
    std::unique_ptr<Ogre::Timer> mTimer;
};

// Time that moves only when told to; for tests and tools.
class ManualClock : public Clock
{
  public:
    std::uint32_t milliseconds() override { return mNow; }
    void advance(std::uint32_t ms) { mNow += ms; }
    void set(std::uint32_t ms) { mNow = ms; }

  private:
    std::uint32_t mNow = 0;
};

} // namespace buttonGUI
