// main() of every test executable: sets the environment the tests rely on, then runs the tests.
//
// - OpenAL Soft uses its silent backend unless a test chooses another one, so no test needs a sound card.
// - In the sanitizer build, Mesa's GL driver is preloaded: it is unloaded at exit otherwise, which turns
//   its own never-freed allocations into leak reports from an unknown module, burying real leaks of ours.
//   The variable must be set before the process starts, so the test executable starts itself again once.
//   Game binaries started by the tests inherit all of it.
// - Ogre's own malloc/delete[] mismatch in image loading is not reported (see below), nor libdbus's
//   allocation for the life of the process (tests/support/lsan.supp).
// - Each test process gets an X server of its own (Xvfb, when installed), so tests that run at the same
//   time never find, focus or close each other's windows. QUOBBEL_SHARED_DISPLAY=1 keeps DISPLAY as it is,
//   to watch a test on a real desktop.

#include <cstdlib>
#include <optional>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "support/private_display.h"

namespace
{
void preloadGlDriverAndRestart(char** argv)
{
#ifdef QUOBBEL_SANITIZE
    if (std::getenv("QUOBBEL_GL_PRELOADED"))
        return;
    const char* driver = QUOBBEL_MESA_DRI;
    const char* glx = QUOBBEL_MESA_GLX;
    if (!*driver || !*glx)
        return;
    setenv("QUOBBEL_GL_PRELOADED", "1", 1);
    setenv("LD_PRELOAD", (std::string(driver) + ":" + glx).c_str(), 1);
    const std::string asan = std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "";
    // Ogre's PNG codec allocates image memory with malloc and Ogre frees it with delete[]: a mismatch in
    // the engine that every texture load would report.
    setenv("ASAN_OPTIONS",
           (asan + (asan.empty() ? "" : ":") + "verify_asan_link_order=0:alloc_dealloc_mismatch=0").c_str(),
           1);
    // SDL starts libdbus's threading once per process and, by design, never shuts libdbus down: a
    // one-time allocation in the library, not a leak of ours.
    const std::string lsan = std::getenv("LSAN_OPTIONS") ? std::getenv("LSAN_OPTIONS") : "";
    setenv("LSAN_OPTIONS",
           (lsan + (lsan.empty() ? "" : ":") + "suppressions=" QUOBBEL_SOURCE_DIR "/tests/support/lsan.supp")
               .c_str(),
           1);
    execv("/proc/self/exe", argv);
#else
    (void)argv;
#endif
}
} // namespace

int main(int argc, char** argv)
{
    setenv("ALSOFT_DRIVERS", "null", 0);
    preloadGlDriverAndRestart(argv);
    testing::InitGoogleTest(&argc, argv);
    std::optional<PrivateDisplay> display;
    if (!std::getenv("QUOBBEL_SHARED_DISPLAY"))
    {
        display.emplace();
        if (!display->name().empty())
            setenv("DISPLAY", display->name().c_str(), 1);
    }
    return RUN_ALL_TESTS();
}
