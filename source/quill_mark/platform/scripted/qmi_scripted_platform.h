// The scripted platform layer: the Win32-style seam of qm_platform.h with no real window and no
// OpenGL context, which tests link instead of the SDL layer; this header is its control, through
// which a test drives and observes it. Everything runs on the calling thread; nothing here
// waits, sleeps or reads the real clock.
//
// What it provides, and where it differs from Win32:
//  [x] module, window class, icon, arrow   as the SDL layer: one module, nothing loaded
//  [x] CreateWindowExA, DestroyWindow      windows are records; WM_CREATE and WM_DESTROY are sent
//                                          before the calls return; a frame of 8, 31, 8, 8 pixels
//                                          (SetFrameMetrics) surrounds the client area
//  [x] Get{Client,Window}Rect, SetWindowPos, SetWindowTextA
//  [x] UpdateWindow, ShowWindow            showing a hidden window asks for one WM_PAINT
//  [x] PeekMessageA, DispatchMessageA,     what the test posts, in order, then WM_QUIT, then
//      DefWindowProcA, PostQuitMessage     WM_PAINT; filters ignored; always removes
//  [ ] TranslateMessage, IsDialogMessageA  no character messages, no dialogs: both answer 0
//  [x] GetCursorPos, ScreenToClient        the scripted cursor; GetCursorPos is the first call of
//                                          every loop iteration and runs the iteration hook first
//  [x] GetDC, ReleaseDC, pixel formats,    bookkeeping only: no context is ever current, so the
//      wgl*, SwapBuffers                   code under test's GL calls draw nothing (glGen* give 0,
//                                          glGet* leave their outputs as they were)
//  [x] MessageBoxA                         nothing shown: recorded, and answered from the queue of
//                                          answers or the default answer
//  [x] QueryPerformance{Counter,Frequency} the scripted counter, advanced only by the test
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "quill_mark/platform/implementation/qmi_window_class_table.h"
#include "quill_mark/platform/qm_platform.h"

