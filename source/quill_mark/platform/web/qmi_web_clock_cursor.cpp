// SPDX-License-Identifier: Zlib
// The cursor and the performance counter on the page. The cursor is where the page last saw the
// mouse, in viewport pixels, which serve as screen pixels; the counter is the page's
// high-resolution clock (performance.now) in microseconds, so its frequency is one million.
#include <emscripten.h>

#include <cmath>

#include "quill_mark/platform/web/qmi_web_page.h"
#include "quill_mark/platform/web/qmi_web_state.h"

namespace qmImplementation::WebLayer
{

namespace
{
constexpr LONGLONG kCountsPerSecond = 1000000;
constexpr double kCountsPerMillisecond = 1000.0;
}  // namespace

BOOL GetCursorPos(LPPOINT point)
{
    if (point == nullptr)
    {
        return 0;
    }
    const State& state = GetState();
    *point = POINT{static_cast<LONG>(std::floor(state.cursorX)),
                   static_cast<LONG>(std::floor(state.cursorY))};
    return 1;
}

BOOL ScreenToClient(HWND window, LPPOINT point)
{
    if (GetState().FindLiveWindow(window) == nullptr || point == nullptr)
    {
        return 0;
    }
    *point = ClientFromViewport(static_cast<double>(point->x), static_cast<double>(point->y),
                                Page::MeasureCanvas());
    return 1;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    if (frequency == nullptr)
    {
        return 0;
    }
    frequency->QuadPart = kCountsPerSecond;
    return 1;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count)
{
    if (count == nullptr)
    {
        return 0;
    }
    count->QuadPart =
        static_cast<LONGLONG>(std::floor(emscripten_get_now() * kCountsPerMillisecond));
    return 1;
}

}  // namespace qmImplementation::WebLayer
