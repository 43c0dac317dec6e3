// The thread's message queue as both platform layers keep it: posted and input messages in
// order, then the quit request, then paint requests, which stay until the window is validated.
// It knows nothing of windows beyond their handles; the layers decide what to post.
#pragma once

#include <deque>
#include <vector>

#include "quill_mark/platform/qm_platform.h"

namespace qmImplementation
{

class MessageQueue
{
public:
    void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // WM_QUIT is handed out once everything posted before (and after) it has been taken.
    void PostQuit(int exitCode);
    // The window wants WM_PAINT; it keeps getting it until Validate.
    void Invalidate(HWND window);
    void Validate(HWND window);
    bool IsInvalid(HWND window) const;
    // A destroyed window needs no more painting; its posted messages stay and are ignored when
    // dispatched, as its handle no longer names a window.
    void ForgetWindow(HWND window);
    // Takes the next message; false (and nothing written) when there is none.
    bool Retrieve(MSG& message);
    void Clear();

private:
    std::deque<MSG> posted;
    std::vector<HWND> invalidWindows;
    bool quitPosted = false;
    int quitExitCode = 0;
};

}  // namespace qmImplementation
