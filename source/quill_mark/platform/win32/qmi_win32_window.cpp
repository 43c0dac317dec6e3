// SPDX-License-Identifier: Zlib
// Module, class and window operations on the real API, and the layer's window procedure, which
// passes each message on to the procedure the framework registered for the window's class.
#include <vector>

#include "quill_mark/platform/win32/qmi_win32_state.h"

namespace qmImplementation::Win32Layer
{

namespace
{

struct RegisteredClass
{
    ::ATOM atom;
    qmSeam::WNDPROC procedure;
};

// One entry per class the framework registered; classes are never unregistered.
std::vector<RegisteredClass> theClasses;

qmSeam::WNDPROC ProcedureOf(::HWND window)
{
    const auto atom = static_cast<::ATOM>(::GetClassWord(window, GCW_ATOM));
    for (const RegisteredClass& registered : theClasses)
    {
        if (registered.atom == atom)
        {
            return registered.procedure;
        }
    }
    return nullptr;
}

}  // namespace

// The window activation and close request the system sends go into the queue again, marked by
// the window's own handle as lParam (which the system never sends with them), so that the
// framework takes them from PeekMessageA; the mark is gone again when the framework gets them.
bool IsReposted(::HWND window, ::UINT message, ::LPARAM lParam)
{
    return (message == WM_CLOSE || message == WM_ACTIVATE) &&
           lParam == reinterpret_cast<::LPARAM>(window);
}

LRESULT DispatchToFramework(const ::MSG& message)
{
    const qmSeam::WNDPROC procedure = ProcedureOf(message.hwnd);
    if (procedure == nullptr)
    {
        return ::DispatchMessageA(&message);
    }
    return procedure(Handle<HWND>(message.hwnd), message.message, message.wParam, message.lParam);
}

::LRESULT CALLBACK ClassProcedure(::HWND window, ::UINT message, ::WPARAM wParam, ::LPARAM lParam)
{
    const qmSeam::WNDPROC procedure = ProcedureOf(window);
    if (procedure == nullptr)
    {
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    if (IsReposted(window, message, lParam))
    {
        return procedure(Handle<HWND>(window), message, wParam, 0);
    }
    if (message == WM_CLOSE || message == WM_ACTIVATE)
    {
        ::PostMessageA(window, message, wParam, reinterpret_cast<::LPARAM>(window));
        // Activation keeps the system's handling (the keyboard focus) at the moment it happens.
        return message == WM_ACTIVATE ? ::DefWindowProcA(window, message, wParam, lParam) : 0;
    }
    return procedure(Handle<HWND>(window), message, wParam, lParam);
}

HMODULE GetModuleHandleA(LPCSTR moduleName)
{
    return Handle<HMODULE>(::GetModuleHandleA(moduleName));
}

ATOM RegisterClassA(const WNDCLASSA* windowClass)
{
    if (windowClass == nullptr || windowClass->lpfnWndProc == nullptr)
    {
        return 0;
    }
    ::WNDCLASSA system = {};
    system.style = windowClass->style;
    system.lpfnWndProc = ClassProcedure;
    system.cbClsExtra = windowClass->cbClsExtra;
    system.cbWndExtra = windowClass->cbWndExtra;
    system.hInstance = Handle<::HINSTANCE>(windowClass->hInstance);
    system.hIcon = Handle<::HICON>(windowClass->hIcon);
    system.hCursor = Handle<::HCURSOR>(windowClass->hCursor);
    system.hbrBackground = Handle<::HBRUSH>(windowClass->hbrBackground);
    system.lpszMenuName = windowClass->lpszMenuName;
    system.lpszClassName = windowClass->lpszClassName;
    const ::ATOM atom = ::RegisterClassA(&system);
    if (atom != 0)
    {
        theClasses.push_back(RegisteredClass{atom, windowClass->lpfnWndProc});
    }
    return atom;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR iconName)
{
    return Handle<HICON>(::LoadIconA(Handle<::HINSTANCE>(instance), iconName));
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName)
{
    return Handle<HCURSOR>(::LoadCursorA(Handle<::HINSTANCE>(instance), cursorName));
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID parameter)
{
    return Handle<HWND>(::CreateWindowExA(exStyle, className, windowName, style, x, y, width,
                                          height, Handle<::HWND>(parent), Handle<::HMENU>(menu),
                                          Handle<::HINSTANCE>(instance), parameter));
}

BOOL GetClientRect(HWND window, LPRECT rect)
{
    ::RECT system = {};
    const BOOL result = ::GetClientRect(Handle<::HWND>(window), &system);
    if (result != 0 && rect != nullptr)
    {
        Copy(system, *rect);
    }
    return rect != nullptr ? result : 0;
}

BOOL GetWindowRect(HWND window, LPRECT rect)
{
    ::RECT system = {};
    const BOOL result = ::GetWindowRect(Handle<::HWND>(window), &system);
    if (result != 0 && rect != nullptr)
    {
        Copy(system, *rect);
    }
    return rect != nullptr ? result : 0;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    return ::SetWindowPos(Handle<::HWND>(window), Handle<::HWND>(insertAfter), x, y, width, height,
                          flags);
}

BOOL UpdateWindow(HWND window)
{
    return ::UpdateWindow(Handle<::HWND>(window));
}

BOOL ShowWindow(HWND window, int command)
{
    return ::ShowWindow(Handle<::HWND>(window), command);
}

BOOL SetWindowTextA(HWND window, LPCSTR text)
{
    return ::SetWindowTextA(Handle<::HWND>(window), text);
}

BOOL DestroyWindow(HWND window)
{
    return ::DestroyWindow(Handle<::HWND>(window));
}

}  // namespace qmImplementation::Win32Layer
