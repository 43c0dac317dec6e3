// SPDX-License-Identifier: Zlib
// The replay's state is process-wide, as the table's entries are plain functions. Answers come
// from the file only while the replay is on course; after it stops, the calls get the last
// answers again (no time passes, the cursor stays) or go to the layer, so the game can end.
#include "quill_mark/platform/recording/qmi_session_replayer.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <optional>
#include <thread>

#include "quill_mark/platform/implementation/qmi_crt_rand.h"
#include "quill_mark/platform/qm_frame_observer.h"
#include "quill_mark/platform/qmi_seam_numbers.h"
#include "quill_mark/platform/recording/qmi_session_hash.h"
#include "quill_mark/platform/recording/qmi_window_numbers.h"

namespace qmImplementation::Session
{

using namespace qmSeam;

namespace
{

using Clock = std::chrono::steady_clock;

// A week: longer than any session, short enough to stay within the clock's range.
constexpr double kLongestWait = 7.0 * 24.0 * 3600.0;

enum class Mode
{
    kReplaying,  // answers from the file
    kClosing,    // the next message is WM_CLOSE for the first window
    kClosed,     // messages from the layer, until the game has ended
    kHolding,    // in a window: game time frozen, messages from the layer (the user closes it)
};

struct Replay
{
    const qmSeam::Table* layer = nullptr;
    qmSeam::Table table = {};
    SessionReader reader;
    SessionReplayer::Options options;
    WindowNumbers windows;

    Mode mode = Mode::kReplaying;
    std::optional<SessionReplayer::Outcome> outcome;
    std::string report;
    std::int64_t frames = 0;

    POINT cursor = {};
    POINT origin = {};
    // Each slot's last answer, which stands once the replay stopped; none is connected at first.
    Answer gamepads[kGamepadSlots] = {};
    DWORD packets[kGamepadSlots] = {};
    std::int64_t count = 0;
    std::int64_t frequency = 0;
    std::optional<std::int64_t> firstCount;
    Clock::time_point firstCountTime;
};

Replay& TheReplay()
{
    static Replay replay;
    return replay;
}

const qmSeam::Table& Layer()
{
    return *TheReplay().layer;
}

__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...)
{
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    return text;
}

long long CurrentFrame()
{
    return static_cast<long long>(TheReplay().frames) + 1;
}

// The first verdict stands; the replay stops answering from the file.
void Conclude(SessionReplayer::Outcome outcome, std::string report)
{
    Replay& replay = TheReplay();
    if (!replay.outcome)
    {
        replay.outcome = outcome;
        replay.report = std::move(report);
    }
    replay.mode = replay.options.show ? Mode::kHolding : Mode::kClosing;
}

bool Matches(AnswerKind wanted, AnswerKind found)
{
    return found == wanted || (wanted == AnswerKind::kMessage && found == AnswerKind::kNoMessage);
}

// The next answer, if it is one of the kind the game asks for; otherwise the replay concludes.
bool Take(AnswerKind wanted, Answer& answer)
{
    Replay& replay = TheReplay();
    if (replay.mode != Mode::kReplaying)
    {
        return false;
    }
    switch (replay.reader.Next(answer))
    {
        case SessionReader::Status::kAnswer:
            if (Matches(wanted, answer.kind))
            {
                return true;
            }
            Conclude(
                SessionReplayer::Outcome::kDiffers,
                Format(
                    "replay: frame %lld differs: the game asks for %s where the recording has %s",
                    CurrentFrame(), DescribeKind(wanted), DescribeKind(answer.kind)));
            return false;
        case SessionReader::Status::kEnd:
            Conclude(
                SessionReplayer::Outcome::kDiffers,
                Format(
                    "replay: frame %lld differs: the game asks for %s after the recorded game ended",
                    CurrentFrame(), DescribeKind(wanted)));
            return false;
        case SessionReader::Status::kExhausted:
            Conclude(SessionReplayer::Outcome::kBadInput,
                     Format("replay: %s runs out in frame %lld before the game ends",
                            replay.options.path.c_str(), CurrentFrame()));
            return false;
        case SessionReader::Status::kMalformed:
            break;
    }
    Conclude(SessionReplayer::Outcome::kBadInput,
             Format("replay: %s line %d: \"%.40s\" is not a recorded answer",
                    replay.options.path.c_str(), replay.reader.Line(),
                    std::string(replay.reader.Token()).c_str()));
    return false;
}

// Shown at the recorded speed: each counter reading waits until as much real time has passed
// since the first one as had passed when it was recorded.
void Pace(std::int64_t count)
{
    Replay& replay = TheReplay();
    if (!replay.firstCount)
    {
        replay.firstCount = count;
        replay.firstCountTime = Clock::now();
        return;
    }
    if (replay.frequency <= 0)
    {
        return;
    }
    // In unsigned arithmetic and bounded, as the counts come from a file.
    const auto counts = static_cast<std::int64_t>(static_cast<std::uint64_t>(count) -
                                                  static_cast<std::uint64_t>(*replay.firstCount));
    const double seconds = static_cast<double>(counts) / static_cast<double>(replay.frequency);
    const double bounded = seconds < 0.0 ? 0.0 : (seconds > kLongestWait ? kLongestWait : seconds);
    std::this_thread::sleep_until(
        replay.firstCountTime +
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(bounded)));
}

