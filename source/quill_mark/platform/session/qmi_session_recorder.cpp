// Each recorded operation asks the layer first and writes what it answered, failures included,
// so a replay can give the framework exactly the same. The state is process-wide, as the table's
// entries are plain functions.
#include "quill_mark/platform/session/qmi_session_recorder.h"

#include "quill_mark/platform/implementation/qmi_crt_rand.h"
#include "quill_mark/platform/qm_frame_observer.h"
#include "quill_mark/platform/session/qmi_session_hash.h"
#include "quill_mark/platform/session/qmi_session_writer.h"
#include "quill_mark/platform/session/qmi_window_numbers.h"

namespace qmImplementation::Session
{

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

void Write(AnswerKind kind, BOOL result, std::int64_t a = 0, std::int64_t b = 0, std::int64_t c = 0,
           std::int64_t d = 0)
{
    Answer answer;
    answer.kind = kind;
    answer.failed = result == 0;
    answer.values[0] = a;
    answer.values[1] = b;
    answer.values[2] = c;
    answer.values[3] = d;
    TheRecording().writer.Write(answer);
}

void WriteRect(AnswerKind kind, BOOL result, const RECT* rect)
{
    const bool hasRect = result != 0 && rect != nullptr;
    Write(kind, hasRect ? result : 0, hasRect ? rect->left : 0, hasRect ? rect->top : 0,
          hasRect ? rect->right : 0, hasRect ? rect->bottom : 0);
}

qmSeam::Window RecordCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName,
                                     DWORD style, int x, int y, int width, int height,
                                     qmSeam::Window parent, HMENU menu, HINSTANCE instance,
                                     LPVOID parameter)
{
    qmSeam::Window window =
        Layer().createWindowExA(exStyle, className, windowName, style, x, y, width, height, parent,
                                menu, instance, parameter);
    if (window != nullptr)
    {
        TheRecording().windows.Add(window);
    }
    return window;
}

BOOL RecordGetClientRect(qmSeam::Window window, LPRECT rect)
{
    const BOOL result = Layer().getClientRect(window, rect);
    WriteRect(AnswerKind::kClientRect, result, rect);
    return result;
}

BOOL RecordGetWindowRect(qmSeam::Window window, LPRECT rect)
{
    const BOOL result = Layer().getWindowRect(window, rect);
    WriteRect(AnswerKind::kWindowRect, result, rect);
    return result;
}

BOOL RecordPeekMessageA(LPMSG message, qmSeam::Window window, UINT filterMin, UINT filterMax,
                        UINT remove)
{
    const BOOL result = Layer().peekMessageA(message, window, filterMin, filterMax, remove);
    if (result == 0 || message == nullptr)
    {
        Write(AnswerKind::kNoMessage, 1);
        return result;
    }
    Write(AnswerKind::kMessage, 1, TheRecording().windows.NumberOf(message->hwnd), message->message,
          static_cast<std::int64_t>(message->wParam), message->lParam);
    return result;
}

BOOL RecordGetCursorPos(LPPOINT point)
{
    const BOOL result = Layer().getCursorPos(point);
    const bool hasPoint = result != 0 && point != nullptr;
    Write(AnswerKind::kCursor, hasPoint ? result : 0, hasPoint ? point->x : 0,
          hasPoint ? point->y : 0);
    return result;
}

// Written as the offset the call subtracted, so that a cursor position edited in the file moves
// the client position with it.
BOOL RecordScreenToClient(qmSeam::Window window, LPPOINT point)
{
    const POINT screen = point != nullptr ? *point : POINT{};
    const BOOL result = Layer().screenToClient(window, point);
    const bool hasPoint = result != 0 && point != nullptr;
    Write(AnswerKind::kClientOrigin, hasPoint ? result : 0, hasPoint ? screen.x - point->x : 0,
          hasPoint ? screen.y - point->y : 0);
    return result;
}

int RecordMessageBoxA(qmSeam::Window owner, LPCSTR text, LPCSTR caption, UINT type)
{
    const int answer = Layer().messageBoxA(owner, text, caption, type);
    Write(AnswerKind::kMessageBox, 1, answer, HashMessageBox(caption, text));
    return answer;
}

BOOL RecordQueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    const BOOL result = Layer().queryPerformanceFrequency(frequency);
    const bool hasValue = result != 0 && frequency != nullptr;
    Write(AnswerKind::kFrequency, hasValue ? result : 0, hasValue ? frequency->QuadPart : 0);
    return result;
}

BOOL RecordQueryPerformanceCounter(LARGE_INTEGER* count)
{
    const BOOL result = Layer().queryPerformanceCounter(count);
    const bool hasValue = result != 0 && count != nullptr;
    Write(AnswerKind::kCounter, hasValue ? result : 0, hasValue ? count->QuadPart : 0);
    return result;
}

void RecordFrameEnd(std::uint32_t sceneChecksum)
{
    Write(AnswerKind::kFrameEnd, 1, GetCrtRandState(), sceneChecksum);
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
    recording.layer = &layer;
    qmSeam::Table& table = recording.table;
    table = layer;
    table.createWindowExA = RecordCreateWindowExA;
    table.getClientRect = RecordGetClientRect;
    table.getWindowRect = RecordGetWindowRect;
    table.peekMessageA = RecordPeekMessageA;
    table.getCursorPos = RecordGetCursorPos;
    table.screenToClient = RecordScreenToClient;
    table.messageBoxA = RecordMessageBoxA;
    table.queryPerformanceFrequency = RecordQueryPerformanceFrequency;
    table.queryPerformanceCounter = RecordQueryPerformanceCounter;
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
