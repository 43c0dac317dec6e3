// SPDX-License-Identifier: Zlib
// Device contexts, pixel formats and OpenGL contexts of the headless layer: bookkeeping, so the
// framework's GL calls reach no driver; or, while UseOffscreenGl is on, each context backed by a
// real one without a window, made current whenever the layer's context is.
#include <cstdio>

#include "quill_mark/platform/headless/qmi_headless_state.h"
#include "quill_mark/platform/headless/qmi_offscreen_gl_context.h"

namespace qmImplementation::HeadlessLayer
{

namespace
{

OffscreenGlContext* OffscreenOf(const State::GlContext* context)
{
    return context != nullptr ? static_cast<OffscreenGlContext*>(context->native) : nullptr;
}

// Follows the layer's current context with the real one behind it, if any.
void MakeOffscreenCurrent(const State::GlContext* context)
{
    OffscreenGlContext* offscreen = OffscreenOf(context);
    if (offscreen == nullptr)
    {
        OffscreenGlContext::ReleaseCurrent();
        return;
    }
    static bool warned = false;
    if (!offscreen->MakeCurrent() && !warned)
    {
        warned = true;
        std::fprintf(stderr, "Quillmark: no offscreen OpenGL context (%s)\n",
                     offscreen->Error().c_str());
    }
}

}  // namespace

bool UseOffscreenGl(bool use)
{
    if (use && !OffscreenGlContext::IsAvailable())
    {
        return false;
    }
    GetState().offscreenGl = use;
    return true;
}

void ReleaseOffscreenContexts()
{
    OffscreenGlContext::ReleaseCurrent();
    for (State::GlContext& context : GetState().contexts)
    {
        delete OffscreenOf(&context);
        context.native = nullptr;
    }
}

HDC GetDC(HWND window)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr)
    {
        return nullptr;
    }
    ++live->outstandingDeviceContexts;
    return State::HandleOf(live->deviceContext);
}

// The device context must be released through the window it came from, also once that window
// has been destroyed.
int ReleaseDC(HWND window, HDC deviceContext)
{
    Window* owner = GetState().FindDeviceContextWindow(deviceContext);
    if (owner == nullptr || State::HandleOf(*owner) != window ||
        owner->outstandingDeviceContexts == 0)
    {
        return 0;
    }
    --owner->outstandingDeviceContexts;
    return 1;
}

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

// As on a real driver, a context needs a window with a pixel format.
HGLRC wglCreateContext(HDC deviceContext)
{
    Window* owner = GetState().FindLiveDeviceContextWindow(deviceContext);
    if (owner == nullptr || owner->pixelFormat == 0)
    {
        return nullptr;
    }
    State& state = GetState();
    void* native = state.offscreenGl ? new OffscreenGlContext() : nullptr;
    return State::HandleOf(&state.contexts.emplace_back(State::GlContext{owner, false, native}));
}

BOOL wglMakeCurrent(HDC deviceContext, HGLRC context)
{
    State& state = GetState();
    State::GlContext* found = context != nullptr ? state.FindContext(context) : nullptr;
    if (context != nullptr)
    {
        Window* owner = GetState().FindLiveDeviceContextWindow(deviceContext);
        if (found == nullptr || found->deleted || owner == nullptr || found->window != owner)
        {
            return 0;
        }
    }
    state.currentContext = found;
    MakeOffscreenCurrent(found);
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
    found->deleted = true;
    if (state.currentContext == found)
    {
        state.currentContext = nullptr;
        MakeOffscreenCurrent(nullptr);
    }
    delete OffscreenOf(found);
    found->native = nullptr;
    return 1;
}

BOOL SwapBuffers(HDC deviceContext)
{
    if (GetState().FindLiveDeviceContextWindow(deviceContext) == nullptr)
    {
        return 0;
    }
    ++GetState().swaps;
    return 1;
}

}  // namespace qmImplementation::HeadlessLayer
