#pragma once

// Times every b2World::Step the program makes, on the calling thread's processor clock, so that the physics
// floor of a frame is measured inside the real frame and in the same units as the frame itself. The timing
// wraps Box2D's own Step: this file's definition of b2World::Step is linked into the benchmark ahead of the
// shared library's, and calls the library's. Linked only into the benchmark.
namespace stepTimer
{
// Steps made so far in this process.
long steps();
// Processor time of the last step, microseconds.
double lastMicros();
} // namespace stepTimer

// Processor time the calling thread has used, microseconds: unlike the wall clock, it does not count the
// time other programs on a shared machine hold the processor.
double threadCpuMicros();
