// SPDX-License-Identifier: Zlib
// Xvfb picks a free display number itself and writes it to a pipe once it accepts clients
// (-displayfd), which is also how readiness is known without polling.
#include "support/private_x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace QuillmarkTest
{

namespace
{

pid_t theServerProcess = 0;
std::string theDisplayName;

void StopServer()
{
    if (theServerProcess > 0)
    {
        kill(theServerProcess, SIGTERM);
        waitpid(theServerProcess, nullptr, 0);
        theServerProcess = 0;
    }
}

}  // namespace

std::string StartPrivateXServer()
{
    int displayPipe[2] = {-1, -1};
    if (!theDisplayName.empty() || pipe(displayPipe) != 0)
        return theDisplayName;
    theServerProcess = fork();
    if (theServerProcess == 0)
    {
        close(displayPipe[0]);
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        const std::string descriptor = std::to_string(displayPipe[1]);
        // -noreset: a server resets (refusing connections) when its last client leaves, which
        // tests coming and going would otherwise keep meeting.
        execlp("Xvfb", "Xvfb", "-displayfd", descriptor.c_str(), "-screen", "0", "1920x1080x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(displayPipe[1]);
    // The display number; nothing in time means no server.
    std::string number;
    char character = 0;
    pollfd waiting = {displayPipe[0], POLLIN, 0};
    while (theServerProcess > 0 && poll(&waiting, 1, 20000) > 0 &&
           read(displayPipe[0], &character, 1) == 1 && character != '\n')
        number += character;
    close(displayPipe[0]);
    if (character != '\n' || number.empty())
    {
        StopServer();
        return "";
    }
    std::atexit(StopServer);
    theDisplayName = ":" + number;
    setenv("DISPLAY", theDisplayName.c_str(), 1);
    return theDisplayName;
}

}  // namespace QuillmarkTest
