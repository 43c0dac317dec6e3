// The scripted cursor and performance counter. GetCursorPos also marks the start of a loop
// iteration: it runs the test's iteration hook before reading the cursor.
#include "quill_mark/platform/scripted/qmi_scripted_state.h"

using namespace qmImplementation::ScriptedPlatform;

namespace
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

}  // namespace

BOOL WINAPI GetCursorPos(LPPOINT point)
{
    RunIterationHook();
    State& state = GetState();
    Record(PlatformCall::kGetCursorPos, nullptr, {state.cursor.x, state.cursor.y});
    if (point == nullptr)
    {
        return 0;
    }
    *point = state.cursor;
    return 1;
}

BOOL WINAPI ScreenToClient(HWND window, LPPOINT point)
{
    Record(PlatformCall::kScreenToClient, window);
    HWND__* live = FindLiveWindow(window);
    if (live == nullptr || point == nullptr)
    {
        return 0;
    }
    const POINT origin = ClientOrigin(*live);
    point->x -= origin.x;
    point->y -= origin.y;
    return 1;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    Record(PlatformCall::kQueryPerformanceFrequency, nullptr);
    if (frequency == nullptr)
    {
        return 0;
    }
    frequency->QuadPart = GetState().frequency;
    return 1;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count)
{
    Record(PlatformCall::kQueryPerformanceCounter, nullptr);
    if (count == nullptr)
    {
        return 0;
    }
    count->QuadPart = GetState().counter;
    return 1;
}
