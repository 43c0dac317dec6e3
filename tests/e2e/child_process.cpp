// fork/exec with the child's output redirected before exec; waiting polls waitpid so a deadline
// can be kept without signals or threads.
#include "e2e/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace QuillmarkTest
{

ChildProcess::ChildProcess(const std::string& program, const std::string& workingDirectory,
                           const std::vector<std::string>& environment,
                           const std::string& outputPath)
{
    // Everything the child needs is prepared before fork: after it only async-signal-safe calls.
    std::vector<std::string> names;
    std::vector<std::string> values;
    for (const std::string& entry : environment)
    {
        const std::size_t equals = entry.find('=');
        names.push_back(entry.substr(0, equals));
        values.push_back(equals == std::string::npos ? "" : entry.substr(equals + 1));
    }
    std::fflush(nullptr);
    mPid = fork();
    if (mPid != 0)
    {
        return;
    }
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        setenv(names[i].c_str(), values[i].c_str(), 1);
    }
    const int output = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (output >= 0)
    {
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        close(output);
    }
    if (chdir(workingDirectory.c_str()) != 0)
    {
        _exit(126);
    }
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

ChildProcess::~ChildProcess()
{
    if (mPid > 0 && !mExited)
    {
        kill(mPid, SIGKILL);
        Reap(0);
    }
}

bool ChildProcess::Reap(int options)
{
    int status = 0;
    const pid_t result = waitpid(mPid, &status, options);
    if (result != mPid)
    {
        return false;
    }
    mExited = true;
    mExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return true;
}

bool ChildProcess::IsRunning()
{
    return mPid > 0 && !mExited && !Reap(WNOHANG);
}

bool ChildProcess::WaitForExit(double seconds, int& exitCode)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (IsRunning() && std::chrono::steady_clock::now() < deadline)
    {
        SleepSeconds(0.02);
    }
    exitCode = mExitCode;
    return mExited;
}

int RunCommand(const std::string& commandLine)
{
    const int status = std::system(commandLine.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void SleepSeconds(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

}  // namespace QuillmarkTest
