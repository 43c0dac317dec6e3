// The display tests' window and OpenGL context on Windows, made with the system's own API (WGL):
// a frameless window of 1280 x 720 client pixels with the pixel format the SDL2 one asks for.
// The context stays current for its whole life, so its window and device context are found
// through it; the drawing state and the pixel reader are shared with Linux (gl_test_context.cpp).
#include <windows.h>

#include "support/gl_test_context.h"

namespace QuillmarkTest
{

GlTestContext::GlTestContext(bool shown)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuillmarkTest";
    RegisterClassA(&windowClass);  // registered already by an earlier context: that is fine
    HWND window = CreateWindowExA(0, "QuillmarkTest", "Quillmark test",
                                  WS_POPUP | (shown ? WS_VISIBLE : 0), 50, 50, kWindowWidth,
                                  kWindowHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
    HDC deviceContext = GetDC(window);
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof(format);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.cColorBits = 32;
    format.cAlphaBits = 8;
    format.cDepthBits = 16;
    format.cStencilBits = 8;
    HGLRC context = nullptr;
    if (window == nullptr ||
        !SetPixelFormat(deviceContext, ChoosePixelFormat(deviceContext, &format), &format) ||
        (context = wglCreateContext(deviceContext)) == nullptr ||
        !wglMakeCurrent(deviceContext, context))
    {
        mError = "no window, pixel format or OpenGL context (error " +
                 std::to_string(GetLastError()) + ")";
        return;
    }
    mContext = context;
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

void GlTestContext::SwapBuffers()
{
    ::SwapBuffers(wglGetCurrentDC());
}

}  // namespace QuillmarkTest
