// SPDX-License-Identifier: Zlib
// The message queue on the real API: the seam's message record is the system's, field for field.
#include "quill_mark/platform/win32/qmi_win32_state.h"

namespace qmImplementation::Win32Layer
{

::MSG ToSystem(const MSG& message)
{
    ::MSG system = {};
    system.hwnd = Handle<::HWND>(message.hwnd);
    system.message = message.message;
    system.wParam = message.wParam;
    system.lParam = message.lParam;
    system.time = message.time;
    system.pt = ::POINT{message.pt.x, message.pt.y};
    return system;
}

MSG FromSystem(const ::MSG& system)
{
    MSG message = {};
    message.hwnd = Handle<HWND>(system.hwnd);
    message.message = system.message;
    message.wParam = system.wParam;
    message.lParam = system.lParam;
    message.time = system.time;
    message.pt = qmSeam::POINT{system.pt.x, system.pt.y};
    return message;
}

BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove)
{
    ::MSG system = {};
    if (message == nullptr ||
        ::PeekMessageA(&system, Handle<::HWND>(window), filterMin, filterMax, remove) == 0)
    {
        return 0;
    }
    if (IsReposted(system.hwnd, system.message, system.lParam))
    {
        system.lParam = 0;
    }
    *message = FromSystem(system);
    return 1;
}

BOOL TranslateMessage(const MSG* message)
{
    if (message == nullptr)
    {
        return 0;
    }
    const ::MSG system = ToSystem(*message);
    return ::TranslateMessage(&system);
}

LRESULT DispatchMessageA(const MSG* message)
{
    if (message == nullptr)
    {
        return 0;
    }
    const ::MSG system = ToSystem(*message);
    if (system.message == WM_CLOSE || system.message == WM_ACTIVATE)
    {
        return DispatchToFramework(system);
    }
    return ::DispatchMessageA(&system);
}

BOOL IsDialogMessageA(HWND dialog, LPMSG message)
{
    if (message == nullptr)
    {
        return 0;
    }
    ::MSG system = ToSystem(*message);
    return ::IsDialogMessageA(Handle<::HWND>(dialog), &system);
}

// Activation had the system's handling when it was sent (see ClassProcedure); the framework's
// copy, later, must not move the focus again.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ACTIVATE)
    {
        return 0;
    }
    return ::DefWindowProcA(Handle<::HWND>(window), message, wParam, lParam);
}

void PostQuitMessage(int exitCode)
{
    ::PostQuitMessage(exitCode);
}

}  // namespace qmImplementation::Win32Layer
