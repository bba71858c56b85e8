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

#include <csignal>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

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
// How long Xvfb may take to report its display number, and to exit once told to, in milliseconds.
constexpr int serverStartMs = 30000;
constexpr int serverStopMs = 5000;

// An Xvfb on a free display number, for the life of the test process.
class PrivateDisplay
{
  public:
    PrivateDisplay()
    {
        if (std::getenv("QUOBBEL_SHARED_DISPLAY"))
            return;
        int ready[2];
        if (pipe(ready) != 0)
            return;
        mServer = fork();
        if (mServer == 0)
        {
            // The server dies with the test process, and holds none of its output pipes open.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            const int nowhere = open("/dev/null", O_WRONLY);
            dup2(nowhere, 1);
            dup2(nowhere, 2);
            close(ready[0]);
            const std::string fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-noreset",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        std::string number;
        char c = 0;
        // A server that neither reports its display nor exits must not hang the test until ctest's limit.
        pollfd report = {ready[0], POLLIN, 0};
        while (mServer > 0 && poll(&report, 1, serverStartMs) == 1 && read(ready[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(ready[0]);
        if (!number.empty())
            setenv("DISPLAY", (":" + number).c_str(), 1);
    }
    ~PrivateDisplay()
    {
        if (mServer <= 0)
            return;
        kill(mServer, SIGTERM);
        for (int waited = 0; waited < serverStopMs; waited += 10)
        {
            if (waitpid(mServer, nullptr, WNOHANG) == mServer)
                return;
            usleep(10 * 1000);
        }
        kill(mServer, SIGKILL);
        waitpid(mServer, nullptr, 0);
    }
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

  private:
    pid_t mServer = -1;
};
} // namespace

int main(int argc, char** argv)
{
    setenv("ALSOFT_DRIVERS", "null", 0);
    preloadGlDriverAndRestart(argv);
    testing::InitGoogleTest(&argc, argv);
    const PrivateDisplay display;
    return RUN_ALL_TESTS();
}
