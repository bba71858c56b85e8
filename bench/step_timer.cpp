#include "step_timer.h"

#include <cstring>
#include <ctime>
#include <stdexcept>

#include <box2d/box2d.h>
#include <dlfcn.h>

namespace
{
using StepFunction = void (*)(b2World*, float, int32, int32);

long gSteps = 0;
double gLastMicros = 0;

StepFunction libraryStep()
{
    void* symbol = dlsym(RTLD_NEXT, "_ZN7b2World4StepEfii");
    if (!symbol)
        throw std::runtime_error("Box2D's b2World::Step not found");
    StepFunction step = nullptr;
    std::memcpy(&step, &symbol, sizeof step);
    return step;
}
} // namespace

double threadCpuMicros()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

void b2World::Step(float timeStep, int32 velocityIterations, int32 positionIterations)
{
    static const StepFunction step = libraryStep();
    const double start = threadCpuMicros();
    step(this, timeStep, velocityIterations, positionIterations);
    gLastMicros = threadCpuMicros() - start;
    ++gSteps;
}

namespace stepTimer
{
long steps()
{
    return gSteps;
}

double lastMicros()
{
    return gLastMicros;
}
} // namespace stepTimer
