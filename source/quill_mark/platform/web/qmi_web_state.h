// SPDX-License-Identifier: Zlib
// The web layer: the seam (qmi_seam.h) answered by a browser page, the live layer of the game
// built with Emscripten. This header holds the state its files share and declares the operations.
//
// What it provides, and where it differs from Win32:
//  [x] module, window class, icon, arrow   one module; class style, icon and brush are not used
//  [x] CreateWindowExA, DestroyWindow      the window is the page's canvas: one live window at a
//                                          time; styles and the position are not read
//  [x] Get{Client,Window}Rect, SetWindowPos  no frame: the outer rectangle is the canvas, placed
//                                          where the page lays it out; sizes set its pixel size
//  [x] UpdateWindow, ShowWindow, SetWindowTextA  the caption is the page's title
//  [x] PeekMessageA, DispatchMessageA,     filters ignored, always removes; the page's events are
//      DefWindowProcA, PostQuitMessage     queued as they arrive, between frames; no WM_CLOSE:
//                                          leaving the page ends everything at once
//  [ ] TranslateMessage, IsDialogMessageA  no character messages, no dialogs: both answer 0
//  [x] GetCursorPos, ScreenToClient        "screen" pixels are the page's viewport pixels; the
//                                          last position the page reported, also outside the
//                                          canvas (the browser reports none beyond the page)
//  [x] GetDC, ReleaseDC, pixel formats,    the context is WebGL under Emscripten's emulation of
//      wgl*, SwapBuffers                   fixed-function OpenGL; SwapBuffers hands control back to
//                                          the browser until its next animation frame
//  [x] MessageBoxA                         a modal dialog on the page; the program waits for it
//  [x] QueryPerformance{Counter,Frequency} the page's high-resolution clock in microseconds
//  [x] XInputGetState                      the page's gamepads in the browser's standard layout,
//                                          the browser's pad number as the slot; a pad shows only
//                                          once it was touched
//
// Windows and contexts are kept for the whole run, so a stale handle still points at memory of
// ours; handles are compared against the tables before any use.
#pragma once

#include "quill_mark/platform/implementation/qmi_handle_tables.h"
#include "quill_mark/platform/qmi_seam_numbers.h"

struct GLFWwindow;

namespace qmImplementation::WebLayer
{

using namespace qmSeam;

struct Window : WindowRecord
{
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    bool shown = false;
    PIXELFORMATDESCRIPTOR pixelFormatDescriptor = {};
    DeviceContextRecord<Window> deviceContext = {this};
};

struct State : HandleTables<Window>
{
    // The cursor as the page last reported it, in viewport pixels (fractions kept until read).
    double cursorX = 0.0;
    double cursorY = 0.0;
    // While a message box is open its dialog has the keyboard and the mouse, as a modal box
    // does: what the page reports meanwhile is not the game's.
    bool isDialogOpen = false;
    bool isListening = false;
    // The canvas's WebGL context, made with the first OpenGL context and kept for good (GLFW's
    // window, which Emscripten lets exist once).
    GLFWwindow* canvasContext = nullptr;
};

State& GetState();

// The live window that owns the canvas; null when there is none.
Window* CanvasWindow();

// Starts hearing the page's keyboard, mouse and focus events; once, when the first window is made.
void ListenToPage();

// The operations, one file per group: window, messages, GL context, message box, clock and cursor.
QM_SEAM_LAYER_OPERATIONS

}  // namespace qmImplementation::WebLayer
