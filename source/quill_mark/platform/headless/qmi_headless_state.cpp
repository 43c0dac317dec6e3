// SPDX-License-Identifier: Zlib
// The headless layer's state and the control functions tests and replays use to drive and
// observe it.
#include <algorithm>
#include <cmath>

#include "quill_mark/platform/headless/qmi_headless_state.h"
#include "quill_mark/platform/implementation/qmi_crt_rand.h"

namespace qmImplementation::HeadlessLayer
{

State& GetState()
{
    static State state;
    return state;
}

LONG ClientWidth(const Window& window)
{
    const LONG width =
        window.windowRect.right - window.windowRect.left - window.frame.left - window.frame.right;
    return std::max<LONG>(width, 0);
}

LONG ClientHeight(const Window& window)
{
    const LONG height =
        window.windowRect.bottom - window.windowRect.top - window.frame.top - window.frame.bottom;
    return std::max<LONG>(height, 0);
}

POINT ClientOrigin(const Window& window)
{
    return POINT{window.windowRect.left + window.frame.left,
                 window.windowRect.top + window.frame.top};
}

void Reset()
{
    qmSeam::UseLayer(Table());
    ReleaseOffscreenContexts();
    State& state = GetState();
    state.ClearHandles();
    state.frame = RECT{8, 31, 8, 8};
    state.cursor = POINT{0, 0};
    state.frequency = kDefaultFrequency;
    state.counter = kStartCounter;
    state.iteration = 0;
    state.iterationHook = nullptr;
    state.iterationHookReplaced = true;
    state.iterationBegunByGamepads = false;
    for (Gamepad& gamepad : state.gamepads)
    {
        gamepad = Gamepad{};
    }
    state.swaps = 0;
    state.queuedAnswers.clear();
    state.defaultAnswer = IDOK;
    state.messageBoxes.clear();
    state.messageBoxCount = 0;
    state.offscreenGl = false;
}

void SetIterationHook(IterationHook hook)
{
    GetState().iterationHook = std::move(hook);
    // Tells a running hook that it was replaced, so it does not put itself back.
    GetState().iterationHookReplaced = true;
}

std::int64_t GetIterationCount()
{
    return GetState().iteration;
}

HWND GetLatestWindow()
{
    std::deque<Window>& windows = GetState().windows;
    return windows.empty() ? nullptr : State::HandleOf(windows.back());
}

WindowInfo GetWindowInfo(HWND window)
{
    WindowInfo info;
    if (const Window* found = GetState().FindWindow(window))
    {
        const Window& candidate = *found;
        info.known = true;
        info.destroyed = candidate.destroyed;
        info.visible = candidate.visible;
        info.className = candidate.className;
        info.caption = candidate.caption;
        info.captionChanges = candidate.captionChanges;
        info.style = candidate.style;
        info.exStyle = candidate.exStyle;
        info.windowRect = candidate.windowRect;
        info.clientOrigin = ClientOrigin(candidate);
        info.clientWidth = ClientWidth(candidate);
        info.clientHeight = ClientHeight(candidate);
        info.pixelFormat = candidate.pixelFormat;
        info.pixelFormatDescriptor = candidate.pixelFormatDescriptor;
        info.outstandingDeviceContexts = candidate.outstandingDeviceContexts;
    }
    return info;
}

void SetFrameMetrics(LONG left, LONG top, LONG right, LONG bottom)
{
    GetState().frame = RECT{left, top, right, bottom};
}

void PostWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = GetLatestWindow();
    if (window != nullptr)
    {
        GetState().queue.Post(window, message, wParam, lParam);
    }
}

void PostKeyDown(int virtualKey, bool isRepeat)
{
    const LPARAM repeatBit = isRepeat ? (LPARAM{1} << 30) : 0;
    PostWindowMessage(WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1 | repeatBit);
}

void PostKeyUp(int virtualKey)
{
    PostWindowMessage(WM_KEYUP, static_cast<WPARAM>(virtualKey), 1 | (LPARAM{3} << 30));
}

void PostUserClose()
{
    PostWindowMessage(WM_CLOSE);
}

void SetCursorScreenPosition(LONG x, LONG y)
{
    GetState().cursor = POINT{x, y};
}

void SetCursorClientPosition(LONG x, LONG y)
{
    std::deque<Window>& windows = GetState().windows;
    const POINT origin = windows.empty() ? POINT{0, 0} : ClientOrigin(windows.back());
    SetCursorScreenPosition(origin.x + x, origin.y + y);
}

void SetCounterFrequency(LONGLONG countsPerSecond)
{
    GetState().frequency = countsPerSecond;
}

void AdvanceCounter(LONGLONG counts)
{
    GetState().counter += counts;
}

void AdvanceCounterSeconds(double seconds)
{
    AdvanceCounter(std::llround(seconds * static_cast<double>(GetState().frequency)));
}

std::int64_t GetSwapCount()
{
    return GetState().swaps;
}

void QueueMessageBoxAnswer(int answer)
{
    GetState().queuedAnswers.push_back(answer);
}

void SetDefaultMessageBoxAnswer(int answer)
{
    GetState().defaultAnswer = answer;
}

const std::vector<MessageBoxRecord>& GetMessageBoxes()
{
    return GetState().messageBoxes;
}

std::int64_t GetMessageBoxCount()
{
    return GetState().messageBoxCount;
}

void RestartRandomSequence(std::uint32_t state)
{
    SetCrtRandState(state);
}

}  // namespace qmImplementation::HeadlessLayer
