// SPDX-License-Identifier: Zlib
// The SDL layer's state, its start-up and the lookups and measurements its operations share.
// SDL is started on first need and stopped at process exit; Ctrl+C keeps its usual meaning, as
// SDL is told not to turn signals into quit events.
#include "quill_mark/platform/sdl/qmi_sdl_state.h"

#include "quill_mark/platform/sdl/qmi_x11_window_system.h"

namespace qmImplementation::SdlLayer
{

namespace
{

int ColourChannelBits(int colourBits)
{
    if (colourBits >= 24)
    {
        return 8;
    }
    return colourBits >= 15 ? 5 : 0;
}

}  // namespace

bool GlAttributes::operator==(const GlAttributes& other) const
{
    return doubleBuffer == other.doubleBuffer && redBits == other.redBits &&
           greenBits == other.greenBits && blueBits == other.blueBits &&
           alphaBits == other.alphaBits && depthBits == other.depthBits &&
           stencilBits == other.stencilBits;
}

GlAttributes AttributesOf(const PIXELFORMATDESCRIPTOR& descriptor)
{
    GlAttributes attributes;
    attributes.doubleBuffer = (descriptor.dwFlags & PFD_DOUBLEBUFFER) != 0;
    const int channelBits = ColourChannelBits(descriptor.cColorBits);
    attributes.redBits = channelBits;
    // 16-bit colour is 5-6-5.
    attributes.greenBits = descriptor.cColorBits == 16 ? 6 : channelBits;
    attributes.blueBits = channelBits;
    attributes.alphaBits = descriptor.cAlphaBits;
    attributes.depthBits = descriptor.cDepthBits;
    attributes.stencilBits = descriptor.cStencilBits;
    return attributes;
}

void ApplyAttributes(const GlAttributes& attributes)
{
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, attributes.doubleBuffer ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, attributes.redBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, attributes.greenBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, attributes.blueBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, attributes.alphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, attributes.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, attributes.stencilBits);
    // The framework draws with the fixed-function pipeline.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

State& GetState()
{
    static State state;
    return state;
}

bool EnsureVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0)
    {
        return true;
    }
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Windows are made only on a desktop: without one SDL would fall back to a driver that draws
    // nowhere, and the game would run unseen. SDL_VIDEODRIVER in the environment still wins.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        return false;
    }
    // Window-system events tell real key releases from those SDL makes up (see the messages).
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    // SDL is deliberately not shut down at exit: the end of the process closes the display
    // connection anyway, and unloading the OpenGL driver then would only hide what the driver
    // still holds from leak checkers, which can no longer name the unloaded library.
    return true;
}

Window* FindWindowBySdlId(Uint32 sdlWindowId)
{
    for (Window& candidate : GetState().windows)
    {
        if (!candidate.destroyed && candidate.sdlWindowId == sdlWindowId)
        {
            return &candidate;
        }
    }
    return nullptr;
}

WindowGeometry MeasureWindow(const Window& window)
{
    WindowGeometry geometry;
    SDL_Window* sdlWindow = window.sdlWindow;
    if (!X11WindowSystem::GetClientOrigin(sdlWindow, geometry.clientX, geometry.clientY))
    {
        SDL_GetWindowPosition(sdlWindow, &geometry.clientX, &geometry.clientY);
    }
    if (!X11WindowSystem::GetClientSize(sdlWindow, geometry.clientWidth, geometry.clientHeight))
    {
        SDL_GetWindowSize(sdlWindow, &geometry.clientWidth, &geometry.clientHeight);
    }
    if (SDL_GetWindowBordersSize(sdlWindow, &geometry.frameTop, &geometry.frameLeft,
                                 &geometry.frameBottom, &geometry.frameRight) != 0)
    {
        geometry.frameTop = geometry.frameLeft = geometry.frameBottom = geometry.frameRight = 0;
    }
    return geometry;
}

}  // namespace qmImplementation::SdlLayer
