// SPDX-License-Identifier: Zlib
// Module, class and window operations on SDL. A window is one fixed-size SDL window with OpenGL
// support, created hidden at the requested screen position. Its frame belongs to the window
// manager: where there is none (or it has not framed the window yet) the outer rectangle is the
// client rectangle, and the client area is what gets placed at the requested position.
#include <cstdio>

#include "quill_mark/platform/sdl/qmi_sdl_state.h"

namespace qmImplementation::SdlLayer
{

namespace
{

SDL_Window* CreateSdlWindow(const char* caption, int x, int y, int width, int height,
                            const GlAttributes& attributes)
{
    ApplyAttributes(attributes);
    // Not resizable and without maximise, as the framework's window style asks.
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    return SDL_CreateWindow(caption, x, y, width > 0 ? width : 1, height > 0 ? height : 1, flags);
}

}  // namespace

// Called by SetPixelFormat when the window's visual does not fit the format; the window has no
// context yet, so nothing is lost.
bool RecreateSdlWindow(Window& window, const GlAttributes& attributes)
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(window.sdlWindow, &x, &y);
    SDL_GetWindowSize(window.sdlWindow, &width, &height);
    const std::string caption = SDL_GetWindowTitle(window.sdlWindow);
    const bool wasShown = (SDL_GetWindowFlags(window.sdlWindow) & SDL_WINDOW_SHOWN) != 0;
    SDL_Window* replacement = CreateSdlWindow(caption.c_str(), x, y, width, height, attributes);
    if (replacement == nullptr)
    {
        return false;
    }
    SDL_DestroyWindow(window.sdlWindow);
    window.sdlWindow = replacement;
    window.sdlWindowId = SDL_GetWindowID(replacement);
    window.attributes = attributes;
    if (wasShown)
    {
        SDL_ShowWindow(replacement);
    }
    return true;
}

HMODULE GetModuleHandleA(LPCSTR moduleName)
{
    return ModuleHandle(moduleName);
}

ATOM RegisterClassA(const WNDCLASSA* windowClass)
{
    return windowClass != nullptr ? GetState().classes.Register(*windowClass) : 0;
}

// The system's icon and arrow are the only resources; the arrow is SDL's default cursor.
HICON LoadIconA(HINSTANCE instance, LPCSTR iconName)
{
    return SystemIcon(instance, iconName);
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName)
{
    return SystemCursor(instance, cursorName);
}

// The styles are not looked at: every window is fixed-size, captioned and can be minimised.
HWND CreateWindowExA(DWORD /*exStyle*/, LPCSTR className, LPCSTR windowName, DWORD /*style*/, int x,
                     int y, int width, int height, HWND /*parent*/, HMENU /*menu*/,
                     HINSTANCE /*instance*/, LPVOID /*parameter*/)
{
    State& state = GetState();
    const RegisteredWindowClass* windowClass = state.classes.Find(className);
    if (windowClass == nullptr)
    {
        return nullptr;
    }
    // Without a window system there is no window; say why, as the caller only sees null.
    SDL_Window* sdlWindow = nullptr;
    const GlAttributes attributes;
    if (EnsureVideo())
    {
        sdlWindow = CreateSdlWindow(windowName != nullptr ? windowName : "", x, y, width, height,
                                    attributes);
    }
    if (sdlWindow == nullptr)
    {
        std::fprintf(stderr, "Quillmark: the window could not be created: %s\n", SDL_GetError());
        return nullptr;
    }
    Window& window = state.windows.emplace_back();
    window.procedure = windowClass->windowClass.lpfnWndProc;
    window.sdlWindow = sdlWindow;
    window.sdlWindowId = SDL_GetWindowID(sdlWindow);
    window.attributes = attributes;
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
    const WindowGeometry geometry = MeasureWindow(*live);
    *rect = RECT{0, 0, geometry.clientWidth, geometry.clientHeight};
    return 1;
}

BOOL GetWindowRect(HWND window, LPRECT rect)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr || rect == nullptr)
    {
        return 0;
    }
    const WindowGeometry geometry = MeasureWindow(*live);
    *rect = RECT{geometry.clientX - geometry.frameLeft, geometry.clientY - geometry.frameTop,
                 geometry.clientX + geometry.clientWidth + geometry.frameRight,
                 geometry.clientY + geometry.clientHeight + geometry.frameBottom};
    return 1;
}

// Sizes are outer sizes: the frame is taken off before the client area is sized. There is one
// top-level window at a time, so the z-order has nothing to change.
BOOL SetWindowPos(HWND window, HWND /*insertAfter*/, int x, int y, int width, int height,
                  UINT flags)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr)
    {
        return 0;
    }
    const WindowGeometry geometry = MeasureWindow(*live);
    const int clientWidth = width - geometry.frameLeft - geometry.frameRight;
    const int clientHeight = height - geometry.frameTop - geometry.frameBottom;
    SDL_SetWindowSize(live->sdlWindow, clientWidth > 0 ? clientWidth : 1,
                      clientHeight > 0 ? clientHeight : 1);
    if ((flags & SWP_NOMOVE) == 0)
    {
        SDL_SetWindowPosition(live->sdlWindow, x + geometry.frameLeft, y + geometry.frameTop);
    }
    return 1;
}

// A pending paint of a visible window is sent at once instead of waiting in the queue.
BOOL UpdateWindow(HWND window)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr)
    {
        return 0;
    }
    const bool isShown = (SDL_GetWindowFlags(live->sdlWindow) & SDL_WINDOW_SHOWN) != 0;
    if (isShown && GetState().queue.IsInvalid(window))
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
    const bool wasShown = (SDL_GetWindowFlags(live->sdlWindow) & SDL_WINDOW_SHOWN) != 0;
    if (command == SW_SHOW)
    {
        SDL_ShowWindow(live->sdlWindow);
    }
    return wasShown ? 1 : 0;
}

BOOL SetWindowTextA(HWND window, LPCSTR text)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr)
    {
        return 0;
    }
    SDL_SetWindowTitle(live->sdlWindow, text != nullptr ? text : "");
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
    SDL_DestroyWindow(live->sdlWindow);
    live->sdlWindow = nullptr;
    live->destroyed = true;
    GetState().queue.Validate(window);
    return 1;
}

}  // namespace qmImplementation::SdlLayer