// In a window the layer's own events keep arriving: paints are settled, a close ends the replay,
// and the rest (the user's own input) is dropped, as the input comes from the file.
void PumpLayerMessages()
{
    MSG message = {};
    while (Layer().PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0)
    {
        if (message.message == WM_PAINT)
        {
            Layer().DefWindowProcA(message.hwnd, WM_PAINT, 0, 0);
        }
        else if (message.message == WM_CLOSE)
        {
            Conclude(
                SessionReplayer::Outcome::kStopped,
                Format("replay: stopped in frame %lld as the window was closed, identical so far",
                       CurrentFrame()));
            TheReplay().mode = Mode::kClosing;
            return;
        }
    }
}

HWND ReplayCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                           int y, int width, int height, HWND parent, HMENU menu,
                           HINSTANCE instance, LPVOID parameter)
{
    HWND window = Layer().CreateWindowExA(exStyle, className, windowName, style, x, y, width,
                                          height, parent, menu, instance, parameter);
    if (window != nullptr)
    {
        TheReplay().windows.Add(window);
    }
    return window;
}

// Once stopped, the layer measures: nothing that follows is compared any more.
BOOL ReplayRect(AnswerKind kind, HWND window, LPRECT rect)
{
    Answer answer;
    if (!Take(kind, answer))
    {
        const auto measure =
            kind == AnswerKind::kClientRect ? Layer().GetClientRect : Layer().GetWindowRect;
        return measure(window, rect);
    }
    if (answer.failed || rect == nullptr)
    {
        return 0;
    }
    *rect = RECT{static_cast<LONG>(answer.values[0]), static_cast<LONG>(answer.values[1]),
                 static_cast<LONG>(answer.values[2]), static_cast<LONG>(answer.values[3])};
    return 1;
}

BOOL ReplayGetClientRect(HWND window, LPRECT rect)
{
    return ReplayRect(AnswerKind::kClientRect, window, rect);
}

BOOL ReplayGetWindowRect(HWND window, LPRECT rect)
{
    return ReplayRect(AnswerKind::kWindowRect, window, rect);
}

bool TakeMessage(MSG& message)
{
    Answer answer;
    if (!Take(AnswerKind::kMessage, answer) || answer.kind == AnswerKind::kNoMessage)
    {
        return false;
    }
    message = MSG{};
    message.hwnd = TheReplay().windows.WindowOf(answer.values[0]);
    message.message = static_cast<UINT>(answer.values[1]);
    message.wParam = static_cast<WPARAM>(answer.values[2]);
    message.lParam = static_cast<LPARAM>(answer.values[3]);
    return true;
}

BOOL ReplayPeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove)
{
    Replay& replay = TheReplay();
    MSG taken = {};
    if (replay.mode == Mode::kReplaying)
    {
        const bool hasMessage = TakeMessage(taken);
        if (replay.mode == Mode::kReplaying)
        {
            if (hasMessage && message != nullptr)
            {
                *message = taken;
            }
            return hasMessage ? 1 : 0;
        }
    }
    if (replay.mode == Mode::kClosing && message != nullptr)
    {
        replay.mode = Mode::kClosed;
        *message = MSG{};
        message->hwnd = replay.windows.WindowOf(1);
        message->message = WM_CLOSE;
        return 1;
    }
    return Layer().PeekMessageA(message, window, filterMin, filterMax, remove);
}

