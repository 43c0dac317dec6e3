// SPDX-License-Identifier: Zlib
// Module, class and window operations of the headless layer: windows are records with an
// outer rectangle and a frame, created hidden, and told of their creation and destruction
// through their procedure before the call returns.
#include <algorithm>

#include "quill_mark/platform/headless/qmi_headless_state.h"

namespace qmImplementation::HeadlessLayer
{

namespace
{

void SetOuterSize(Window& window, int width, int height)
{
    window.windowRect.right = window.windowRect.left + std::max(width, 0);
    window.windowRect.bottom = window.windowRect.top + std::max(height, 0);
}

void MoveTo(Window& window, int x, int y)
{
    const LONG width = window.windowRect.right - window.windowRect.left;
    const LONG height = window.windowRect.bottom - window.windowRect.top;
    window.windowRect = RECT{x, y, x + width, y + height};
}

}  // namespace

HMODULE GetModuleHandleA(LPCSTR moduleName)
{
    return ModuleHandle(moduleName);
}

ATOM RegisterClassA(const WNDCLASSA* windowClass)
{
    return windowClass != nullptr ? GetState().classes.Register(*windowClass) : 0;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR iconName)
{
    return SystemIcon(instance, iconName);
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName)
{
    return SystemCursor(instance, cursorName);
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND /*parent*/, HMENU /*menu*/, HINSTANCE /*instance*/,
                     LPVOID /*parameter*/)
{
    State& state = GetState();
    const RegisteredWindowClass* windowClass = state.classes.Find(className);
    if (windowClass == nullptr)
    {
        return nullptr;
    }
    Window& window = state.windows.emplace_back();
    window.procedure = windowClass->windowClass.lpfnWndProc;
    window.className = windowClass->name;
    window.caption = windowName != nullptr ? windowName : "";
    window.style = style;
    window.exStyle = exStyle;
    window.frame = state.frame;
    window.windowRect = RECT{x, y, x, y};
    SetOuterSize(window, width, height);
    State::Send(window, WM_CREATE, 0, 0);
    return State::HandleOf(window);
}

BOOL GetClientRect(HWND window, LPRECT rect)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr || rect == nullptr)
    {
        return 0;
    }
    *rect = RECT{0, 0, ClientWidth(*live), ClientHeight(*live)};
    return 1;
}

BOOL GetWindowRect(HWND window, LPRECT rect)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr || rect == nullptr)
    {
        return 0;
    }
    *rect = live->windowRect;
    return 1;
}

BOOL SetWindowPos(HWND window, HWND /*insertAfter*/, int x, int y, int width, int height,
                  UINT flags)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr)
    {
        return 0;
    }
    // There is one top-level window at a time, so the z-order has nothing to change.
    if ((flags & SWP_NOMOVE) == 0)
    {
        MoveTo(*live, x, y);
    }
    SetOuterSize(*live, width, height);
    return 1;
}

BOOL UpdateWindow(HWND window)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr)
    {
        return 0;
    }
    // A pending paint of a visible window is sent at once instead of waiting in the queue.
    if (live->visible && GetState().queue.IsInvalid(window))
    {
        State::Send(*live, WM_PAINT, 0, 0);
    }
    return 1;
}

BOOL ShowWindow(HWND window, int command)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr)
    {
        return 0;
    }
    const bool wasVisible = live->visible;
    if (command == SW_SHOW && !wasVisible)
    {
        live->visible = true;
        GetState().queue.Invalidate(window);
    }
    return wasVisible ? 1 : 0;
}

BOOL SetWindowTextA(HWND window, LPCSTR text)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr)
    {
        return 0;
    }
    live->caption = text != nullptr ? text : "";
    ++live->captionChanges;
    return 1;
}

BOOL DestroyWindow(HWND window)
{
    Window* live = GetState().FindLiveWindow(window);
    // A window already on its way out (its WM_DESTROY handler asked again) is not destroyed twice.
    if (live == nullptr || live->destroying)
    {
        return 0;
    }
    live->destroying = true;
    live->visible = false;
    State::Send(*live, WM_DESTROY, 0, 0);
    live->destroyed = true;
    GetState().queue.Validate(window);
    return 1;
}

}  // namespace qmImplementation::HeadlessLayer
