// The scripted platform's process-wide state and the handle types it defines, shared by its
// source files only. Windows and contexts are kept until Reset, so a stale handle still points
// at memory of ours; handles are only ever compared, never trusted, before use.
#pragma once

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "quill_mark/platform/qm_platform.h"
#include "quill_mark/platform/qmi_message_queue.h"
#include "quill_mark/platform/qmi_window_class_table.h"
#include "quill_mark/platform/scripted/qmi_scripted_platform.h"

struct HDC__
{
    HWND__* window;
};

struct HWND__
{
    HWND__() = default;
    HWND__(const HWND__&) = delete;
    HWND__& operator=(const HWND__&) = delete;

    WNDPROC procedure = nullptr;
    std::string className;
    std::string caption;
    int captionChanges = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT windowRect = {};
    RECT frame = {};
    bool visible = false;
    bool destroying = false;
    bool destroyed = false;
    int pixelFormat = 0;
    PIXELFORMATDESCRIPTOR pixelFormatDescriptor = {};
    int outstandingDeviceContexts = 0;
    HDC__ deviceContext = {this};
};

struct HGLRC__
{
    HWND__* window;
    bool deleted;
};

struct HINSTANCE__
{
    int unused;
};

struct HICON__
{
    int unused;
};

namespace qmImplementation::ScriptedPlatform
{

constexpr LONGLONG kStartCounter = 987654321;
constexpr LONGLONG kDefaultFrequency = 10000000;
constexpr std::size_t kDefaultCallLogCapacity = 10000;

struct State
{
    std::deque<HWND__> windows;
    std::deque<HGLRC__> contexts;
    HGLRC currentContext = nullptr;
    std::vector<PIXELFORMATDESCRIPTOR> chosenFormats;
    WindowClassTable classes;
    MessageQueue queue;
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

// The window the handle names if it is one of ours and not destroyed; null otherwise.
HWND__* FindLiveWindow(HWND window);
// The window of a device context of ours (live or destroyed); null for anything else.
HWND__* FindDeviceContextWindow(HDC deviceContext);
HGLRC__* FindContext(HGLRC context);

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
