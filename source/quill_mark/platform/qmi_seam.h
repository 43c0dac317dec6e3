// SPDX-License-Identifier: Zlib
// The platform seam: the operating-system services the framework calls, under Win32's names and
// signatures: the types in namespace qmSeam, the calls in qmSeam::Calls. Every call goes through
// one table of operations that a layer hands out and the program chooses when it starts; the
// framework never knows which layer answers. The numbers it passes are in qmi_seam_numbers.h.
#pragma once

#include <cstdint>

namespace qmSeam
{

// ---- Types ---------------------------------------------------------------------------------
using BOOL = int;
using BYTE = std::uint8_t;
using SHORT = std::int16_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using LONGLONG = std::int64_t;
using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using ATOM = WORD;
using LPCSTR = const char*;
using LPVOID = void*;

// Handles are pointers to types nobody defines: each layer hands out the addresses of its own
// records (or, on Windows, the system's handles) and finds them again by comparison.
struct HWND__;
struct HDC__;
struct HGLRC__;
struct HINSTANCE__;
struct HICON__;
struct HBRUSH__;
struct HMENU__;
using HWND = HWND__*;
using HDC = HDC__*;
using HGLRC = HGLRC__*;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HICON = HICON__*;
using HCURSOR = HICON;
using HBRUSH = HBRUSH__*;
using HMENU = HMENU__*;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct POINT
{
    LONG x;
    LONG y;
};
using LPPOINT = POINT*;

struct RECT
{
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;

struct MSG
{
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
using LPMSG = MSG*;

struct WNDCLASSA
{
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};

struct PIXELFORMATDESCRIPTOR
{
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "the descriptor keeps the Win32 layout");

// A gamepad as XInput reports it: the buttons as bits (qmi_seam_numbers.h), the triggers from 0
// (released) to 255, the sticks from -32768 to 32767 with y growing upwards. The packet number
// changes whenever the state does; its value is the layer's own.
struct XINPUT_GAMEPAD
{
    WORD wButtons;
    BYTE bLeftTrigger;
    BYTE bRightTrigger;
    SHORT sThumbLX;
    SHORT sThumbLY;
    SHORT sThumbRX;
    SHORT sThumbRY;
};

struct XINPUT_STATE
{
    DWORD dwPacketNumber;
    XINPUT_GAMEPAD Gamepad;
};
static_assert(sizeof(XINPUT_STATE) == 16, "the state keeps the XInput layout");

union LARGE_INTEGER
{
    struct
    {
        DWORD LowPart;
        LONG HighPart;
    } u;
    LONGLONG QuadPart;
};

// ---- The operations ------------------------------------------------------------------------
// X(result, name, parameters, arguments) for every operation, in the table's order. What each must
// do, beyond Win32's contract:
//   CreateWindowExA sends WM_CREATE to the window procedure before it returns; DestroyWindow sends
//   WM_DESTROY before it returns. Handles of destroyed windows stay safe to pass (calls fail).
//   PeekMessageA never waits and always removes what it returns: posted and input messages
//   first, then WM_QUIT once PostQuitMessage was called, then WM_PAINT for windows that need it.
//   DefWindowProcA destroys the window on WM_CLOSE and validates it on WM_PAINT.
//   GetCursorPos answers in screen pixels, also when the cursor is outside the window.
//   MessageBoxA is modal; it answers IDOK or IDCANCEL, and 0 when no box could be shown.
//   The counter is monotonic and its frequency constant.
//   XInputGetState answers for user slots 0 to XUSER_MAX_COUNT - 1: ERROR_SUCCESS with the pad's
//   state, or ERROR_DEVICE_NOT_CONNECTED with the state zeroed; ERROR_BAD_ARGUMENTS (state
//   untouched) for any other slot or a null state. It never waits, and answers whether or not
//   the window has the focus.
// clang-format off
#define QM_SEAM_OPERATIONS(X) \
    X(HMODULE, GetModuleHandleA, (LPCSTR moduleName), (moduleName)) \
    X(ATOM, RegisterClassA, (const WNDCLASSA* windowClass), (windowClass)) \
    X(HICON, LoadIconA, (HINSTANCE instance, LPCSTR iconName), (instance, iconName)) \
    X(HCURSOR, LoadCursorA, (HINSTANCE instance, LPCSTR cursorName), (instance, cursorName)) \
    X(HWND, CreateWindowExA, \
      (DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width, \
       int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter), \
      (exStyle, className, windowName, style, x, y, width, height, parent, menu, instance, \
       parameter)) \
    X(BOOL, GetClientRect, (HWND window, LPRECT rect), (window, rect)) \
    X(BOOL, GetWindowRect, (HWND window, LPRECT rect), (window, rect)) \
    X(BOOL, SetWindowPos, \
      (HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags), \
      (window, insertAfter, x, y, width, height, flags)) \
    X(BOOL, UpdateWindow, (HWND window), (window)) \
    X(BOOL, ShowWindow, (HWND window, int command), (window, command)) \
    X(BOOL, SetWindowTextA, (HWND window, LPCSTR text), (window, text)) \
    X(BOOL, DestroyWindow, (HWND window), (window)) \
    X(BOOL, PeekMessageA, \
      (LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove), \
      (message, window, filterMin, filterMax, remove)) \
    X(BOOL, TranslateMessage, (const MSG* message), (message)) \
    X(LRESULT, DispatchMessageA, (const MSG* message), (message)) \
    X(BOOL, IsDialogMessageA, (HWND dialog, LPMSG message), (dialog, message)) \
    X(LRESULT, DefWindowProcA, (HWND window, UINT message, WPARAM wParam, LPARAM lParam), \
      (window, message, wParam, lParam)) \
    X(void, PostQuitMessage, (int exitCode), (exitCode)) \
    X(BOOL, GetCursorPos, (LPPOINT point), (point)) \
    X(BOOL, ScreenToClient, (HWND window, LPPOINT point), (window, point)) \
    X(HDC, GetDC, (HWND window), (window)) \
    X(int, ReleaseDC, (HWND window, HDC deviceContext), (window, deviceContext)) \
    X(int, ChoosePixelFormat, (HDC deviceContext, const PIXELFORMATDESCRIPTOR* descriptor), \
      (deviceContext, descriptor)) \
    X(BOOL, SetPixelFormat, \
      (HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* descriptor), \
      (deviceContext, format, descriptor)) \
    X(HGLRC, wglCreateContext, (HDC deviceContext), (deviceContext)) \
    X(BOOL, wglMakeCurrent, (HDC deviceContext, HGLRC context), (deviceContext, context)) \
    X(HGLRC, wglGetCurrentContext, (), ()) \
    X(BOOL, wglDeleteContext, (HGLRC context), (context)) \
    X(BOOL, SwapBuffers, (HDC deviceContext), (deviceContext)) \
    X(int, MessageBoxA, (HWND owner, LPCSTR text, LPCSTR caption, UINT type), \
      (owner, text, caption, type)) \
    X(BOOL, QueryPerformanceFrequency, (LARGE_INTEGER* frequency), (frequency)) \
    X(BOOL, QueryPerformanceCounter, (LARGE_INTEGER* count), (count)) \
    X(DWORD, XInputGetState, (DWORD userIndex, XINPUT_STATE* state), (userIndex, state))
// clang-format on

// ---- The table -----------------------------------------------------------------------------
// One entry per operation, named as the operation.
#define QM_SEAM_TABLE_ENTRY(result, name, parameters, arguments) result(*name) parameters;
struct Table
{
    QM_SEAM_OPERATIONS(QM_SEAM_TABLE_ENTRY)
};
#undef QM_SEAM_TABLE_ENTRY

// Every call below goes to this table from now on. Until a program chooses one, every operation
// fails (answers 0 or null) and says once on standard error that no layer was chosen.
void UseLayer(const Table& layer);
const Table& ActiveLayer();

// ---- A layer -------------------------------------------------------------------------------
// A layer defines every operation, with the same name and signature, in a namespace of its own
// that uses qmSeam's types: QM_SEAM_LAYER_OPERATIONS declares them there, and, written in that
// namespace too, QM_SEAM_LAYER_TABLE is its table. A missing or mistyped operation does not
// compile.
#define QM_SEAM_LAYER_DECLARATION(result, name, parameters, arguments) result name parameters;
#define QM_SEAM_LAYER_OPERATIONS QM_SEAM_OPERATIONS(QM_SEAM_LAYER_DECLARATION)
#define QM_SEAM_LAYER_ENTRY(result, name, parameters, arguments) &name,
#define QM_SEAM_LAYER_TABLE                     \
    {                                           \
        QM_SEAM_OPERATIONS(QM_SEAM_LAYER_ENTRY) \
    }

// ---- The calls, as the framework makes them ------------------------------------------------
// In a namespace of their own: a layer defines operations of the same names and signatures, and
// argument-dependent lookup (which looks in qmSeam for the handle and record types) must not
// find these beside them.
namespace Calls
{
#define QM_SEAM_CALL(result, name, parameters, arguments) \
    inline result name parameters                         \
    {                                                     \
        return ActiveLayer().name arguments;              \
    }
QM_SEAM_OPERATIONS(QM_SEAM_CALL)
#undef QM_SEAM_CALL
}  // namespace Calls

}  // namespace qmSeam
