#pragma once

// Counts the heap allocations the calling thread makes between start() and stop(): every global operator
// new and every malloc, calloc and realloc, whoever calls them (the game, the engine, Box2D, the C++
// library). Other threads (music streaming, the sound mixer) are never counted. The counting replaces the
// global allocation functions of the whole program, so it is linked only into the benchmark.

struct AllocationTally
{
    long news = 0;    // operator new and new[]
    long mallocs = 0; // malloc, calloc, realloc
    long total() const { return news + mallocs; }
};

namespace allocationCount
{
// False in the sanitizer build, whose runtime owns the allocation functions.
bool available();
void start();
AllocationTally stop();
// Prints the call stack of the next `count` counted allocations to standard error, to find their source.
void traceNext(int count);
// Whether call stacks are still being printed.
bool tracing();
} // namespace allocationCount
