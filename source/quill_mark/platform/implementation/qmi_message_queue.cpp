// SPDX-License-Identifier: Zlib
// Retrieval order follows Win32: posted and input messages, then WM_QUIT, then WM_PAINT. Taking
// from an empty queue allocates nothing, so an idle loop costs no memory work.
#include "quill_mark/platform/implementation/qmi_message_queue.h"

#include <algorithm>

#include "quill_mark/platform/qmi_seam_numbers.h"

namespace qmImplementation
{

using namespace qmSeam;

namespace
{

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG made = {};
    made.hwnd = window;
    made.message = message;
    made.wParam = wParam;
    made.lParam = lParam;
    return made;
}

}  // namespace

void MessageQueue::Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    posted.push_back(MakeMessage(window, message, wParam, lParam));
}

void MessageQueue::PostQuit(int exitCode)
{
    quitPosted = true;
    quitExitCode = exitCode;
}

void MessageQueue::Invalidate(HWND window)
{
    if (!IsInvalid(window))
    {
        invalidWindows.push_back(window);
    }
}

void MessageQueue::Validate(HWND window)
{
    invalidWindows.erase(std::remove(invalidWindows.begin(), invalidWindows.end(), window),
                         invalidWindows.end());
}

bool MessageQueue::IsInvalid(HWND window) const
{
    return std::find(invalidWindows.begin(), invalidWindows.end(), window) != invalidWindows.end();
}

bool MessageQueue::Retrieve(MSG& message)
{
    if (!posted.empty())
    {
        message = posted.front();
        posted.pop_front();
        return true;
    }
    if (quitPosted)
    {
        quitPosted = false;
        message = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(quitExitCode), 0);
        return true;
    }
    if (!invalidWindows.empty())
    {
        // Not removed: the window keeps asking until its paint is validated.
        message = MakeMessage(invalidWindows.front(), WM_PAINT, 0, 0);
        return true;
    }
    return false;
}

void MessageQueue::Clear()
{
    posted.clear();
    invalidWindows.clear();
    quitPosted = false;
    quitExitCode = 0;
}

}  // namespace qmImplementation
