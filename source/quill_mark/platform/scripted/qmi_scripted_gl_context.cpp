// Device contexts, pixel formats and OpenGL contexts of the scripted platform: bookkeeping only.
// No real context is ever made current, so the framework's GL calls reach no driver.
#include "quill_mark/platform/scripted/qmi_scripted_state.h"

using namespace qmImplementation::ScriptedPlatform;

HDC WINAPI GetDC(HWND window)
{
    Record(PlatformCall::kGetDC, window);
    HWND__* live = FindLiveWindow(window);
    if (live == nullptr)
    {
        return nullptr;
    }
    ++live->outstandingDeviceContexts;
    return &live->deviceContext;
}

// The device context must be released through the window it came from, also once that window
// has been destroyed.
int WINAPI ReleaseDC(HWND window, HDC deviceContext)
{
    HWND__* owner = FindDeviceContextWindow(deviceContext);
    Record(PlatformCall::kReleaseDC, owner);
    if (owner == nullptr || owner != window || owner->outstandingDeviceContexts == 0)
    {
        return 0;
    }
    --owner->outstandingDeviceContexts;
    return 1;
}

int WINAPI ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* descriptor)
{
    HWND__* owner = FindDeviceContextWindow(deviceContext);
    State& state = GetState();
    int format = 0;
    if (owner != nullptr && !owner->destroyed && descriptor != nullptr)
    {
        state.chosenFormats.push_back(*descriptor);
        format = static_cast<int>(state.chosenFormats.size());
    }
    Record(PlatformCall::kChoosePixelFormat, owner, {0, format});
    return format;
}

// A window's pixel format can be set once, to a format ChoosePixelFormat handed out.
BOOL WINAPI SetPixelFormat(HDC deviceContext, int format,
                           const PIXELFORMATDESCRIPTOR* /*descriptor*/)
{
    HWND__* owner = FindDeviceContextWindow(deviceContext);
    State& state = GetState();
    const bool valid = owner != nullptr && !owner->destroyed && owner->pixelFormat == 0 &&
                       format >= 1 && format <= static_cast<int>(state.chosenFormats.size());
    Record(PlatformCall::kSetPixelFormat, owner, {format, valid ? 1 : 0});
    if (!valid)
    {
        return 0;
    }
    owner->pixelFormat = format;
    owner->pixelFormatDescriptor = state.chosenFormats[static_cast<std::size_t>(format - 1)];
    return 1;
}

HGLRC WINAPI wglCreateContext(HDC deviceContext)
{
    HWND__* owner = FindDeviceContextWindow(deviceContext);
    HGLRC created = nullptr;
    // As on a real driver, a context needs a window with a pixel format.
    if (owner != nullptr && !owner->destroyed && owner->pixelFormat != 0)
    {
        created = &GetState().contexts.emplace_back(HGLRC__{owner, false, nullptr});
    }
    Record(PlatformCall::kWglCreateContext, owner, {AsArgument(created)});
    return created;
}

BOOL WINAPI wglMakeCurrent(HDC deviceContext, HGLRC context)
{
    HWND__* owner = FindDeviceContextWindow(deviceContext);
    Record(PlatformCall::kWglMakeCurrent, owner, {AsArgument(context)});
    State& state = GetState();
    if (context == nullptr)
    {
        state.currentContext = nullptr;
        return 1;
    }
    HGLRC__* found = FindContext(context);
    if (found == nullptr || found->deleted || owner == nullptr || owner->destroyed ||
        found->window != owner)
    {
        return 0;
    }
    state.currentContext = found;
    return 1;
}

HGLRC WINAPI wglGetCurrentContext()
{
    HGLRC current = GetState().currentContext;
    Record(PlatformCall::kWglGetCurrentContext, nullptr, {AsArgument(current)});
    return current;
}

BOOL WINAPI wglDeleteContext(HGLRC context)
{
    Record(PlatformCall::kWglDeleteContext, nullptr, {AsArgument(context)});
    HGLRC__* found = FindContext(context);
    if (found == nullptr || found->deleted)
    {
        return 0;
    }
    found->deleted = true;
    State& state = GetState();
    if (state.currentContext == found)
    {
        state.currentContext = nullptr;
    }
    return 1;
}

BOOL WINAPI SwapBuffers(HDC deviceContext)
{
    HWND__* owner = FindDeviceContextWindow(deviceContext);
    Record(PlatformCall::kSwapBuffers, owner);
    if (owner == nullptr || owner->destroyed)
    {
        return 0;
    }
    ++GetState().swaps;
    return 1;
}
