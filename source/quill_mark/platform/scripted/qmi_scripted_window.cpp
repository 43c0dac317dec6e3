// Module, class and window operations of the scripted platform: windows are records with an
// outer rectangle and a frame, created hidden, and told of their creation and destruction
// through their procedure before the call returns.
#include <algorithm>

#include "quill_mark/platform/scripted/qmi_scripted_state.h"

using namespace qmImplementation::ScriptedPlatform;

namespace
{

void SetOuterSize(HWND__& window, int width, int height)
{
    window.windowRect.right = window.windowRect.left + std::max(width, 0);
    window.windowRect.bottom = window.windowRect.top + std::max(height, 0);
}

void MoveTo(HWND__& window, int x, int y)
{
    const LONG width = window.windowRect.right - window.windowRect.left;
    const LONG height = window.windowRect.bottom - window.windowRect.top;
    window.windowRect = RECT{x, y, x + width, y + height};
}

}  // namespace

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName)
{
    Record(PlatformCall::kGetModuleHandleA, nullptr, {moduleName != nullptr ? 1 : 0});
    return qmImplementation::ModuleHandle(moduleName);
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass)
{
    Record(PlatformCall::kRegisterClassA, nullptr);
    return windowClass != nullptr ? GetState().classes.Register(*windowClass) : 0;
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR iconName)
{
    Record(PlatformCall::kLoadIconA, nullptr, {AsArgument(instance), AsArgument(iconName)});
    return qmImplementation::SystemIcon(instance, iconName);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR cursorName)
{
    Record(PlatformCall::kLoadCursorA, nullptr, {AsArgument(instance), AsArgument(cursorName)});
    return qmImplementation::SystemCursor(instance, cursorName);
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND /*parent*/, HMENU /*menu*/,
                            HINSTANCE /*instance*/, LPVOID /*parameter*/)
{
    State& state = GetState();
    Record(PlatformCall::kCreateWindowExA, nullptr, {exStyle, style, x, y, width, height});
    const qmImplementation::RegisteredWindowClass* windowClass = state.classes.Find(className);
    if (windowClass == nullptr)
    {
        return nullptr;
    }
    HWND__& window = state.windows.emplace_back();
    window.procedure = windowClass->windowClass.lpfnWndProc;
    window.className = windowClass->name;
    window.caption = windowName != nullptr ? windowName : "";
    window.style = style;
    window.exStyle = exStyle;
    window.frame = state.frame;
    window.windowRect = RECT{x, y, x, y};
    SetOuterSize(window, width, height);
    SendToWindow(window, WM_CREATE, 0, 0);
    return &window;
}

BOOL WINAPI GetClientRect(HWND window, LPRECT rect)
{
    Record(PlatformCall::kGetClientRect, window);
    HWND__* live = FindLiveWindow(window);
    if (live == nullptr || rect == nullptr)
    {
        return 0;
    }
    *rect = RECT{0, 0, ClientWidth(*live), ClientHeight(*live)};
    return 1;
}

BOOL WINAPI GetWindowRect(HWND window, LPRECT rect)
{
    Record(PlatformCall::kGetWindowRect, window);
    HWND__* live = FindLiveWindow(window);
    if (live == nullptr || rect == nullptr)
    {
        return 0;
    }
    *rect = live->windowRect;
    return 1;
}

BOOL WINAPI SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height,
                         UINT flags)
{
    Record(PlatformCall::kSetWindowPos, window,
           {x, y, width, height, static_cast<std::intptr_t>(flags), AsArgument(insertAfter)});
    HWND__* live = FindLiveWindow(window);
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

BOOL WINAPI UpdateWindow(HWND window)
{
    Record(PlatformCall::kUpdateWindow, window);
    HWND__* live = FindLiveWindow(window);
    if (live == nullptr)
    {
        return 0;
    }
    // A pending paint of a visible window is sent at once instead of waiting in the queue.
    if (live->visible && GetState().queue.IsInvalid(live))
    {
        SendToWindow(*live, WM_PAINT, 0, 0);
    }
    return 1;
}

BOOL WINAPI ShowWindow(HWND window, int command)
{
    Record(PlatformCall::kShowWindow, window, {command});
    HWND__* live = FindLiveWindow(window);
    if (live == nullptr)
    {
        return 0;
    }
    const bool wasVisible = live->visible;
    if (command == SW_SHOW && !wasVisible)
    {
        live->visible = true;
        GetState().queue.Invalidate(live);
    }
    return wasVisible ? 1 : 0;
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text)
{
    Record(PlatformCall::kSetWindowTextA, window);
    HWND__* live = FindLiveWindow(window);
    if (live == nullptr)
    {
        return 0;
    }
    live->caption = text != nullptr ? text : "";
    ++live->captionChanges;
    return 1;
}

BOOL WINAPI DestroyWindow(HWND window)
{
    Record(PlatformCall::kDestroyWindow, window);
    HWND__* live = FindLiveWindow(window);
    // A window already on its way out (its WM_DESTROY handler asked again) is not destroyed twice.
    if (live == nullptr || live->destroying)
    {
        return 0;
    }
    live->destroying = true;
    live->visible = false;
    SendToWindow(*live, WM_DESTROY, 0, 0);
    live->destroyed = true;
    GetState().queue.ForgetWindow(live);
    return 1;
}
