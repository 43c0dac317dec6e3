// SPDX-License-Identifier: Zlib
// On Windows a context needs a window with a pixel format: each offscreen context gets a hidden
// one of its own, never shown, whose drawing goes nowhere anyone looks.
#include "quill_mark/platform/headless/qmi_offscreen_gl_context.h"

#include <windows.h>

namespace qmImplementation
{

namespace
{

constexpr char kClassName[] = "QuillmarkOffscreenGl";

bool RegisterOnce()
{
    static const bool registered = []
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClassName;
        return RegisterClassA(&windowClass) != 0;
    }();
    return registered;
}

}  // namespace

bool OffscreenGlContext::IsAvailable()
{
    return RegisterOnce();
}

void OffscreenGlContext::ReleaseCurrent()
{
    wglMakeCurrent(nullptr, nullptr);
}

OffscreenGlContext::~OffscreenGlContext()
{
    if (mContext != nullptr)
    {
        if (wglGetCurrentContext() == static_cast<HGLRC>(mContext))
        {
            ReleaseCurrent();
        }
        wglDeleteContext(static_cast<HGLRC>(mContext));
    }
    if (mDisplay != nullptr)
    {
        HWND window = WindowFromDC(static_cast<HDC>(mDisplay));
        ReleaseDC(window, static_cast<HDC>(mDisplay));
        DestroyWindow(window);
    }
}

bool OffscreenGlContext::MakeCurrent()
{
    if (!mTried)
    {
        mTried = true;
        Create();
    }
    return mContext != nullptr &&
           wglMakeCurrent(static_cast<HDC>(mDisplay), static_cast<HGLRC>(mContext)) != FALSE;
}

bool OffscreenGlContext::Create()
{
    HWND window = RegisterOnce()
                      ? CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr,
                                        GetModuleHandleA(nullptr), nullptr)
                      : nullptr;
    if (window == nullptr)
    {
        mError = "no hidden window for the context";
        return false;
    }
    HDC deviceContext = GetDC(window);
    mDisplay = deviceContext;
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof(format);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.cColorBits = 32;
    format.cDepthBits = 16;
    if (SetPixelFormat(deviceContext, ChoosePixelFormat(deviceContext, &format), &format) == FALSE)
    {
        mError = "no pixel format with OpenGL";
        return false;
    }
    mContext = wglCreateContext(deviceContext);
    if (mContext == nullptr)
    {
        mError = "wglCreateContext failed";
        return false;
    }
    return true;
}

}  // namespace qmImplementation
