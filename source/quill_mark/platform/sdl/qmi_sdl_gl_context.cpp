// SPDX-License-Identifier: Zlib
// Device contexts, pixel formats and OpenGL contexts on SDL. A device context is the window's
// drawing surface; a context is an SDL OpenGL context (compatibility profile). As with WGL,
// creating a context does not make it current, and the current context stays
// what wglMakeCurrent last made it even when its window goes away.
#include "quill_mark/platform/sdl/qmi_sdl_state.h"

namespace qmImplementation::SdlLayer
{

namespace
{

// SDL makes a new context current; put back whatever was current before.
void RestoreCurrentContext(SDL_Window* createdFor)
{
    State::GlContext* current = GetState().currentContext;
    if (current != nullptr && !current->window->destroyed)
    {
        SDL_GL_MakeCurrent(current->window->sdlWindow, current->native);
    }
    else
    {
        SDL_GL_MakeCurrent(createdFor, nullptr);
    }
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

// Every request is its own format: the visual is chosen from it when the format is set.
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
    const GlAttributes wanted = AttributesOf(*chosen);
    if (!(wanted == owner->attributes) && !RecreateSdlWindow(*owner, wanted))
    {
        return 0;
    }
    owner->pixelFormat = format;
    return 1;
}

HGLRC wglCreateContext(HDC deviceContext)
{
    Window* owner = GetState().FindLiveDeviceContextWindow(deviceContext);
    if (owner == nullptr || owner->pixelFormat == 0)
    {
        return nullptr;
    }
    ApplyAttributes(owner->attributes);
    SDL_GLContext context = SDL_GL_CreateContext(owner->sdlWindow);
    if (context == nullptr)
    {
        return nullptr;
    }
    RestoreCurrentContext(owner->sdlWindow);
    return State::HandleOf(
        &GetState().contexts.emplace_back(State::GlContext{owner, false, context}));
}

BOOL wglMakeCurrent(HDC deviceContext, HGLRC context)
{
    State& state = GetState();
    if (context == nullptr)
    {
        SDL_GL_MakeCurrent(nullptr, nullptr);
        state.currentContext = nullptr;
        return 1;
    }
    State::GlContext* found = GetState().FindContext(context);
    Window* owner = GetState().FindLiveDeviceContextWindow(deviceContext);
    if (found == nullptr || found->deleted || owner == nullptr ||
        SDL_GL_MakeCurrent(owner->sdlWindow, found->native) != 0)
    {
        return 0;
    }
    state.currentContext = found;
    return 1;
}

HGLRC wglGetCurrentContext()
{
    return State::HandleOf(GetState().currentContext);
}

BOOL wglDeleteContext(HGLRC context)
{
    State::GlContext* found = GetState().FindContext(context);
    if (found == nullptr || found->deleted)
    {
        return 0;
    }
    SDL_GL_DeleteContext(found->native);
    found->deleted = true;
    State& state = GetState();
    if (state.currentContext == found)
    {
        state.currentContext = nullptr;
    }
    return 1;
}

BOOL SwapBuffers(HDC deviceContext)
{
    Window* owner = GetState().FindLiveDeviceContextWindow(deviceContext);
    if (owner == nullptr)
    {
        return 0;
    }
    SDL_GL_SwapWindow(owner->sdlWindow);
    return 1;
}

}  // namespace qmImplementation::SdlLayer