namespace qmImplementation::ScriptedPlatform
{

// ---- Whole state ---------------------------------------------------------------------------
// Forgets windows, classes, messages, contexts, message boxes, the call log and the iteration
// hook, and puts the cursor, the counter and the frame back to their starting values. Handles
// from before are then meaningless (but still safe to pass: they match nothing).
// The random sequence is separate: see RestartRandomSequence.
void Reset();

// ---- Iterations ----------------------------------------------------------------------------
// The hook runs at the start of every loop iteration with the iteration's number (0, 1, 2...),
// before the cursor is read and the queue drained, so whatever it posts or sets is seen in that
// same iteration. It may replace or clear itself. Example: every iteration advance the counter
// by 1/100 s; at iteration 100 press Escape, at 101 release it.
using IterationHook = std::function<void(std::int64_t iteration)>;
void SetIterationHook(IterationHook hook);
// How many iterations have begun so far.
std::int64_t GetIterationCount();

// ---- Windows -------------------------------------------------------------------------------
// The most recently created window (live or destroyed); null before the first one.
HWND GetLatestWindow();

struct WindowInfo
{
    bool known = false;  // the handle names a window of this platform
    bool destroyed = false;
    bool visible = false;
    std::string className;
    std::string caption;
    int captionChanges = 0;  // SetWindowTextA calls that changed it
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT windowRect = {};     // outer rectangle, screen pixels
    POINT clientOrigin = {};  // top-left corner of the client area, screen pixels
    LONG clientWidth = 0;
    LONG clientHeight = 0;
    int pixelFormat = 0;  // 0 until SetPixelFormat succeeded
    PIXELFORMATDESCRIPTOR pixelFormatDescriptor = {};
    int outstandingDeviceContexts = 0;  // GetDC calls not yet matched by ReleaseDC
};
WindowInfo GetWindowInfo(HWND window);

// The frame that windows created from now on get around their client area.
void SetFrameMetrics(LONG left, LONG top, LONG right, LONG bottom);

// Null when no class of that name was registered.
const RegisteredWindowClass* FindRegisteredClass(const char* name);

// ---- Messages ------------------------------------------------------------------------------
// All post to the latest window (nothing happens when there is none); posted messages are
// handed out by PeekMessageA in order.
void PostWindowMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Key messages as a keyboard gives them: repeat count 1, bit 30 for an automatic repeat on
// key-down, bits 30 and 31 on key-up.
void PostKeyDown(int virtualKey, bool isRepeat = false);
void PostKeyUp(int virtualKey);
// The user pressed the close button of the caption: WM_CLOSE.
void PostUserClose();
void PostActivate(bool active);
// The window needs painting: WM_PAINT once the posted messages are drained.
void InvalidateWindow();

// ---- Cursor --------------------------------------------------------------------------------
void SetCursorScreenPosition(LONG x, LONG y);
// Relative to the client area of the latest window; may be negative or beyond its size.
void SetCursorClientPosition(LONG x, LONG y);

// ---- Performance counter -------------------------------------------------------------------
// Starts at an arbitrary non-zero count with a frequency of 10,000,000 per second.
void SetCounterFrequency(LONGLONG countsPerSecond);
void AdvanceCounter(LONGLONG counts);
// Rounded to the nearest count.
void AdvanceCounterSeconds(double seconds);

// ---- Drawing -------------------------------------------------------------------------------
// SwapBuffers calls that presented something (a live window's device context).
std::int64_t GetSwapCount();
// Contexts created and not yet deleted.
int GetLiveContextCount();

// ---- Message boxes -------------------------------------------------------------------------
struct MessageBoxRecord
{
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT type = 0;
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

// ---- Call log ------------------------------------------------------------------------------
enum class PlatformCall : std::uint8_t
{
    kGetModuleHandleA,
    kRegisterClassA,
    kLoadIconA,
    kLoadCursorA,
    kCreateWindowExA,
    kGetClientRect,
    kGetWindowRect,
    kSetWindowPos,
    kUpdateWindow,
    kShowWindow,
    kSetWindowTextA,
    kDestroyWindow,
    kPeekMessageA,
    kTranslateMessage,
    kDispatchMessageA,
    kIsDialogMessageA,
    kDefWindowProcA,
    kPostQuitMessage,
    kGetCursorPos,
    kScreenToClient,
    kGetDC,
    kReleaseDC,
    kChoosePixelFormat,
    kSetPixelFormat,
    kWglCreateContext,
    kWglMakeCurrent,
    kWglGetCurrentContext,
    kWglDeleteContext,
    kSwapBuffers,
    kMessageBoxA,
    kQueryPerformanceFrequency,
    kQueryPerformanceCounter,
};
const char* GetCallName(PlatformCall call);

// One call, recorded when it was made (so nested calls follow their caller). The window is the
// one the call names or, for device-context calls, the window of the device context. Arguments:
//   CreateWindowExA   exStyle, style, x, y, width, height
//   SetWindowPos      x, y, width, height, flags, insertAfter
//   ShowWindow        command
//   PeekMessageA      filterMin, filterMax, remove, result, message number taken (0 if none)
//   TranslateMessage, DispatchMessageA, IsDialogMessageA, DefWindowProcA
//                     message number, wParam, lParam
//   PostQuitMessage   exit code
//   Choose/SetPixelFormat  format (SetPixelFormat), result
//   wglMakeCurrent, wglDeleteContext   context
//   wglCreateContext, wglGetCurrentContext   context returned
//   MessageBoxA       type
// and 0 for the rest.
struct CallRecord
{
    PlatformCall call;
    HWND window;
    std::intptr_t arguments[6];
};

// At most this many calls are kept (default 10,000); later ones are counted but not kept.
// 0 turns the log off. Long runs should turn it off or keep it small.
void SetCallLogCapacity(std::size_t capacity);
const std::vector<CallRecord>& GetCallLog();
std::int64_t GetDroppedCallCount();
void ClearCallLog();

}  // namespace qmImplementation::ScriptedPlatform
