// SPDX-License-Identifier: Zlib
// Each recorded operation asks the layer first and writes what it answered, failures included,
// so a replay can give the framework exactly the same. The state is process-wide, as the table's
// entries are plain functions.
#include "quill_mark/platform/recording/qmi_session_recorder.h"

#include <algorithm>
#include <initializer_list>

#include "quill_mark/platform/implementation/qmi_crt_rand.h"
#include "quill_mark/platform/qm_frame_observer.h"
#include "quill_mark/platform/qmi_seam_numbers.h"
#include "quill_mark/platform/recording/qmi_session_hash.h"
#include "quill_mark/platform/recording/qmi_session_writer.h"
#include "quill_mark/platform/recording/qmi_window_numbers.h"

namespace qmImplementation::Session
{

using namespace qmSeam;

namespace
{

struct Recording
{
    const qmSeam::Table* layer = nullptr;
    qmSeam::Table table = {};
    SessionWriter writer;
    WindowNumbers windows;
};

Recording& TheRecording()
{
    static Recording recording;
    return recording;
}

const qmSeam::Table& Layer()
{
    return *TheRecording().layer;
}

void Write(AnswerKind kind, BOOL result, std::initializer_list<std::int64_t> values = {})
{
    Answer answer;
    answer.kind = kind;
    answer.failed = result == 0;
    std::copy(values.begin(), values.end(), answer.values);
    TheRecording().writer.Write(answer);
}

void WriteRect(AnswerKind kind, BOOL result, const RECT* rect)
{
    const bool hasRect = result != 0 && rect != nullptr;
    Write(kind, hasRect ? result : 0,
          {hasRect ? rect->left : 0, hasRect ? rect->top : 0, hasRect ? rect->right : 0,
           hasRect ? rect->bottom : 0});
}

HWND RecordCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                           int y, int width, int height, HWND parent, HMENU menu,
                           HINSTANCE instance, LPVOID parameter)
{
    HWND window = Layer().CreateWindowExA(exStyle, className, windowName, style, x, y, width,
                                          height, parent, menu, instance, parameter);
    if (window != nullptr)
    {
        TheRecording().windows.Add(window);
    }
    return window;
}

BOOL RecordGetClientRect(HWND window, LPRECT rect)
{
    const BOOL result = Layer().GetClientRect(window, rect);
    WriteRect(AnswerKind::kClientRect, result, rect);
    return result;
}

BOOL RecordGetWindowRect(HWND window, LPRECT rect)
{
    const BOOL result = Layer().GetWindowRect(window, rect);
    WriteRect(AnswerKind::kWindowRect, result, rect);
    return result;
}

BOOL RecordPeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove)
{
    const BOOL result = Layer().PeekMessageA(message, window, filterMin, filterMax, remove);
    if (result == 0 || message == nullptr)
    {
        Write(AnswerKind::kNoMessage, 1);
        return result;
    }
    Write(AnswerKind::kMessage, 1,
          {TheRecording().windows.NumberOf(message->hwnd), message->message,
           static_cast<std::int64_t>(message->wParam), message->lParam});
    return result;
}

BOOL RecordGetCursorPos(LPPOINT point)
{
    const BOOL result = Layer().GetCursorPos(point);
    const bool hasPoint = result != 0 && point != nullptr;
    Write(AnswerKind::kCursor, hasPoint ? result : 0,
          {hasPoint ? point->x : 0, hasPoint ? point->y : 0});
    return result;
}

// Written as the offset the call subtracted, so that a cursor position edited in the file moves
// the client position with it.
BOOL RecordScreenToClient(HWND window, LPPOINT point)
{
    const POINT screen = point != nullptr ? *point : POINT{};
    const BOOL result = Layer().ScreenToClient(window, point);
    const bool hasPoint = result != 0 && point != nullptr;
    Write(AnswerKind::kClientOrigin, hasPoint ? result : 0,
          {hasPoint ? screen.x - point->x : 0, hasPoint ? screen.y - point->y : 0});
    return result;
}

int RecordMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    const int answer = Layer().MessageBoxA(owner, text, caption, type);
    Write(AnswerKind::kMessageBox, 1, {answer, HashMessageBox(caption, text)});
    return answer;
}

BOOL RecordQueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    const BOOL result = Layer().QueryPerformanceFrequency(frequency);
    const bool hasValue = result != 0 && frequency != nullptr;
    Write(AnswerKind::kFrequency, hasValue ? result : 0, {hasValue ? frequency->QuadPart : 0});
    return result;
}

BOOL RecordQueryPerformanceCounter(LARGE_INTEGER* count)
{
    const BOOL result = Layer().QueryPerformanceCounter(count);
    const bool hasValue = result != 0 && count != nullptr;
    Write(AnswerKind::kCounter, hasValue ? result : 0, {hasValue ? count->QuadPart : 0});
    return result;
}

// Written for the slots a pad can be in; any other question is refused alike by every layer. The
// packet number is left out: the framework does not read it.
DWORD RecordXInputGetState(DWORD userIndex, XINPUT_STATE* state)
{
    const DWORD result = Layer().XInputGetState(userIndex, state);
    if (userIndex >= XUSER_MAX_COUNT || state == nullptr)
    {
        return result;
    }
    const XINPUT_GAMEPAD& pad = state->Gamepad;
    if (result != ERROR_SUCCESS)
    {
        Write(AnswerKind::kGamepad, 0, {userIndex});
        return result;
    }
    Write(AnswerKind::kGamepad, 1,
          {userIndex, pad.wButtons, pad.bLeftTrigger, pad.bRightTrigger, pad.sThumbLX, pad.sThumbLY,
           pad.sThumbRX, pad.sThumbRY});
    return result;
}

void RecordFrameEnd(std::uint32_t sceneChecksum)
{
    Write(AnswerKind::kFrameEnd, 1, {GetCrtRandState(), sceneChecksum});
}

}  // namespace

bool SessionRecorder::Start(const qmSeam::Table& layer, const std::string& path,
                            const std::string& game, std::string& error)
{
    Recording& recording = TheRecording();
    if (!recording.writer.Open(path, game, error))
    {
        return false;
    }
    recording.windows = WindowNumbers{};
    recording.layer = &layer;
    qmSeam::Table& table = recording.table;
    table = layer;
    table.CreateWindowExA = RecordCreateWindowExA;
    table.GetClientRect = RecordGetClientRect;
    table.GetWindowRect = RecordGetWindowRect;
    table.PeekMessageA = RecordPeekMessageA;
    table.GetCursorPos = RecordGetCursorPos;
    table.ScreenToClient = RecordScreenToClient;
    table.MessageBoxA = RecordMessageBoxA;
    table.QueryPerformanceFrequency = RecordQueryPerformanceFrequency;
    table.QueryPerformanceCounter = RecordQueryPerformanceCounter;
    table.XInputGetState = RecordXInputGetState;
    Quillmark::Platform::SetFrameObserver(RecordFrameEnd);
    return true;
}

const qmSeam::Table& SessionRecorder::Table()
{
    return TheRecording().table;
}

void SessionRecorder::Finish()
{
    Quillmark::Platform::SetFrameObserver(nullptr);
    TheRecording().writer.Close();
}

}  // namespace qmImplementation::Session
