// The SDL platform layer's process-wide state and the handle types it defines, shared by its
// source files only. Windows and contexts are kept for the whole run, so a stale handle still
// points at memory of ours; handles are compared against the tables before any use.
#pragma once

#include <SDL.h>

#include <deque>
#include <string>

#include "quill_mark/platform/implementation/qmi_handle_tables.h"
#include "quill_mark/platform/qm_platform.h"

namespace qmImplementation::SdlPlatform
{

// What a pixel format asks of the OpenGL visual. On X11 the visual is fixed when the SDL window
// is created, so a window is created with the usual request and made again, while still hidden
// and without a context, if its pixel format asks for something else.
struct GlAttributes
{
    bool doubleBuffer = true;
    int redBits = 8;
    int greenBits = 8;
    int blueBits = 8;
    int alphaBits = 0;
    int depthBits = 16;
    int stencilBits = 8;

    bool operator==(const GlAttributes& other) const;
};

GlAttributes AttributesOf(const PIXELFORMATDESCRIPTOR& descriptor);
// Sets the attributes (and the compatibility profile) for the next window or context.
void ApplyAttributes(const GlAttributes& attributes);

}  // namespace qmImplementation::SdlPlatform

struct HWND__ : qmImplementation::WindowRecord
{
    HWND__() = default;
    HWND__(const HWND__&) = delete;
    HWND__& operator=(const HWND__&) = delete;

    SDL_Window* sdlWindow = nullptr;
    Uint32 sdlWindowId = 0;
    qmImplementation::SdlPlatform::GlAttributes attributes;
    HDC__ deviceContext = {this};
};

namespace qmImplementation::SdlPlatform
{

struct State : HandleTables<HWND__>
{
};

State& GetState();

inline HWND__* FindLiveWindow(HWND window)
{
    return GetState().FindLiveWindow(window);
}

// The window of a device context of ours (live or destroyed); null for anything else.
inline HWND__* FindDeviceContextWindow(HDC deviceContext)
{
    return GetState().FindDeviceContextWindow(deviceContext);
}

inline HGLRC__* FindContext(HGLRC context)
{
    return GetState().FindContext(context);
}

// Starts SDL's video subsystem on first use; false when no video driver could be started.
bool EnsureVideo();

HWND__* FindWindowBySdlId(Uint32 sdlWindowId);
// Any live window, for queries that need one; null when there is none.
HWND__* AnyLiveWindow();

// The client area in screen pixels and the frame the window manager puts around it (zero where
// there is no window manager or it has not framed the window yet).
struct WindowGeometry
{
    int clientX = 0;
    int clientY = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    int frameLeft = 0;
    int frameTop = 0;
    int frameRight = 0;
    int frameBottom = 0;
};
WindowGeometry MeasureWindow(const HWND__& window);

// Makes the window's SDL window again with other attributes, keeping caption, place, size and
// visibility; only valid while the window has no context.
bool RecreateSdlWindow(HWND__& window, const GlAttributes& attributes);

LRESULT SendToWindow(HWND__& window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qmImplementation::SdlPlatform
