// SPDX-License-Identifier: Zlib
// The Win32 numbers the framework passes through the seam (qmi_seam.h): messages, virtual keys,
// styles, flags and answers, with Win32's values. Only the ones the framework uses are here.
// <windows.h> defines the same names as macros, so the two never meet in one file.
#pragma once

#include <cstdint>

#include "quill_mark/platform/qmi_seam.h"

#if defined(_WINDOWS_) || defined(_INC_WINDOWS)
#error "<windows.h> defines these names as macros: keep this header out of files that include it"
#endif

#if defined(_WIN32)
// <GL/gl.h> brings in <windows.h> unless it knows how OpenGL's functions are declared; the files
// that use these numbers and draw (the window layer) tell it here.
#ifndef WINGDIAPI
#define WINGDIAPI __declspec(dllimport)
#endif
#ifndef APIENTRY
#define APIENTRY __stdcall
#endif
#endif

namespace qmSeam
{

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

// The system's application icon and arrow cursor, named by number as Win32 does.
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

// Gamepads: the user slots XInputGetState answers for, its answers, and the button bits.
constexpr DWORD XUSER_MAX_COUNT = 4;
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_BAD_ARGUMENTS = 160;
constexpr DWORD ERROR_DEVICE_NOT_CONNECTED = 1167;
constexpr WORD XINPUT_GAMEPAD_DPAD_UP = 0x0001;
constexpr WORD XINPUT_GAMEPAD_DPAD_DOWN = 0x0002;
constexpr WORD XINPUT_GAMEPAD_DPAD_LEFT = 0x0004;
constexpr WORD XINPUT_GAMEPAD_DPAD_RIGHT = 0x0008;
constexpr WORD XINPUT_GAMEPAD_START = 0x0010;
constexpr WORD XINPUT_GAMEPAD_BACK = 0x0020;
constexpr WORD XINPUT_GAMEPAD_LEFT_THUMB = 0x0040;
constexpr WORD XINPUT_GAMEPAD_RIGHT_THUMB = 0x0080;
constexpr WORD XINPUT_GAMEPAD_LEFT_SHOULDER = 0x0100;
constexpr WORD XINPUT_GAMEPAD_RIGHT_SHOULDER = 0x0200;
constexpr WORD XINPUT_GAMEPAD_A = 0x1000;
constexpr WORD XINPUT_GAMEPAD_B = 0x2000;
constexpr WORD XINPUT_GAMEPAD_X = 0x4000;
constexpr WORD XINPUT_GAMEPAD_Y = 0x8000;
// How far a stick (of 32767) or a trigger (of 255) may rest off its zero on a pad in good order.
constexpr SHORT XINPUT_GAMEPAD_LEFT_THUMB_DEADZONE = 7849;
constexpr SHORT XINPUT_GAMEPAD_RIGHT_THUMB_DEADZONE = 8689;
constexpr BYTE XINPUT_GAMEPAD_TRIGGER_THRESHOLD = 30;

}  // namespace qmSeam
