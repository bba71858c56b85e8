#include "support/private_display.h"

#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
// How long Xvfb may take to report its display number, and to exit once told to, in milliseconds.
constexpr int serverStartMs = 30000;
constexpr int serverStopMs = 5000;
} // namespace

PrivateDisplay::PrivateDisplay()
{
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
        mName = ":" + number;
}

PrivateDisplay::~PrivateDisplay()
{
    if (mServer <= 0)
        return;
    ::kill(mServer, SIGTERM);
    for (int waited = 0; waited < serverStopMs; waited += 10)
    {
        if (waitpid(mServer, nullptr, WNOHANG) == mServer)
            return;
        usleep(10 * 1000);
    }
    kill();
}

void PrivateDisplay::kill()
{
    if (mServer <= 0)
        return;
    ::kill(mServer, SIGKILL);
    waitpid(mServer, nullptr, 0);
    mServer = -1;
}
