// The SDL platform layer: the Win32-style seam of qm_platform.h answered by SDL2 on X11 or
// Wayland, for the game and the samples. This header holds the state its files share.
//
// What it provides, and where it differs from Win32:
//  [x] module, window class, icon, arrow   one module; class style, icon and brush are not used
//  [x] CreateWindowExA, DestroyWindow      styles are not read: fixed size, caption, minimise;
//                                          only on a desktop: else null, with SDL's reason on
//                                          standard error
//  [x] Get{Client,Window}Rect, SetWindowPos  the frame is the window manager's; with none, the
//                                          outer rectangle is the client rectangle
//  [x] UpdateWindow, ShowWindow, SetWindowTextA
//  [x] PeekMessageA, DispatchMessageA,     filters ignored, always removes; no character messages;
//      DefWindowProcA, PostQuitMessage     key releases SDL makes up on focus loss are dropped
//  [ ] TranslateMessage, IsDialogMessageA  no character messages, no dialogs: both answer 0
//  [x] GetCursorPos, ScreenToClient        exact on X11 (asked of the X server), SDL's elsewhere
//  [x] GetDC, ReleaseDC, pixel formats,    a device context is the window's own; the visual is
//      wgl*, SwapBuffers                   chosen when the format is set (the hidden window may be
//                                          made again); compatibility-profile contexts
//  [x] MessageBoxA                         SDL's box, "OK"/"Cancel"; 0 and a line on standard error
//                                          when no box can be shown
//  [x] QueryPerformance{Counter,Frequency} the monotonic clock in nanoseconds
//
// Windows and contexts are kept for the whole run, so a stale handle still points at memory of
// ours; handles are compared against the tables before any use.
#pragma once

#include <SDL.h>

#include <deque>
#include <string>

#include "quill_mark/platform/implementation/qmi_handle_tables.h"
#include "quill_mark/platform/qm_platform.h"

namespace qmImplementation::SdlPlatform
{

// What a pixel format asks of the OpenGL visual. On X11 the visual is fixed when the SDL window
// is created, so a window is created with the usual request and made again, while still hidden
// and without a context, if its pixel format asks for something else.
struct GlAttributes
{
    bool doubleBuffer = true;
    int redBits = 8;
    int greenBits = 8;
    int blueBits = 8;
    int alphaBits = 0;
    int depthBits = 16;
    int stencilBits = 8;

    bool operator==(const GlAttributes& other) const;
};

GlAttributes AttributesOf(const PIXELFORMATDESCRIPTOR& descriptor);
// Sets the attributes (and the compatibility profile) for the next window or context.
void ApplyAttributes(const GlAttributes& attributes);

}  // namespace qmImplementation::SdlPlatform

struct HWND__ : qmImplementation::WindowRecord
{
    HWND__() = default;
    HWND__(const HWND__&) = delete;
    HWND__& operator=(const HWND__&) = delete;

    SDL_Window* sdlWindow = nullptr;
    Uint32 sdlWindowId = 0;
    qmImplementation::SdlPlatform::GlAttributes attributes;
    HDC__ deviceContext = {this};
};

namespace qmImplementation::SdlPlatform
{

struct State : HandleTables<HWND__>
{
};

State& GetState();

inline HWND__* FindLiveWindow(HWND window)
{
    return GetState().FindLiveWindow(window);
}

// The window of a device context of ours (live or destroyed); null for anything else.
inline HWND__* FindDeviceContextWindow(HDC deviceContext)
{
    return GetState().FindDeviceContextWindow(deviceContext);
}

inline HGLRC__* FindContext(HGLRC context)
{
    return GetState().FindContext(context);
}

// Starts SDL's video subsystem on first use; false when no video driver could be started.
bool EnsureVideo();

HWND__* FindWindowBySdlId(Uint32 sdlWindowId);
// Any live window, for queries that need one; null when there is none.
HWND__* AnyLiveWindow();

// The client area in screen pixels and the frame the window manager puts around it (zero where
// there is no window manager or it has not framed the window yet).
struct WindowGeometry
{
    int clientX = 0;
    int clientY = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    int frameLeft = 0;
    int frameTop = 0;
    int frameRight = 0;
    int frameBottom = 0;
};
WindowGeometry MeasureWindow(const HWND__& window);

// Makes the window's SDL window again with other attributes, keeping caption, place, size and
// visibility; only valid while the window has no context.
bool RecreateSdlWindow(HWND__& window, const GlAttributes& attributes);

LRESULT SendToWindow(HWND__& window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qmImplementation::SdlPlatform
