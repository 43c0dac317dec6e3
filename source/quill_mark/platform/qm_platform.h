// The platform seam: the few operating-system services the framework uses, Win32-style: under
// Win32's names and signatures. On Windows the real API answers them; elsewhere two layers do, on
// SDL2 for the game and a scripted one for tests, and the framework never knows which one.
// Only what the window layer and the game clock call is here; no window-system type leaks in.
#pragma once

#include <cstdint>

// The C runtime's generator, as on Win32: 15-bit results (0 to 32767) from one process-wide
// sequence that is never seeded, so every run draws the same numbers. It is ours on every
// platform, Windows included, so a run draws the same numbers everywhere.
int CrtRand();
constexpr int kCrtRandMaximum = 0x7FFF;

#if defined(_WIN32) && !defined(QM_SCRIPTED_PLATFORM)

// On Windows the seam is the platform itself: every type, number and operation comes from the
// system's own headers, and the calls go to USER32, GDI32, OPENGL32 and KERNEL32, so nothing
// differs from Win32 here. Tests that script the platform define QM_SCRIPTED_PLATFORM and take
// the seam's own declarations (the other branch), which the scripted layer answers there too.
// Lean: the full header would bring in the multimedia API, whose PlaySound macro renames the
// audio manager's operation of that name.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#else

#if defined(_WIN32)
// The scripted layer on Windows: <GL/gl.h> there brings in <windows.h>, whose declarations would
// clash with the ones below, unless it already knows how OpenGL's functions are declared.
#ifndef WINGDIAPI
#define WINGDIAPI __declspec(dllimport)
#endif
#ifndef APIENTRY
#define APIENTRY __stdcall
#endif
#endif

// ---- Basic types ---------------------------------------------------------------------------
// Calling conventions mean nothing on this platform; the markers stay so the window layer reads
// (and compiles) the same against the Win32 headers.
#ifndef CALLBACK
#define CALLBACK
#endif
#ifndef WINAPI
#define WINAPI
#endif

typedef int BOOL;
typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::int64_t LONGLONG;
typedef unsigned int UINT;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef WORD ATOM;
typedef const char* LPCSTR;
typedef void* LPVOID;

// Handles are pointers to types that only the linked implementation defines.
struct HWND__;
struct HDC__;
struct HGLRC__;
struct HINSTANCE__;
struct HICON__;
struct HBRUSH__;
struct HMENU__;
typedef HWND__* HWND;
typedef HDC__* HDC;
typedef HGLRC__* HGLRC;
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef HICON__* HICON;
typedef HICON HCURSOR;
typedef HBRUSH__* HBRUSH;
typedef HMENU__* HMENU;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

struct POINT
{
    LONG x;
    LONG y;
};
typedef POINT* LPPOINT;

struct RECT
{
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef RECT* LPRECT;

struct MSG
{
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef MSG* LPMSG;

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

union LARGE_INTEGER
{
    struct
    {
        DWORD LowPart;
        LONG HighPart;
    } u;
    LONGLONG QuadPart;
};

// ---- Numbers -------------------------------------------------------------------------------
// Window messages. Key-down messages carry bit 30 of lParam for automatic repeats.
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
// Keys pressed with Alt held (and F10) arrive as these, which the window layer does not read.
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;

// wParam of WM_ACTIVATE.
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;

// Virtual-key codes of the keys the framework names; letters and digits are their own
// upper-case characters ('A' = 0x41, '0' = 0x30). Other keys arrive with their own codes.
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;

// Window class and window styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
// A system colour index that, used as a class brush, names that colour.
constexpr int COLOR_WINDOW = 5;

inline const LPCSTR IDI_APPLICATION = reinterpret_cast<LPCSTR>(std::uintptr_t{32512});
inline const LPCSTR IDC_ARROW = reinterpret_cast<LPCSTR>(std::uintptr_t{32512});

constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr int SW_SHOW = 5;
constexpr UINT PM_REMOVE = 0x0001;

constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_OKCANCEL = 0x0001;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
constexpr BYTE PFD_TYPE_RGBA = 0;
constexpr BYTE PFD_MAIN_PLANE = 0;

// ---- Operations ----------------------------------------------------------------------------
// Module, class and window. CreateWindowExA delivers WM_CREATE to the window procedure before it
// returns; DestroyWindow delivers WM_DESTROY before it returns. Handles of destroyed windows stay
// safe to pass: the calls then fail (return 0 or null).
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass);
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR iconName);
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR cursorName);
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID parameter);
BOOL WINAPI GetClientRect(HWND window, LPRECT rect);
BOOL WINAPI GetWindowRect(HWND window, LPRECT rect);
BOOL WINAPI SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height,
                         UINT flags);
BOOL WINAPI UpdateWindow(HWND window);
BOOL WINAPI ShowWindow(HWND window, int command);
BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text);
BOOL WINAPI DestroyWindow(HWND window);

// Messages. PeekMessageA never waits and always removes what it returns; it hands out posted
// and input messages first, then WM_QUIT (once PostQuitMessage was called and everything queued
// before has been drained), then WM_PAINT for windows that need it. DefWindowProcA destroys the
// window on WM_CLOSE and validates it on WM_PAINT.
BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove);
BOOL WINAPI TranslateMessage(const MSG* message);
LRESULT WINAPI DispatchMessageA(const MSG* message);
BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG message);
LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void WINAPI PostQuitMessage(int exitCode);

// Cursor position in screen pixels, also when the cursor is outside the window.
BOOL WINAPI GetCursorPos(LPPOINT point);
BOOL WINAPI ScreenToClient(HWND window, LPPOINT point);

// Drawing surface and OpenGL context.
HDC WINAPI GetDC(HWND window);
int WINAPI ReleaseDC(HWND window, HDC deviceContext);
int WINAPI ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* descriptor);
BOOL WINAPI SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* descriptor);
HGLRC WINAPI wglCreateContext(HDC deviceContext);
BOOL WINAPI wglMakeCurrent(HDC deviceContext, HGLRC context);
HGLRC WINAPI wglGetCurrentContext();
BOOL WINAPI wglDeleteContext(HGLRC context);
BOOL WINAPI SwapBuffers(HDC deviceContext);

// A modal box owned by the window; returns IDOK or IDCANCEL, 0 when it could not be shown.
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// A monotonic counter and its constant frequency in counts per second.
BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count);

#endif
