// SPDX-License-Identifier: Zlib
// The cursor and the performance counter. The cursor is asked of the X server when a window is
// on X11, since SDL's global mouse state does not follow a pointer moved by another client; on
// other video drivers SDL's answer is used. The counter is the monotonic clock in nanoseconds.
#include <chrono>

#include "quill_mark/platform/sdl/qmi_sdl_state.h"
#include "quill_mark/platform/sdl/qmi_x11_window_system.h"

namespace qmImplementation::SdlLayer
{

BOOL GetCursorPos(LPPOINT point)
{
    if (point == nullptr || !EnsureVideo())
    {
        return 0;
    }
    int x = 0;
    int y = 0;
    Window* window = GetState().FirstLiveWindow();
    if (window == nullptr || !X11WindowSystem::QueryPointer(window->sdlWindow, x, y))
    {
        SDL_GetGlobalMouseState(&x, &y);
    }
    *point = POINT{x, y};
    return 1;
}

BOOL ScreenToClient(HWND window, LPPOINT point)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr || point == nullptr)
    {
        return 0;
    }
    const WindowGeometry geometry = MeasureWindow(*live);
    point->x -= geometry.clientX;
    point->y -= geometry.clientY;
    return 1;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    if (frequency == nullptr)
    {
        return 0;
    }
    frequency->QuadPart = 1000000000;
    return 1;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count)
{
    if (count == nullptr)
    {
        return 0;
    }
    static_assert(std::chrono::steady_clock::is_steady, "the counter never goes back");
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    count->QuadPart = std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch).count();
    return 1;
}

}  // namespace qmImplementation::SdlLayer
