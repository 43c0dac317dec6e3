// SPDX-License-Identifier: Zlib
// The headless layer: the seam with no window system, no display and no clock of its own, for tests
// and for replays. This header is its control, through which a test or a replay drives and
// observes it. Everything runs on the calling thread; nothing here waits, sleeps or reads a clock.
//
// What it provides, and where it differs from Win32:
//  [x] module, window class, icon, arrow   one module, nothing loaded
//  [x] CreateWindowExA, DestroyWindow      windows are records; WM_CREATE and WM_DESTROY are sent
//                                          before the calls return; a frame of 8, 31, 8, 8 pixels
//                                          (SetFrameMetrics) surrounds the client area
//  [x] Get{Client,Window}Rect, SetWindowPos, SetWindowTextA
//  [x] UpdateWindow, ShowWindow            showing a hidden window asks for one WM_PAINT
//  [x] PeekMessageA, DispatchMessageA,     what the driver posts, in order, then WM_QUIT, then
//      DefWindowProcA, PostQuitMessage     WM_PAINT; filters ignored; always removes
//  [ ] TranslateMessage, IsDialogMessageA  no character messages, no dialogs: both answer 0
//  [x] GetCursorPos, ScreenToClient        the scripted cursor; GetCursorPos is the first call of
//                                          every loop iteration and runs the iteration hook first
//  [x] GetDC, ReleaseDC, pixel formats,    bookkeeping only: no context is current, so GL calls
//      wgl*, SwapBuffers                   draw nothing (glGen* give 0), unless UseOffscreenGl made
//                                          each context a real one without a window
//  [x] MessageBoxA                         nothing shown: counted, kept, and answered from the
//                                          queue of answers or the default answer
//  [x] QueryPerformance{Counter,Frequency} the scripted counter, advanced only by the driver
//  [x] XInputGetState                      the scripted pads (ConnectGamepad); the first call of a
//                                          loop iteration runs the iteration hook, as GetCursorPos
//                                          does when no pad was asked for before it
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "quill_mark/platform/qmi_seam.h"

