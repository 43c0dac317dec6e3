// SPDX-License-Identifier: Zlib
// The headless layer's process-wide state and window record, shared by its source files only,
// and the operations they define. Windows and contexts are kept until Reset, so a stale handle
// still names memory of ours; handles are only ever compared, never trusted, before use.
#pragma once

#include <deque>
#include <vector>

#include "quill_mark/platform/headless/qmi_headless_layer.h"
#include "quill_mark/platform/implementation/qmi_handle_tables.h"
#include "quill_mark/platform/qmi_seam_numbers.h"

namespace qmImplementation::HeadlessLayer
{

using namespace qmSeam;

struct Window : WindowRecord
{
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

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
    DeviceContextRecord<Window> deviceContext = {this};
};

// A scripted pad; polls are counted whether or not one is connected.
struct Gamepad
{
    bool connected = false;
    XINPUT_STATE state = {};
    std::int64_t polls = 0;
};

constexpr LONGLONG kStartCounter = 987654321;
constexpr LONGLONG kDefaultFrequency = 10000000;

struct State : HandleTables<Window>
{
    RECT frame = {8, 31, 8, 8};
    POINT cursor = {0, 0};
    LONGLONG frequency = kDefaultFrequency;
    LONGLONG counter = kStartCounter;
    std::int64_t iteration = 0;
    IterationHook iterationHook;
    bool iterationHookReplaced = false;
    // A pad was asked for since the last GetCursorPos: the iteration has begun already.
    bool iterationBegunByGamepads = false;
    Gamepad gamepads[XUSER_MAX_COUNT] = {};
    std::int64_t swaps = 0;
    std::deque<int> queuedAnswers;
    int defaultAnswer = IDOK;
    std::vector<MessageBoxRecord> messageBoxes;
    std::int64_t messageBoxCount = 0;
    bool offscreenGl = false;
};

State& GetState();

LONG ClientWidth(const Window& window);
LONG ClientHeight(const Window& window);
POINT ClientOrigin(const Window& window);

// Runs the test's hook for a new loop iteration (qmi_headless_clock_cursor.cpp).
void RunIterationHook();

// Real contexts behind the layer's own, while UseOffscreenGl is on (qmi_headless_gl_context.cpp).
void ReleaseOffscreenContexts();

// The operations, one file per group: window, messages, GL context, message box, clock and cursor,
// gamepads.
QM_SEAM_LAYER_OPERATIONS

}  // namespace qmImplementation::HeadlessLayer
