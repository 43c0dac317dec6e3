// SPDX-License-Identifier: Zlib
// The thread's message queue as the layers without a system queue keep it: posted and input
// messages in order, then the quit request, then paint requests, which stay until the window is
// validated. It knows nothing of windows beyond their handles; the layers decide what to post.
#pragma once

#include <deque>
#include <vector>

#include "quill_mark/platform/qmi_seam.h"

namespace qmImplementation
{

class MessageQueue
{
public:
    void Post(qmSeam::HWND window, qmSeam::UINT message, qmSeam::WPARAM wParam,
              qmSeam::LPARAM lParam);
    // WM_QUIT is handed out once everything posted before (and after) it has been taken.
    void PostQuit(int exitCode);
    // The window wants WM_PAINT; it keeps getting it until Validate.
    void Invalidate(qmSeam::HWND window);
    void Validate(qmSeam::HWND window);
    bool IsInvalid(qmSeam::HWND window) const;
    // Takes the next message; false (and nothing written) when there is none.
    bool Retrieve(qmSeam::MSG& message);
    void Clear();

private:
    std::deque<qmSeam::MSG> posted;
    std::vector<qmSeam::HWND> invalidWindows;
    bool quitPosted = false;
    int quitExitCode = 0;
};

}  // namespace qmImplementation