namespace qmImplementation::HeadlessLayer
{

const qmSeam::Table& Table();

// ---- Whole state ---------------------------------------------------------------------------
// Makes this layer the one that answers the seam, and forgets windows, classes, messages,
// contexts, message boxes and the iteration hook; the cursor, the counter and the frame go back
// to their starting values. Handles from before then match nothing (but stay safe to pass).
// The random sequence is separate: see RestartRandomSequence.
void Reset();

// Contexts created from now on are real OpenGL contexts without a window, current when the game
// makes them current, so textures load as they would on a screen (a replay needs that). Off
// after Reset. False when no such context can be had here; the layer then stays bookkeeping only.
bool UseOffscreenGl(bool use);

// ---- Iterations ----------------------------------------------------------------------------
// The hook runs at the start of every loop iteration with the iteration's number (0, 1, 2...),
// before the pads and the cursor are read and the queue drained, so whatever it posts or sets is
// seen in that same iteration. An iteration starts with the first XInputGetState after a
// GetCursorPos, or with a GetCursorPos that no XInputGetState came before. It may replace or
// clear itself. Example: every iteration advance the counter by 1/100 s; at iteration 100 press
// Escape, at 101 release it.
using IterationHook = std::function<void(std::int64_t iteration)>;
void SetIterationHook(IterationHook hook);
// How many iterations have begun so far.
std::int64_t GetIterationCount();

// ---- Windows -------------------------------------------------------------------------------
// The most recently created window (live or destroyed); null before the first one.
qmSeam::HWND GetLatestWindow();

struct WindowInfo
{
    bool known = false;  // the handle names a window of this layer
    bool destroyed = false;
    bool visible = false;
    std::string className;
    std::string caption;
    int captionChanges = 0;  // SetWindowTextA calls that changed it
    qmSeam::DWORD style = 0;
    qmSeam::DWORD exStyle = 0;
    qmSeam::RECT windowRect = {};     // outer rectangle, screen pixels
    qmSeam::POINT clientOrigin = {};  // top-left corner of the client area, screen pixels
    qmSeam::LONG clientWidth = 0;
    qmSeam::LONG clientHeight = 0;
    int pixelFormat = 0;  // 0 until SetPixelFormat succeeded
    qmSeam::PIXELFORMATDESCRIPTOR pixelFormatDescriptor = {};
    int outstandingDeviceContexts = 0;  // GetDC calls not yet matched by ReleaseDC
};
WindowInfo GetWindowInfo(qmSeam::HWND window);

// The frame that windows created from now on get around their client area.
void SetFrameMetrics(qmSeam::LONG left, qmSeam::LONG top, qmSeam::LONG right, qmSeam::LONG bottom);

// ---- Messages ------------------------------------------------------------------------------
// All post to the latest window (nothing happens when there is none); posted messages are
// handed out by PeekMessageA in order.
void PostWindowMessage(qmSeam::UINT message, qmSeam::WPARAM wParam = 0, qmSeam::LPARAM lParam = 0);
// Key messages as a keyboard gives them: repeat count 1, bit 30 for an automatic repeat on
// key-down, bits 30 and 31 on key-up.
void PostKeyDown(int virtualKey, bool isRepeat = false);
void PostKeyUp(int virtualKey);
// The user pressed the close button of the caption: WM_CLOSE.
void PostUserClose();

// ---- Cursor --------------------------------------------------------------------------------
void SetCursorScreenPosition(qmSeam::LONG x, qmSeam::LONG y);
// Relative to the client area of the latest window; may be negative or beyond its size.
void SetCursorClientPosition(qmSeam::LONG x, qmSeam::LONG y);

// ---- Performance counter -------------------------------------------------------------------
// Starts at an arbitrary non-zero count with a frequency of 10,000,000 per second.
void SetCounterFrequency(qmSeam::LONGLONG countsPerSecond);
void AdvanceCounter(qmSeam::LONGLONG counts);
// Rounded to the nearest count.
void AdvanceCounterSeconds(double seconds);

// ---- Gamepads ------------------------------------------------------------------------------
// Slots 0 to 3 (XUSER_MAX_COUNT) hold no pad until one is connected there, and after Reset.
// Connecting puts a pad in the slot with the given state (replacing any pad there); a pad's state
// changes only when set again, and each change moves its packet number on.
void ConnectGamepad(int slot, const qmSeam::XINPUT_GAMEPAD& state = {});
// The state of the pad in the slot; nothing happens when the slot holds none.
void SetGamepadState(int slot, const qmSeam::XINPUT_GAMEPAD& state);
void DisconnectGamepad(int slot);
// How often XInputGetState was asked about the slot since Reset.
std::int64_t GetGamepadPollCount(int slot);

// ---- Drawing -------------------------------------------------------------------------------
// SwapBuffers calls that presented something (a live window's device context).
std::int64_t GetSwapCount();

// ---- Message boxes -------------------------------------------------------------------------
struct MessageBoxRecord
{
    qmSeam::HWND owner = nullptr;
    std::string text;
    std::string caption;
    qmSeam::UINT type = 0;
    int answer = 0;
};
// Answers are used in the order queued; with none queued the default answer (IDOK) is given.
void QueueMessageBoxAnswer(int answer);
void SetDefaultMessageBoxAnswer(int answer);
// The first kMessageBoxRecordLimit boxes shown; GetMessageBoxCount counts all.
constexpr std::size_t kMessageBoxRecordLimit = 1000;
const std::vector<MessageBoxRecord>& GetMessageBoxes();
std::int64_t GetMessageBoxCount();

// ---- Random sequence -----------------------------------------------------------------------
// Back to the start of the sequence every run draws (or to any other state).
void RestartRandomSequence(std::uint32_t state = 1);

}  // namespace qmImplementation::HeadlessLayer
