// SPDX-License-Identifier: Zlib
// The message queue of the headless layer: what the driver posts, and the default handling of
// the few messages whose default matters to the framework.
#include "quill_mark/platform/headless/qmi_headless_state.h"

namespace qmImplementation::HeadlessLayer
{

// The filters are not applied: the framework drains the whole queue of its thread, and removing
// is the only mode this layer offers.
BOOL PeekMessageA(LPMSG message, HWND /*window*/, UINT /*filterMin*/, UINT /*filterMax*/,
                  UINT /*remove*/)
{
    return message != nullptr && GetState().queue.Retrieve(*message) ? 1 : 0;
}

// No character messages are made: nothing in the framework reads text input.
BOOL TranslateMessage(const MSG* /*message*/)
{
    return 0;
}

LRESULT DispatchMessageA(const MSG* message)
{
    return GetState().Dispatch(message);
}

// This layer has no dialog windows.
BOOL IsDialogMessageA(HWND /*dialog*/, LPMSG /*message*/)
{
    return 0;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (message == WM_CLOSE)
    {
        DestroyWindow(window);
    }
    else if (message == WM_PAINT)
    {
        GetState().queue.Validate(window);
    }
    return 0;
}

void PostQuitMessage(int exitCode)
{
    GetState().queue.PostQuit(exitCode);
}

}  // namespace qmImplementation::HeadlessLayer
