// SPDX-License-Identifier: Zlib
// The headless cursor and performance counter. GetCursorPos also marks the start of a loop
// iteration, unless the pads were asked for first: it runs the test's iteration hook before
// reading the cursor.
#include "quill_mark/platform/headless/qmi_headless_state.h"

namespace qmImplementation::HeadlessLayer
{

void RunIterationHook()
{
    State& state = GetState();
    const std::int64_t iteration = state.iteration++;
    if (!state.iterationHook)
    {
        return;
    }
    // Moved out while it runs, so the hook may replace or clear itself without destroying the
    // function that is executing.
    IterationHook hook = std::move(state.iterationHook);
    state.iterationHookReplaced = false;
    hook(iteration);
    if (!state.iterationHookReplaced)
    {
        state.iterationHook = std::move(hook);
    }
}

BOOL GetCursorPos(LPPOINT point)
{
    State& state = GetState();
    if (!state.iterationBegunByGamepads)
    {
        RunIterationHook();
    }
    state.iterationBegunByGamepads = false;
    if (point == nullptr)
    {
        return 0;
    }
    *point = GetState().cursor;
    return 1;
}

BOOL ScreenToClient(HWND window, LPPOINT point)
{
    Window* live = GetState().FindLiveWindow(window);
    if (live == nullptr || point == nullptr)
    {
        return 0;
    }
    const POINT origin = ClientOrigin(*live);
    point->x -= origin.x;
    point->y -= origin.y;
    return 1;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    if (frequency == nullptr)
    {
        return 0;
    }
    frequency->QuadPart = GetState().frequency;
    return 1;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count)
{
    if (count == nullptr)
    {
        return 0;
    }
    count->QuadPart = GetState().counter;
    return 1;
}

}  // namespace qmImplementation::HeadlessLayer
