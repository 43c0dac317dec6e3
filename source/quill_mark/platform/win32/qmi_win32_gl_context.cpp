// SPDX-License-Identifier: Zlib
// Device contexts, pixel formats and OpenGL contexts on the real API (GDI and WGL).
#include <cstring>

#include "quill_mark/platform/win32/qmi_win32_state.h"

namespace qmImplementation::Win32Layer
{

namespace
{

::PIXELFORMATDESCRIPTOR ToSystem(const PIXELFORMATDESCRIPTOR& descriptor)
{
    ::PIXELFORMATDESCRIPTOR system;
    std::memcpy(&system, &descriptor, sizeof(system));
    return system;
}

}  // namespace

HDC GetDC(HWND window)
{
    return Handle<HDC>(::GetDC(Handle<::HWND>(window)));
}

int ReleaseDC(HWND window, HDC deviceContext)
{
    return ::ReleaseDC(Handle<::HWND>(window), Handle<::HDC>(deviceContext));
}

int ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* descriptor)
{
    if (descriptor == nullptr)
    {
        return 0;
    }
    const ::PIXELFORMATDESCRIPTOR system = ToSystem(*descriptor);
    return ::ChoosePixelFormat(Handle<::HDC>(deviceContext), &system);
}

BOOL SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* descriptor)
{
    if (descriptor == nullptr)
    {
        return ::SetPixelFormat(Handle<::HDC>(deviceContext), format, nullptr);
    }
    const ::PIXELFORMATDESCRIPTOR system = ToSystem(*descriptor);
    return ::SetPixelFormat(Handle<::HDC>(deviceContext), format, &system);
}

HGLRC wglCreateContext(HDC deviceContext)
{
    return Handle<HGLRC>(::wglCreateContext(Handle<::HDC>(deviceContext)));
}

BOOL wglMakeCurrent(HDC deviceContext, HGLRC context)
{
    return ::wglMakeCurrent(Handle<::HDC>(deviceContext), Handle<::HGLRC>(context));
}

HGLRC wglGetCurrentContext()
{
    return Handle<HGLRC>(::wglGetCurrentContext());
}

BOOL wglDeleteContext(HGLRC context)
{
    return ::wglDeleteContext(Handle<::HGLRC>(context));
}

BOOL SwapBuffers(HDC deviceContext)
{
    return ::SwapBuffers(Handle<::HDC>(deviceContext));
}

}  // namespace qmImplementation::Win32Layer
