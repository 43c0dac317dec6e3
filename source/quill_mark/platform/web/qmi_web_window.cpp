// SPDX-License-Identifier: Zlib
// Module, class and window operations on the page. The window is the page's canvas: creating it
// sizes the canvas, and the page's layout decides where it sits, so the requested position is not
// used. There is no frame: the outer rectangle is the canvas itself, in viewport pixels.
#include <cmath>
#include <cstdio>

#include "quill_mark/platform/web/qmi_web_page.h"
#include "quill_mark/platform/web/qmi_web_state.h"

namespace qmImplementation::WebLayer
{

namespace
{

LONG Round(double value)
{
    return static_cast<LONG>(std::lround(value));
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

// The page has one canvas, so a second live window cannot be made; nor can one on a page without
// a canvas. Either way the caller only sees null, so the reason goes to the console.
HWND CreateWindowExA(DWORD /*exStyle*/, LPCSTR className, LPCSTR windowName, DWORD /*style*/,
                     int /*x*/, int /*y*/, int width, int height, HWND /*parent*/, HMENU /*menu*/,
                     HINSTANCE /*instance*/, LPVOID /*parameter*/)
{
    State& state = GetState();
    const RegisteredWindowClass* windowClass = state.classes.Find(className);
    if (windowClass == nullptr)
    {
        return nullptr;
    }
    if (!Page::HasCanvas() || CanvasWindow() != nullptr)
    {
        std::fprintf(stderr, "Quillmark: the window could not be created: %s\n",
                     Page::HasCanvas() ? "the page's canvas is in use" : "the page has no canvas");
        return nullptr;
    }
    ListenToPage();
    Page::SetCanvasSize(width > 0 ? width : 1, height > 0 ? height : 1);
    Page::SetTitle(windowName != nullptr ? windowName : "");
    Window& window = state.windows.emplace_back();
    window.procedure = windowClass->windowClass.lpfnWndProc;
    State::Send(window, WM_CREATE, 0, 0);
    return State::HandleOf(window);
}

BOOL GetClientRect(HWND window, LPRECT rect)
{
    if (GetState().FindLiveWindow(window) == nullptr || rect == nullptr)
    {
        return 0;
    }
    const CanvasPlacement canvas = Page::MeasureCanvas();
    *rect = RECT{0, 0, canvas.pixelWidth, canvas.pixelHeight};
    return 1;
}

// Where the page shows the canvas, in viewport pixels.
BOOL GetWindowRect(HWND window, LPRECT rect)
{
    if (GetState().FindLiveWindow(window) == nullptr || rect == nullptr)
    {
        return 0;
    }
    const CanvasPlacement canvas = Page::MeasureCanvas();
    *rect = RECT{Round(canvas.left), Round(canvas.top), Round(canvas.left + canvas.displayedWidth),
                 Round(canvas.top + canvas.displayedHeight)};
    return 1;
}

// With no frame the outer size is the client size; the page decides the place.
BOOL SetWindowPos(HWND window, HWND /*insertAfter*/, int /*x*/, int /*y*/, int width, int height,
                  UINT /*flags*/)
{
    if (GetState().FindLiveWindow(window) == nullptr)
    {
        return 0;
    }
    Page::SetCanvasSize(width > 0 ? width : 1, height > 0 ? height : 1);
    return 1;
}

// A pending paint of a shown window is sent at once instead of waiting in the queue.
BOOL UpdateWindow(HWND window)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr)
    {
        return 0;
    }
    if (live->shown && GetState().queue.IsInvalid(window))
    {
        State::Send(*live, WM_PAINT, 0, 0);
    }
    return 1;
}

// Showing the canvas for the first time asks for a paint, and tells the window whether the page
// has the focus, as a newly shown window learns whether it is the active one.
BOOL ShowWindow(HWND window, int command)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr)
    {
        return 0;
    }
    const bool wasShown = live->shown;
    if (command == SW_SHOW && !wasShown)
    {
        live->shown = true;
        Page::ShowCanvas();
        State& state = GetState();
        state.queue.Invalidate(window);
        if (Page::HasFocus())
        {
            state.queue.Post(window, WM_ACTIVATE, WA_ACTIVE, 0);
        }
    }
    return wasShown ? 1 : 0;
}

BOOL SetWindowTextA(HWND window, LPCSTR text)
{
    if (GetState().FindLiveWindow(window) == nullptr)
    {
        return 0;
    }
    Page::SetTitle(text != nullptr ? text : "");
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
    State::Send(*live, WM_DESTROY, 0, 0);
    live->destroyed = true;
    GetState().queue.Validate(window);
    return 1;
}

}  // namespace qmImplementation::WebLayer
