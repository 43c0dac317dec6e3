// The scripted platform's state and the control functions tests use to drive and observe it.
// The call log is bounded and allocates only while it grows, so long runs stay cheap.
#include <algorithm>
#include <cmath>

#include "quill_mark/platform/implementation/qmi_crt_rand.h"
#include "quill_mark/platform/scripted/qmi_scripted_state.h"

namespace qmImplementation::ScriptedPlatform
{

State& GetState()
{
    static State state;
    return state;
}

LONG ClientWidth(const HWND__& window)
{
    const LONG width =
        window.windowRect.right - window.windowRect.left - window.frame.left - window.frame.right;
    return std::max<LONG>(width, 0);
}

LONG ClientHeight(const HWND__& window)
{
    const LONG height =
        window.windowRect.bottom - window.windowRect.top - window.frame.top - window.frame.bottom;
    return std::max<LONG>(height, 0);
}

POINT ClientOrigin(const HWND__& window)
{
    return POINT{window.windowRect.left + window.frame.left,
                 window.windowRect.top + window.frame.top};
}

LRESULT SendToWindow(HWND__& window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return window.procedure(&window, message, wParam, lParam);
}

void Record(PlatformCall call, HWND window, std::initializer_list<std::intptr_t> arguments)
{
    State& state = GetState();
    if (state.callLog.size() >= state.callLogCapacity)
    {
        ++state.droppedCalls;
        return;
    }
    CallRecord record = {call, window, {}};
    std::copy_n(arguments.begin(), std::min<std::size_t>(arguments.size(), 6), record.arguments);
    state.callLog.push_back(record);
}

void Reset()
{
    State& state = GetState();
    state.ClearHandles();
    state.frame = RECT{8, 31, 8, 8};
    state.cursor = POINT{0, 0};
    state.frequency = kDefaultFrequency;
    state.counter = kStartCounter;
    state.iteration = 0;
    state.iterationHook = nullptr;
    state.iterationHookReplaced = true;
    state.swaps = 0;
    state.queuedAnswers.clear();
    state.defaultAnswer = IDOK;
    state.messageBoxes.clear();
    state.messageBoxCount = 0;
    state.callLog.clear();
    state.callLogCapacity = kDefaultCallLogCapacity;
    state.droppedCalls = 0;
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
    std::deque<HWND__>& windows = GetState().windows;
    return windows.empty() ? nullptr : &windows.back();
}

WindowInfo GetWindowInfo(HWND window)
{
    WindowInfo info;
    for (const HWND__& candidate : GetState().windows)
    {
        if (&candidate != window)
        {
            continue;
        }
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

const RegisteredWindowClass* FindRegisteredClass(const char* name)
{
    return GetState().classes.Find(name);
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

void PostActivate(bool active)
{
    PostWindowMessage(WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE);
}

void InvalidateWindow()
{
    HWND window = GetLatestWindow();
    if (window != nullptr)
    {
        GetState().queue.Invalidate(window);
    }
}

void SetCursorScreenPosition(LONG x, LONG y)
{
    GetState().cursor = POINT{x, y};
}

void SetCursorClientPosition(LONG x, LONG y)
{
    HWND window = GetLatestWindow();
    const POINT origin = window != nullptr ? ClientOrigin(*window) : POINT{0, 0};
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

int GetLiveContextCount()
{
    const std::deque<HGLRC__>& contexts = GetState().contexts;
    return static_cast<int>(std::count_if(contexts.begin(), contexts.end(),
                                          [](const HGLRC__& context) { return !context.deleted; }));
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

const char* GetCallName(PlatformCall call)
{
    static const char* const kNames[] = {"GetModuleHandleA",
                                         "RegisterClassA",
                                         "LoadIconA",
                                         "LoadCursorA",
                                         "CreateWindowExA",
                                         "GetClientRect",
                                         "GetWindowRect",
                                         "SetWindowPos",
                                         "UpdateWindow",
                                         "ShowWindow",
                                         "SetWindowTextA",
                                         "DestroyWindow",
                                         "PeekMessageA",
                                         "TranslateMessage",
                                         "DispatchMessageA",
                                         "IsDialogMessageA",
                                         "DefWindowProcA",
                                         "PostQuitMessage",
                                         "GetCursorPos",
                                         "ScreenToClient",
                                         "GetDC",
                                         "ReleaseDC",
                                         "ChoosePixelFormat",
                                         "SetPixelFormat",
                                         "wglCreateContext",
                                         "wglMakeCurrent",
                                         "wglGetCurrentContext",
                                         "wglDeleteContext",
                                         "SwapBuffers",
                                         "MessageBoxA",
                                         "QueryPerformanceFrequency",
                                         "QueryPerformanceCounter"};
    static_assert(sizeof(kNames) / sizeof(kNames[0]) ==
                      static_cast<std::size_t>(PlatformCall::kQueryPerformanceCounter) + 1,
                  "one name per call");
    return kNames[static_cast<std::size_t>(call)];
}

void SetCallLogCapacity(std::size_t capacity)
{
    State& state = GetState();
    state.callLogCapacity = capacity;
    if (state.callLog.size() > capacity)
    {
        state.callLog.resize(capacity);
    }
}

const std::vector<CallRecord>& GetCallLog()
{
    return GetState().callLog;
}

std::int64_t GetDroppedCallCount()
{
    return GetState().droppedCalls;
}

void ClearCallLog()
{
    GetState().callLog.clear();
    GetState().droppedCalls = 0;
}

}  // namespace qmImplementation::ScriptedPlatform
