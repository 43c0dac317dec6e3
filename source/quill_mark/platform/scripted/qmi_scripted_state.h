// The scripted platform's process-wide state and the handle types it defines, shared by its
// source files only. Windows and contexts are kept until Reset, so a stale handle still points
// at memory of ours; handles are only ever compared, never trusted, before use.
#pragma once

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "quill_mark/platform/implementation/qmi_handle_tables.h"
#include "quill_mark/platform/qm_platform.h"
#include "quill_mark/platform/scripted/qmi_scripted_platform.h"

struct HWND__ : qmImplementation::WindowRecord
{
    HWND__() = default;
    HWND__(const HWND__&) = delete;
    HWND__& operator=(const HWND__&) = delete;

    std::string className;
    std::string caption;
    int captionChanges = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT windowRect = {};
    RECT frame = {};
    bool visible = false;
    PIXELFORMATDESCRIPTOR pixelFormatDescriptor = {};
    int outstandingDeviceContexts = 0;
    HDC__ deviceContext = {this};
};

namespace qmImplementation::ScriptedPlatform
{

constexpr LONGLONG kStartCounter = 987654321;
constexpr LONGLONG kDefaultFrequency = 10000000;
constexpr std::size_t kDefaultCallLogCapacity = 10000;

struct State : HandleTables<HWND__>
{
    RECT frame = {8, 31, 8, 8};
    POINT cursor = {0, 0};
    LONGLONG frequency = kDefaultFrequency;
    LONGLONG counter = kStartCounter;
    std::int64_t iteration = 0;
    IterationHook iterationHook;
    bool iterationHookReplaced = false;
    std::int64_t swaps = 0;
    std::deque<int> queuedAnswers;
    int defaultAnswer = IDOK;
    std::vector<MessageBoxRecord> messageBoxes;
    std::int64_t messageBoxCount = 0;
    std::vector<CallRecord> callLog;
    std::size_t callLogCapacity = kDefaultCallLogCapacity;
    std::int64_t droppedCalls = 0;
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

LONG ClientWidth(const HWND__& window);
LONG ClientHeight(const HWND__& window);
POINT ClientOrigin(const HWND__& window);

// Calls the window's procedure directly, as sent messages are.
LRESULT SendToWindow(HWND__& window, UINT message, WPARAM wParam, LPARAM lParam);

void Record(PlatformCall call, HWND window, std::initializer_list<std::intptr_t> arguments = {});

template <typename Pointer>
std::intptr_t AsArgument(Pointer* pointer)
{
    return reinterpret_cast<std::intptr_t>(pointer);
}

}  // namespace qmImplementation::ScriptedPlatform
