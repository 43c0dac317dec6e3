// SPDX-License-Identifier: Zlib
// The display tests' frameless 1280 x 720 WGL window and context on Windows, the SDL2 one's pixel
// format; the context stays current for life, so its window is found through it.
#include <windows.h>

#include "support/gl_test_context.h"

namespace QuillmarkTest
{

GlTestContext::GlTestContext()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "QuillmarkTest";
    RegisterClassA(&windowClass);  // an earlier context may have registered it: that is fine
    HWND window = CreateWindowExA(0, "QuillmarkTest", "Quillmark test", WS_POPUP, 50, 50, 1280, 720,
                                  nullptr, nullptr, nullptr, nullptr);
    HDC deviceContext = GetDC(window);
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof(format);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.cColorBits = 32;
    format.cAlphaBits = 8;
    format.cDepthBits = 16;
    format.cStencilBits = 8;
    SetPixelFormat(deviceContext, ChoosePixelFormat(deviceContext, &format), &format);
    HGLRC context = wglCreateContext(deviceContext);
    if (context != nullptr && wglMakeCurrent(deviceContext, context))
        mContext = context;
    else
        mError = "no OpenGL context (error " + std::to_string(GetLastError()) + ")";
}

GlTestContext::~GlTestContext()
{
    HDC deviceContext = wglGetCurrentDC();
    HWND window = WindowFromDC(deviceContext);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(static_cast<HGLRC>(mContext));
    ReleaseDC(window, deviceContext);
    DestroyWindow(window);
}

}  // namespace QuillmarkTest
