#include "gui/clock.h"

#include <OgreTimer.h>

namespace buttonGUI
{

TimerClock::TimerClock() : mTimer(std::make_unique<Ogre::Timer>()) {}

TimerClock::~TimerClock() = default;

std::uint32_t TimerClock::milliseconds()
{
    return static_cast<std::uint32_t>(mTimer->getMilliseconds());
}

} // namespace buttonGUI