BOOL ReplayGetCursorPos(LPPOINT point)
{
    Replay& replay = TheReplay();
    if (replay.options.show && replay.mode == Mode::kReplaying)
    {
        PumpLayerMessages();
    }
    if (replay.mode == Mode::kHolding)
    {
        // The loop never waits; while frozen it need not spin at full speed.
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Answer answer;
    if (Take(AnswerKind::kCursor, answer))
    {
        if (answer.failed)
        {
            return 0;
        }
        replay.cursor =
            POINT{static_cast<LONG>(answer.values[0]), static_cast<LONG>(answer.values[1])};
    }
    if (point != nullptr)
    {
        *point = replay.cursor;
    }
    return 1;
}

BOOL ReplayScreenToClient(HWND /*window*/, LPPOINT point)
{
    Replay& replay = TheReplay();
    Answer answer;
    if (Take(AnswerKind::kClientOrigin, answer))
    {
        if (answer.failed)
        {
            return 0;
        }
        replay.origin =
            POINT{static_cast<LONG>(answer.values[0]), static_cast<LONG>(answer.values[1])};
    }
    if (point != nullptr)
    {
        point->x -= replay.origin.x;
        point->y -= replay.origin.y;
    }
    return 1;
}

int ReplayMessageBoxA(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT /*type*/)
{
    Answer answer;
    if (!Take(AnswerKind::kMessageBox, answer))
    {
        return IDOK;
    }
    if (static_cast<std::uint32_t>(answer.values[1]) != HashMessageBox(caption, text))
    {
        Conclude(
            SessionReplayer::Outcome::kDiffers,
            Format("replay: frame %lld differs: the game shows another message box, \"%.200s\"",
                   CurrentFrame(), text != nullptr ? text : ""));
    }
    return static_cast<int>(answer.values[0]);
}

BOOL ReplayQueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    Replay& replay = TheReplay();
    Answer answer;
    if (Take(AnswerKind::kFrequency, answer))
    {
        if (answer.failed)
        {
            return 0;
        }
        replay.frequency = answer.values[0];
    }
    if (frequency != nullptr)
    {
        frequency->QuadPart = replay.frequency;
    }
    return 1;
}

// Once stopped the counter stands still, so no game time passes while the game winds down.
BOOL ReplayQueryPerformanceCounter(LARGE_INTEGER* count)
{
    Replay& replay = TheReplay();
    Answer answer;
    if (Take(AnswerKind::kCounter, answer))
    {
        if (answer.failed)
        {
            return 0;
        }
        replay.count = answer.values[0];
        if (replay.options.show)
        {
            Pace(replay.count);
        }
    }
    if (count != nullptr)
    {
        count->QuadPart = replay.count;
    }
    return 1;
}

// The pad the recording answered for is the one the game asks about, or the course changed.
void TakeGamepad(DWORD userIndex)
{
    Replay& replay = TheReplay();
    Answer answer;
    if (!Take(AnswerKind::kGamepad, answer))
    {
        return;
    }
    if (answer.values[0] != static_cast<std::int64_t>(userIndex))
    {
        Conclude(SessionReplayer::Outcome::kDiffers,
                 Format("replay: frame %lld differs: the game asks for pad %u where the "
                        "recording has pad %lld",
                        CurrentFrame(), static_cast<unsigned>(userIndex),
                        static_cast<long long>(answer.values[0])));
        return;
    }
    Answer& previous = replay.gamepads[userIndex];
    bool changed = previous.failed != answer.failed;
    for (int index = 1; index < kMostValues; ++index)
    {
        changed = changed || previous.values[index] != answer.values[index];
    }
    replay.packets[userIndex] += changed ? 1 : 0;
    previous = answer;
}

// A recording made before pads were recorded answers none: none was connected then. The packet
// number moves on with every change, as a layer's does.
DWORD ReplayXInputGetState(DWORD userIndex, XINPUT_STATE* state)
{
    if (userIndex >= XUSER_MAX_COUNT || state == nullptr)
    {
        return ERROR_BAD_ARGUMENTS;
    }
    Replay& replay = TheReplay();
    *state = XINPUT_STATE{};
    if (replay.reader.Version() < kFirstVersionWithGamepads)
    {
        return ERROR_DEVICE_NOT_CONNECTED;
    }
    TakeGamepad(userIndex);
    const Answer& answer = replay.gamepads[userIndex];
    if (answer.failed)
    {
        return ERROR_DEVICE_NOT_CONNECTED;
    }
    XINPUT_GAMEPAD& pad = state->Gamepad;
    pad.wButtons = static_cast<WORD>(answer.values[1]);
    pad.bLeftTrigger = static_cast<BYTE>(answer.values[2]);
    pad.bRightTrigger = static_cast<BYTE>(answer.values[3]);
    pad.sThumbLX = static_cast<SHORT>(answer.values[4]);
    pad.sThumbLY = static_cast<SHORT>(answer.values[5]);
    pad.sThumbRX = static_cast<SHORT>(answer.values[6]);
    pad.sThumbRY = static_cast<SHORT>(answer.values[7]);
    state->dwPacketNumber = replay.packets[userIndex];
    return ERROR_SUCCESS;
}

