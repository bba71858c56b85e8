#include "allocation_counter.h"

#include <cstddef>
#include <new>

#include <execinfo.h>
#include <unistd.h>

#ifndef QUOBBEL_NO_ALLOCATION_COUNT

// glibc's own allocator, which the replacements below forward to.
extern "C"
{
    void* __libc_malloc(std::size_t size);
    void* __libc_calloc(std::size_t count, std::size_t size);
    void* __libc_realloc(void* block, std::size_t size);
    void* __libc_memalign(std::size_t alignment, std::size_t size);
    void __libc_free(void* block);
}

namespace
{
// Thread-local, so other threads neither count nor race; plain integers in static TLS, so touching them
// never allocates.
thread_local bool tCounting = false;
thread_local bool tInHook = false;
thread_local long tNews = 0;
thread_local long tMallocs = 0;
thread_local int tTraces = 0;

void noteAllocation(long& counter)
{
    if (!tCounting || tInHook)
        return;
    ++counter;
    if (tTraces > 0)
    {
        tInHook = true;
        --tTraces;
        void* frames[64];
        const int depth = backtrace(frames, 64);
        backtrace_symbols_fd(frames, depth, 2);
        static const char rule[] = "----\n";
        (void)!::write(2, rule, sizeof rule - 1);
        tInHook = false;
    }
}

void* allocateOrThrow(std::size_t size)
{
    noteAllocation(tNews);
    if (void* block = __libc_malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void* allocateAlignedOrThrow(std::size_t size, std::align_val_t alignment)
{
    noteAllocation(tNews);
    if (void* block = __libc_memalign(static_cast<std::size_t>(alignment), size ? size : 1))
        return block;
    throw std::bad_alloc();
}
} // namespace

extern "C"
{
    void* malloc(std::size_t size) noexcept
    {
        noteAllocation(tMallocs);
        return __libc_malloc(size);
    }
    void* calloc(std::size_t count, std::size_t size) noexcept
    {
        noteAllocation(tMallocs);
        return __libc_calloc(count, size);
    }
    void* realloc(void* block, std::size_t size) noexcept
    {
        noteAllocation(tMallocs);
        return __libc_realloc(block, size);
    }
    void free(void* block) noexcept
    {
        __libc_free(block);
    }
}

void* operator new(std::size_t size)
{
    return allocateOrThrow(size);
}
void* operator new[](std::size_t size)
{
    return allocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    noteAllocation(tNews);
    return __libc_malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    noteAllocation(tNews);
    return __libc_malloc(size ? size : 1);
}
void* operator new(std::size_t size, std::align_val_t alignment)
{
    return allocateAlignedOrThrow(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return allocateAlignedOrThrow(size, alignment);
}
void operator delete(void* block) noexcept
{
    __libc_free(block);
}
void operator delete[](void* block) noexcept
{
    __libc_free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    __libc_free(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    __libc_free(block);
}
void operator delete(void* block, std::align_val_t) noexcept
{
    __libc_free(block);
}
void operator delete[](void* block, std::align_val_t) noexcept
{
    __libc_free(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept
{
    __libc_free(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept
{
    __libc_free(block);
}

namespace allocationCount
{
bool available()
{
    return true;
}

void start()
{
    tNews = tMallocs = 0;
    tCounting = true;
}

AllocationTally stop()
{
    tCounting = false;
    return AllocationTally{tNews, tMallocs};
}

void traceNext(int count)
{
    // The first backtrace loads the unwinder, which allocates: do it before anything is counted.
    void* frames[2];
    backtrace(frames, 2);
    tTraces = count;
}

bool tracing()
{
    return tTraces > 0;
}
} // namespace allocationCount

#else

namespace allocationCount
{
bool available()
{
    return false;
}
void start() {}
AllocationTally stop()
{
    return AllocationTally{};
}
void traceNext(int) {}
bool tracing()
{
    return false;
}
} // namespace allocationCount

#endif
