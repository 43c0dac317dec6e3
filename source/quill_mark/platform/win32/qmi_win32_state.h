// SPDX-License-Identifier: Zlib
// The Win32 layer: the seam (qmi_seam.h) answered by the real Windows API, the live layer on
// Windows. Every operation converts the seam's types to the system's and calls its namesake; this
// header holds the conversions and declares the operations.
//
// What it provides, and where it differs from Win32:
//  [x] every operation                     the system's own, handles passed through unchanged
//  [x] the window procedure                the system calls the layer's, which hands each message
//                                          to the procedure the framework registered
//  [x] WM_CLOSE, WM_ACTIVATE               when the system sends them (close button, Alt+F4,
//                                          focus changes), they are posted again and reach the
//                                          framework through PeekMessageA, as on the other layers,
//                                          so a recording holds them (lParam 0); the system's own
//                                          handling of WM_ACTIVATE is done when it is sent. While a
//                                          message box is open, its loop hands them on instead
//  [x] XInputGetState                      XInput's own, from the first of its libraries the
//                                          system has; without one, no pad is ever connected
#pragma once

// First: the seam's declarations use its own names, which <windows.h> must not see as macros.
#include "quill_mark/platform/qmi_seam.h"

#include <windows.h>

namespace qmImplementation::Win32Layer
{

// The seam's types, so that the operations below (and QM_SEAM_LAYER_OPERATIONS) mean them; the
// system's are written ::HWND, ::MSG and so on.
using qmSeam::ATOM;
using qmSeam::BOOL;
using qmSeam::DWORD;
using qmSeam::HCURSOR;
using qmSeam::HDC;
using qmSeam::HGLRC;
using qmSeam::HICON;
using qmSeam::HINSTANCE;
using qmSeam::HMENU;
using qmSeam::HMODULE;
using qmSeam::HWND;
using qmSeam::LARGE_INTEGER;
using qmSeam::LPARAM;
using qmSeam::LPCSTR;
using qmSeam::LPMSG;
using qmSeam::LPPOINT;
using qmSeam::LPRECT;
using qmSeam::LPVOID;
using qmSeam::LRESULT;
using qmSeam::MSG;
using qmSeam::PIXELFORMATDESCRIPTOR;
using qmSeam::UINT;
using qmSeam::WNDCLASSA;
using qmSeam::WPARAM;
using qmSeam::XINPUT_STATE;

static_assert(sizeof(PIXELFORMATDESCRIPTOR) == sizeof(::PIXELFORMATDESCRIPTOR),
              "the seam's pixel format descriptor is Win32's, field for field");

// A handle of the seam is the system's, as it is.
template <typename To, typename From>
To Handle(From handle)
{
    return reinterpret_cast<To>(handle);
}

::MSG ToSystem(const MSG& message);
MSG FromSystem(const ::MSG& message);
void Copy(const ::RECT& from, qmSeam::RECT& to);

// The layer's own window procedure for every class the framework registers; it finds the
// framework's procedure by the window's class.
::LRESULT CALLBACK ClassProcedure(::HWND window, ::UINT message, ::WPARAM wParam, ::LPARAM lParam);
// A message the system sent that ClassProcedure posted again (see the checklist), which
// PeekMessageA hands out without its mark and DispatchMessageA gives the framework directly.
bool IsReposted(::HWND window, ::UINT message, ::LPARAM lParam);
LRESULT DispatchToFramework(const ::MSG& message);
// Whether one of XInput's libraries was found; looked for on the first call of this or of
// XInputGetState.
bool HasXInput();

QM_SEAM_LAYER_OPERATIONS

}  // namespace qmImplementation::Win32Layer
