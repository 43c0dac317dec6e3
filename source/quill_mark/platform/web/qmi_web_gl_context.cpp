// SPDX-License-Identifier: Zlib
// Device contexts, pixel formats and OpenGL contexts on the page. The context is the canvas's
// WebGL context, made through Emscripten's GLFW, on which its emulation of fixed-function OpenGL
// works. A page's canvas has one WebGL context for good: one context can exist at a time, and
// deleting it only marks it deleted (a later one gets the same WebGL context again). Making no
// context current masks every colour and depth write instead, since WebGL has no "no context":
// calls made then still draw nothing, as they do on the desktop. SwapBuffers is where the program
// yields to the browser, once per frame.
#include <GL/gl.h>
#include <GLFW/glfw3.h>

#include "quill_mark/platform/web/qmi_web_page.h"
#include "quill_mark/platform/web/qmi_web_state.h"

namespace qmImplementation::WebLayer
{

namespace
{

bool HasLiveContext()
{
    for (const State::GlContext& context : GetState().contexts)
    {
        if (!context.deleted)
        {
            return true;
        }
    }
    return false;
}

void AllowDrawing(bool allowed)
{
    const GLboolean mask = allowed ? GL_TRUE : GL_FALSE;
    glColorMask(mask, mask, mask, mask);
    glDepthMask(mask);
}

GLFWwindow* CreateCanvasContext(const PIXELFORMATDESCRIPTOR& descriptor)
{
    State& state = GetState();
    if (state.canvasContext != nullptr)
    {
        return state.canvasContext;
    }
    if (glfwInit() != GLFW_TRUE)
    {
        return nullptr;
    }
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_ALPHA_BITS, descriptor.cAlphaBits);
    glfwWindowHint(GLFW_DEPTH_BITS, descriptor.cDepthBits);
    glfwWindowHint(GLFW_STENCIL_BITS, descriptor.cStencilBits);
    Page::KeepGlState();
    const CanvasPlacement canvas = Page::MeasureCanvas();
    state.canvasContext =
        glfwCreateWindow(canvas.pixelWidth, canvas.pixelHeight, "", nullptr, nullptr);
    return state.canvasContext;
}

}  // namespace

HDC GetDC(HWND window)
{
    Window* live = GetState().FindLiveWindow(window);
    return live != nullptr ? State::HandleOf(live->deviceContext) : nullptr;
}

int ReleaseDC(HWND /*window*/, HDC deviceContext)
{
    return GetState().FindDeviceContextWindow(deviceContext) != nullptr ? 1 : 0;
}

// Every request is its own format: the context is made from it.
int ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* descriptor)
{
    return GetState().ChooseFormat(deviceContext, descriptor);
}

// A window's pixel format can be set once, to a format ChoosePixelFormat handed out.
BOOL SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* /*descriptor*/)
{
    Window* owner = GetState().FindLiveDeviceContextWindow(deviceContext);
    const PIXELFORMATDESCRIPTOR* chosen = GetState().FormatToSet(owner, format);
    if (chosen == nullptr)
    {
        return 0;
    }
    owner->pixelFormat = format;
    owner->pixelFormatDescriptor = *chosen;
    return 1;
}

// As with WGL, creating a context does not make it current.
HGLRC wglCreateContext(HDC deviceContext)
{
    Window* owner = GetState().FindLiveDeviceContextWindow(deviceContext);
    if (owner == nullptr || owner->pixelFormat == 0 || HasLiveContext())
    {
        return nullptr;
    }
    GLFWwindow* canvasContext = CreateCanvasContext(owner->pixelFormatDescriptor);
    if (canvasContext == nullptr)
    {
        return nullptr;
    }
    AllowDrawing(GetState().currentContext != nullptr);
    return State::HandleOf(
        &GetState().contexts.emplace_back(State::GlContext{owner, false, canvasContext}));
}

BOOL wglMakeCurrent(HDC deviceContext, HGLRC context)
{
    State& state = GetState();
    if (context == nullptr)
    {
        if (HasLiveContext())
        {
            AllowDrawing(false);
        }
        state.currentContext = nullptr;
        return 1;
    }
    State::GlContext* found = state.FindContext(context);
    if (found == nullptr || found->deleted ||
        GetState().FindLiveDeviceContextWindow(deviceContext) == nullptr)
    {
        return 0;
    }
    glfwMakeContextCurrent(static_cast<GLFWwindow*>(found->native));
    AllowDrawing(true);
    state.currentContext = found;
    return 1;
}

HGLRC wglGetCurrentContext()
{
    return State::HandleOf(GetState().currentContext);
}

BOOL wglDeleteContext(HGLRC context)
{
    State& state = GetState();
    State::GlContext* found = state.FindContext(context);
    if (found == nullptr || found->deleted)
    {
        return 0;
    }
    if (state.currentContext == found)
    {
        state.currentContext = nullptr;
    }
    AllowDrawing(false);
    found->deleted = true;
    return 1;
}

// The picture drawn so far is presented when the browser next paints the page, which it does once
// the program gives it control: here, until the next animation frame.
BOOL SwapBuffers(HDC deviceContext)
{
    if (GetState().FindLiveDeviceContextWindow(deviceContext) == nullptr)
    {
        return 0;
    }
    Page::WaitForNextFrame();
    return 1;
}

}  // namespace qmImplementation::WebLayer
