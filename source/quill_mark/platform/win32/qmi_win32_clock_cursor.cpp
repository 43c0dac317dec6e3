// SPDX-License-Identifier: Zlib
// The cursor, the message box and the performance counter on the real API.
#include "quill_mark/platform/win32/qmi_win32_state.h"

namespace qmImplementation::Win32Layer
{

void Copy(const ::RECT& from, qmSeam::RECT& to)
{
    to = qmSeam::RECT{from.left, from.top, from.right, from.bottom};
}

BOOL GetCursorPos(LPPOINT point)
{
    ::POINT system = {};
    if (point == nullptr || ::GetCursorPos(&system) == 0)
    {
        return 0;
    }
    *point = qmSeam::POINT{system.x, system.y};
    return 1;
}

BOOL ScreenToClient(HWND window, LPPOINT point)
{
    if (point == nullptr)
    {
        return 0;
    }
    ::POINT system = {point->x, point->y};
    if (::ScreenToClient(Handle<::HWND>(window), &system) == 0)
    {
        return 0;
    }
    *point = qmSeam::POINT{system.x, system.y};
    return 1;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    return ::MessageBoxA(Handle<::HWND>(owner), text, caption, type);
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    ::LARGE_INTEGER system = {};
    if (frequency == nullptr || ::QueryPerformanceFrequency(&system) == 0)
    {
        return 0;
    }
    frequency->QuadPart = system.QuadPart;
    return 1;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count)
{
    ::LARGE_INTEGER system = {};
    if (count == nullptr || ::QueryPerformanceCounter(&system) == 0)
    {
        return 0;
    }
    count->QuadPart = system.QuadPart;
    return 1;
}

}  // namespace qmImplementation::Win32Layer
