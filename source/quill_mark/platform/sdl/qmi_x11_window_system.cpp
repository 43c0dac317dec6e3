// SPDX-License-Identifier: Zlib
// X11 queries through the display connection SDL already has (from its window-manager info).
// Each is one round trip, answered after every request sent before it, so it sees the effect of
// a move or resize just made on the same connection.
#include "quill_mark/platform/sdl/qmi_x11_window_system.h"

#include <SDL_syswm.h>

namespace qmImplementation::X11WindowSystem
{

namespace
{

bool GetX11Window(SDL_Window* window, Display*& display, Window& xWindow)
{
    if (window == nullptr)
    {
        return false;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    {
        return false;
    }
    display = info.info.x11.display;
    xWindow = info.info.x11.window;
    return true;
}

}  // namespace

bool QueryPointer(SDL_Window* window, int& screenX, int& screenY)
{
    Display* display = nullptr;
    Window xWindow = 0;
    if (!GetX11Window(window, display, xWindow))
    {
        return false;
    }
    Window root = 0;
    Window child = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    XQueryPointer(display, xWindow, &root, &child, &screenX, &screenY, &windowX, &windowY,
                  &buttons);
    return true;
}

bool GetClientOrigin(SDL_Window* window, int& screenX, int& screenY)
{
    Display* display = nullptr;
    Window xWindow = 0;
    if (!GetX11Window(window, display, xWindow))
    {
        return false;
    }
    Window child = 0;
    return XTranslateCoordinates(display, xWindow, DefaultRootWindow(display), 0, 0, &screenX,
                                 &screenY, &child) != 0;
}

bool GetClientSize(SDL_Window* window, int& width, int& height)
{
    Display* display = nullptr;
    Window xWindow = 0;
    if (!GetX11Window(window, display, xWindow))
    {
        return false;
    }
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned int windowWidth = 0;
    unsigned int windowHeight = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    if (XGetGeometry(display, xWindow, &root, &x, &y, &windowWidth, &windowHeight, &border,
                     &depth) == 0)
    {
        return false;
    }
    width = static_cast<int>(windowWidth);
    height = static_cast<int>(windowHeight);
    return true;
}

bool IsKeyRelease(const SDL_SysWMmsg* message)
{
    return message != nullptr && message->subsystem == SDL_SYSWM_X11 &&
           message->msg.x11.event.type == KeyRelease;
}

}  // namespace qmImplementation::X11WindowSystem
