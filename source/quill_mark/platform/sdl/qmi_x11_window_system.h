// SPDX-License-Identifier: Zlib
// Exact answers from the X server where SDL's own are stale (the global mouse state does not
// follow a pointer moved by other clients). Kept apart so that no other file of the SDL layer
// sees the X11 headers. Every query returns false when the window is not on X11.
#pragma once

#include <SDL.h>

struct SDL_SysWMmsg;

namespace qmImplementation::X11WindowSystem
{

// The pointer in root-window (screen) pixels, asked of the X server.
bool QueryPointer(SDL_Window* window, int& screenX, int& screenY);
// The top-left corner of the window's drawable area in screen pixels.
bool GetClientOrigin(SDL_Window* window, int& screenX, int& screenY);
bool GetClientSize(SDL_Window* window, int& width, int& height);

// Whether a window-system event SDL passed on (SDL_SYSWMEVENT) is an X key release: the only
// kind of event from which SDL makes a key-up of a key really let go in the window. False for
// any other event and off X11.
bool IsKeyRelease(const SDL_SysWMmsg* message);

}  // namespace qmImplementation::X11WindowSystem
