// End-to-end support: runs a program as a child process in a chosen folder with extra environment
// variables and its standard output sent to a file, and waits for it with a deadline, so a game
// that hangs (or an error box nobody answers) fails the test instead of stalling the run.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace QuillmarkTest
{

class ChildProcess
{
public:
    // environment: "NAME=value" entries added to (or replacing those of) the test's environment.
    ChildProcess(const std::string& program, const std::string& workingDirectory,
                 const std::vector<std::string>& environment, const std::string& outputPath);
    // Takes over a child that was started elsewhere.
    explicit ChildProcess(pid_t pid) : mPid(pid) {}
    // Kills the child if it is still running, so no test leaves a game behind.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return mPid > 0; }
    pid_t Pid() const { return mPid; }
    bool IsRunning();
    // True when the child ended within the deadline; exitCode is then its exit code, or -signal
    // when a signal ended it.
    bool WaitForExit(double seconds, int& exitCode);

private:
    bool Reap(int options);

    pid_t mPid = -1;
    bool mExited = false;
    int mExitCode = 0;
};

// Runs a command line through /bin/sh and waits for it (used for xdotool); its exit code.
int RunCommand(const std::string& commandLine);

// Sleeps for the given number of seconds (fractions allowed).
void SleepSeconds(double seconds);

}  // namespace QuillmarkTest
