// The platform seam as a table of operations, so that the layer answering it can be chosen when
// the program starts: the SDL layer, the scripted layer, or a session layer wrapped around one of
// them. The dispatcher defines the seam's real names and forwards every call through the active
// table; each layer built for the switchable seam provides a table of its own operations.
// CrtRand is not in the table: the random sequence is the same whoever answers.
#pragma once

#include "quill_mark/platform/qm_platform.h"
#include "quill_mark/platform/session/qmi_seam_handles.h"

// X(result, name, member, parameters, arguments) for every operation of qm_platform.h, with the
// handle types spelt so that they mean the framework's handles also where a layer renamed its own.
#define QM_SEAM_OPERATIONS(X)                                                                     \
    X(HMODULE, GetModuleHandleA, getModuleHandleA, (LPCSTR name), (name))                         \
    X(ATOM, RegisterClassA, registerClassA, (const WNDCLASSA* windowClass), (windowClass))        \
    X(HICON, LoadIconA, loadIconA, (HINSTANCE instance, LPCSTR name), (instance, name))           \
    X(HCURSOR, LoadCursorA, loadCursorA, (HINSTANCE instance, LPCSTR name), (instance, name))     \
    X(qmSeam::Window, CreateWindowExA, createWindowExA,                                           \
      (DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,  \
       int height, qmSeam::Window parent, HMENU menu, HINSTANCE instance, LPVOID parameter),      \
      (exStyle, className, windowName, style, x, y, width, height, parent, menu, instance,        \
       parameter))                                                                                \
    X(BOOL, GetClientRect, getClientRect, (qmSeam::Window window, LPRECT rect), (window, rect))   \
    X(BOOL, GetWindowRect, getWindowRect, (qmSeam::Window window, LPRECT rect), (window, rect))   \
    X(BOOL, SetWindowPos, setWindowPos,                                                           \
      (qmSeam::Window window, qmSeam::Window insertAfter, int x, int y, int width, int height,    \
       UINT flags),                                                                               \
      (window, insertAfter, x, y, width, height, flags))                                          \
    X(BOOL, UpdateWindow, updateWindow, (qmSeam::Window window), (window))                        \
    X(BOOL, ShowWindow, showWindow, (qmSeam::Window window, int command), (window, command))      \
    X(BOOL, SetWindowTextA, setWindowTextA, (qmSeam::Window window, LPCSTR text), (window, text)) \
    X(BOOL, DestroyWindow, destroyWindow, (qmSeam::Window window), (window))                      \
    X(BOOL, PeekMessageA, peekMessageA,                                                           \
      (LPMSG message, qmSeam::Window window, UINT filterMin, UINT filterMax, UINT remove),        \
      (message, window, filterMin, filterMax, remove))                                            \
    X(BOOL, TranslateMessage, translateMessage, (const MSG* message), (message))                  \
    X(LRESULT, DispatchMessageA, dispatchMessageA, (const MSG* message), (message))               \
    X(BOOL, IsDialogMessageA, isDialogMessageA, (qmSeam::Window dialog, LPMSG message),           \
      (dialog, message))                                                                          \
    X(LRESULT, DefWindowProcA, defWindowProcA,                                                    \
      (qmSeam::Window window, UINT message, WPARAM wParam, LPARAM lParam),                        \
      (window, message, wParam, lParam))                                                          \
    X(void, PostQuitMessage, postQuitMessage, (int exitCode), (exitCode))                         \
    X(BOOL, GetCursorPos, getCursorPos, (LPPOINT point), (point))                                 \
    X(BOOL, ScreenToClient, screenToClient, (qmSeam::Window window, LPPOINT point),               \
      (window, point))                                                                            \
    X(qmSeam::DeviceContext, GetDC, getDC, (qmSeam::Window window), (window))                     \
    X(int, ReleaseDC, releaseDC, (qmSeam::Window window, qmSeam::DeviceContext deviceContext),    \
      (window, deviceContext))                                                                    \
    X(int, ChoosePixelFormat, choosePixelFormat,                                                  \
      (qmSeam::DeviceContext deviceContext, const PIXELFORMATDESCRIPTOR* descriptor),             \
      (deviceContext, descriptor))                                                                \
    X(BOOL, SetPixelFormat, setPixelFormat,                                                       \
      (qmSeam::DeviceContext deviceContext, int format, const PIXELFORMATDESCRIPTOR* descriptor), \
      (deviceContext, format, descriptor))                                                        \
    X(qmSeam::GlContext, wglCreateContext, wglCreateContext,                                      \
      (qmSeam::DeviceContext deviceContext), (deviceContext))                                     \
    X(BOOL, wglMakeCurrent, wglMakeCurrent,                                                       \
      (qmSeam::DeviceContext deviceContext, qmSeam::GlContext context), (deviceContext, context)) \
    X(qmSeam::GlContext, wglGetCurrentContext, wglGetCurrentContext, (), ())                      \
    X(BOOL, wglDeleteContext, wglDeleteContext, (qmSeam::GlContext context), (context))           \
    X(BOOL, SwapBuffers, swapBuffers, (qmSeam::DeviceContext deviceContext), (deviceContext))     \
    X(int, MessageBoxA, messageBoxA,                                                              \
      (qmSeam::Window owner, LPCSTR text, LPCSTR caption, UINT type),                             \
      (owner, text, caption, type))                                                               \
    X(BOOL, QueryPerformanceFrequency, queryPerformanceFrequency, (LARGE_INTEGER * frequency),    \
      (frequency))                                                                                \
    X(BOOL, QueryPerformanceCounter, queryPerformanceCounter, (LARGE_INTEGER * count), (count))

namespace qmSeam
{

#define QM_SEAM_TABLE_ENTRY(result, name, member, parameters, arguments) result(*member) parameters;
struct Table
{
    QM_SEAM_OPERATIONS(QM_SEAM_TABLE_ENTRY)
};
#undef QM_SEAM_TABLE_ENTRY

// Every seam call goes to this table from now on. The SDL layer's answers until the first call.
void SetActiveTable(const Table& table);
const Table& GetActiveTable();

}  // namespace qmSeam

// The two layers as built for the switchable seam (qmi_layer_table.cpp).
extern const qmSeam::Table qmSdlLayerTable;
extern const qmSeam::Table qmScriptedLayerTable;
