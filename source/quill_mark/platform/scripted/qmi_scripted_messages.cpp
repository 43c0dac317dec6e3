// The message queue of the scripted platform: what tests post, what window destruction posts,
// and the default handling of the few messages whose default matters to the framework.
#include "quill_mark/platform/scripted/qmi_scripted_state.h"

using namespace qmImplementation::ScriptedPlatform;

namespace
{

std::intptr_t MessageArgument(const MSG* message, int field)
{
    if (message == nullptr)
    {
        return 0;
    }
    switch (field)
    {
        case 0:
            return message->message;
        case 1:
            return static_cast<std::intptr_t>(message->wParam);
        default:
            return message->lParam;
    }
}

void RecordMessageCall(PlatformCall call, const MSG* message)
{
    Record(call, message != nullptr ? message->hwnd : nullptr,
           {MessageArgument(message, 0), MessageArgument(message, 1), MessageArgument(message, 2)});
}

}  // namespace

// The filters are not applied: the framework drains the whole queue of its thread, and removing
// is the only mode this platform offers.
BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove)
{
    const bool taken = message != nullptr && GetState().queue.Retrieve(*message);
    Record(PlatformCall::kPeekMessageA, window,
           {filterMin, filterMax, remove, taken ? 1 : 0, taken ? message->message : 0});
    return taken ? 1 : 0;
}

// No character messages are made: nothing in the framework reads text input.
BOOL WINAPI TranslateMessage(const MSG* message)
{
    RecordMessageCall(PlatformCall::kTranslateMessage, message);
    return 0;
}

LRESULT WINAPI DispatchMessageA(const MSG* message)
{
    RecordMessageCall(PlatformCall::kDispatchMessageA, message);
    HWND__* live = message != nullptr ? FindLiveWindow(message->hwnd) : nullptr;
    if (live == nullptr)
    {
        return 0;
    }
    return SendToWindow(*live, message->message, message->wParam, message->lParam);
}

// This platform has no dialog windows.
BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG message)
{
    Record(PlatformCall::kIsDialogMessageA, dialog,
           {MessageArgument(message, 0), MessageArgument(message, 1), MessageArgument(message, 2)});
    return 0;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Record(PlatformCall::kDefWindowProcA, window,
           {message, static_cast<std::intptr_t>(wParam), lParam});
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

void WINAPI PostQuitMessage(int exitCode)
{
    Record(PlatformCall::kPostQuitMessage, nullptr, {exitCode});
    GetState().queue.PostQuit(exitCode);
}
