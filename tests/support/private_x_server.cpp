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

[[noreturn]] void ExecServer(int displayPipe)
{
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    const std::string descriptor = std::to_string(displayPipe);
    // -noreset: an X server resets when its last client leaves, refusing connections meanwhile;
    // the tests connect and leave all the time, and the program under test must never meet that.
    execlp("Xvfb", "Xvfb", "-displayfd", descriptor.c_str(), "-screen", "0", "1920x1080x24",
           "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
}

// The display number, terminated by a line break, or an empty string when none came in time.
std::string ReadDisplayNumber(int displayPipe)
{
    std::string number;
    char character = 0;
    pollfd waiting = {displayPipe, POLLIN, 0};
    while (poll(&waiting, 1, 20000) > 0 && read(displayPipe, &character, 1) == 1)
    {
        if (character == '\n')
        {
            return number;
        }
        number += character;
    }
    return "";
}

}  // namespace

std::string StartPrivateXServer()
{
    if (!theDisplayName.empty())
    {
        return theDisplayName;
    }
    int displayPipe[2] = {-1, -1};
    if (pipe(displayPipe) != 0)
    {
        return "";
    }
    theServerProcess = fork();
    if (theServerProcess == 0)
    {
        close(displayPipe[0]);
        ExecServer(displayPipe[1]);
    }
    close(displayPipe[1]);
    const std::string number = theServerProcess > 0 ? ReadDisplayNumber(displayPipe[0]) : "";
    close(displayPipe[0]);
    if (number.empty())
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