void CheckFrameEnd(std::uint32_t sceneChecksum)
{
    Replay& replay = TheReplay();
    Answer answer;
    if (!Take(AnswerKind::kFrameEnd, answer))
    {
        return;
    }
    const auto recordedRandom = static_cast<std::uint32_t>(answer.values[0]);
    const auto recordedChecksum = static_cast<std::uint32_t>(answer.values[1]);
    if (recordedRandom != GetCrtRandState())
    {
        Conclude(
            SessionReplayer::Outcome::kDiffers,
            Format("replay: frame %lld differs: the random sequence stands at %08x, recorded %08x",
                   CurrentFrame(), GetCrtRandState(), recordedRandom));
        return;
    }
    if (recordedChecksum != sceneChecksum)
    {
        Conclude(SessionReplayer::Outcome::kDiffers,
                 Format("replay: frame %lld differs: the scene's checksum is %08x, recorded %08x",
                        CurrentFrame(), sceneChecksum, recordedChecksum));
        return;
    }
    ++replay.frames;
    if (replay.frames == replay.options.untilFrame)
    {
        Conclude(SessionReplayer::Outcome::kStopped,
                 Format("replay: stopped after frame %lld, identical so far",
                        static_cast<long long>(replay.frames)));
    }
}

// After the game has returned, the recording must end where the game did.
SessionReplayer::Outcome CheckEnd()
{
    Replay& replay = TheReplay();
    Answer answer;
    const long long frames = static_cast<long long>(replay.frames);
    switch (replay.reader.Next(answer))
    {
        case SessionReader::Status::kEnd:
            replay.report = Format("replay: %lld frames, identical", frames);
            return SessionReplayer::Outcome::kIdentical;
        case SessionReader::Status::kAnswer:
            replay.report = Format(
                "replay: frame %lld differs: the game ended, the recording goes on", frames + 1);
            return SessionReplayer::Outcome::kDiffers;
        case SessionReader::Status::kExhausted:
        case SessionReader::Status::kMalformed:
            break;
    }
    replay.report =
        Format("replay: %s has no end: the recorded session was cut short after frame %lld",
               replay.options.path.c_str(), frames);
    return SessionReplayer::Outcome::kBadInput;
}

}  // namespace

void SessionReplayer::Start(const qmSeam::Table& layer, SessionReader reader,
                            const Options& options)
{
    Replay& replay = TheReplay();
    replay.layer = &layer;
    replay.reader = std::move(reader);
    replay.options = options;
    for (Answer& gamepad : replay.gamepads)
    {
        gamepad.kind = AnswerKind::kGamepad;
        gamepad.failed = true;
    }
    qmSeam::Table& table = replay.table;
    table = layer;
    table.CreateWindowExA = ReplayCreateWindowExA;
    table.GetClientRect = ReplayGetClientRect;
    table.GetWindowRect = ReplayGetWindowRect;
    table.PeekMessageA = ReplayPeekMessageA;
    table.GetCursorPos = ReplayGetCursorPos;
    table.ScreenToClient = ReplayScreenToClient;
    table.MessageBoxA = ReplayMessageBoxA;
    table.QueryPerformanceFrequency = ReplayQueryPerformanceFrequency;
    table.QueryPerformanceCounter = ReplayQueryPerformanceCounter;
    table.XInputGetState = ReplayXInputGetState;
    Quillmark::Platform::SetFrameObserver(CheckFrameEnd);
    Quillmark::Platform::SetFramesDrawn(options.draw);
}

const qmSeam::Table& SessionReplayer::Table()
{
    return TheReplay().table;
}

SessionReplayer::Outcome SessionReplayer::Finish(std::string& report)
{
    Replay& replay = TheReplay();
    Quillmark::Platform::SetFrameObserver(nullptr);
    Quillmark::Platform::SetFramesDrawn(true);
    if (!replay.outcome)
    {
        replay.outcome = CheckEnd();
    }
    report = replay.report;
    return *replay.outcome;
}

}  // namespace qmImplementation::Session
