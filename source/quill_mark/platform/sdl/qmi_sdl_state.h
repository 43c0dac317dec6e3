// SPDX-License-Identifier: Zlib
// The SDL layer: the seam (qmi_seam.h) answered by SDL2 on X11 or Wayland, the desktop's live
// layer. This header holds the state its files share and declares the operations they define.
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
//      DefWindowProcA, PostQuitMessage     closing the window posts WM_CLOSE; key releases SDL
//                                          makes up on focus loss are dropped
//  [ ] TranslateMessage, IsDialogMessageA  no character messages, no dialogs: both answer 0
//  [x] GetCursorPos, ScreenToClient        exact on X11 (asked of the X server), SDL's elsewhere
//  [x] GetDC, ReleaseDC, pixel formats,    a device context is the window's own; the visual is
//      wgl*, SwapBuffers                   chosen when the format is set (the hidden window may be
//                                          made again); compatibility-profile contexts
//  [x] MessageBoxA                         SDL's box, "OK"/"Cancel"; 0 and a line on standard error
//                                          when no box can be shown
//  [x] QueryPerformance{Counter,Frequency} the monotonic clock in nanoseconds
//  [x] XInputGetState                      SDL's game controllers (those it has a mapping for) in
//                                          slots 0 to 3 as they connect; also without focus
#pragma once

#include <SDL.h>

#include "quill_mark/platform/implementation/qmi_handle_tables.h"
#include "quill_mark/platform/qmi_seam_numbers.h"

namespace qmImplementation::SdlLayer
{

using namespace qmSeam;

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

struct Window : WindowRecord
{
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    SDL_Window* sdlWindow = nullptr;
    Uint32 sdlWindowId = 0;
    GlAttributes attributes;
    DeviceContextRecord<Window> deviceContext = {this};
};

// Windows and contexts are kept for the whole run, so a stale handle still names memory of ours.
struct State : HandleTables<Window>
{
};

State& GetState();

// Starts SDL's video subsystem on first use; false when no video driver could be started.
bool EnsureVideo();

Window* FindWindowBySdlId(Uint32 sdlWindowId);

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
WindowGeometry MeasureWindow(const Window& window);

// Makes the window's SDL window again with other attributes, keeping caption, place, size and
// visibility; only valid while the window has no context.
bool RecreateSdlWindow(Window& window, const GlAttributes& attributes);

// The operations, one file per group: window, messages, GL context, message box, clock and cursor,
// gamepads.
QM_SEAM_LAYER_OPERATIONS

}  // namespace qmImplementation::SdlLayer
