// SPDX-License-Identifier: Zlib
// The recorder around the headless layer: every answer the framework reads is written in call order
// with the layer's values (failures too), reads back exactly, and reaches the framework unchanged.
#include "quill_mark/platform/recording/qmi_session_recorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quill_mark/platform/headless/qmi_headless_layer.h"
#include "quill_mark/platform/implementation/qmi_crt_rand.h"
#include "quill_mark/platform/qm_frame_observer.h"
#include "quill_mark/platform/qmi_seam_numbers.h"
#include "quill_mark/platform/recording/qmi_session_reader.h"
#include "support/temporary_folder.h"

namespace
{

namespace Headless = qmImplementation::HeadlessLayer;
using namespace qmImplementation::Session;
using namespace qmSeam;
using Values = std::vector<std::int64_t>;

LRESULT Procedure(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

std::vector<Answer> ReadAnswers(const std::string& path, SessionReader::Status& last)
{
    SessionReader reader;
    EXPECT_TRUE(reader.Open(QuillmarkTest::ReadBytes(path)));
    EXPECT_EQ(reader.Game(), "Recorded");
    std::vector<Answer> answers;
    Answer answer;
    while ((last = reader.Next(answer)) == SessionReader::Status::kAnswer)
        answers.push_back(answer);
    return answers;
}

class SessionRecorderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Headless::Reset();
        std::string error;
        ASSERT_TRUE(SessionRecorder::Start(Headless::Table(), path, "Recorded", error)) << error;
        table = &SessionRecorder::Table();
    }
    // Also after a failed assertion: the file must be closed before its folder goes.
    void TearDown() override { SessionRecorder::Finish(); }

    HWND OpenWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.lpszClassName = "Recorded";
        table->RegisterClassA(&windowClass);
        return table->CreateWindowExA(0, "Recorded", "", 0, 50, 60, 300, 200, nullptr, nullptr,
                                      nullptr, nullptr);
    }

    const QuillmarkTest::TemporaryFolder folder;  // each test's own, gone with it
    const std::string path = folder.File("session.replay");
    const qmSeam::Table* table = nullptr;
    SessionReader::Status last = SessionReader::Status::kAnswer;  // after the answers read
};

TEST_F(SessionRecorderTest, EveryAnswerKindReadsBackAsTheLayerGaveIt)
{
    HWND window = OpenWindow();
    RECT client = {}, outer = {};
    EXPECT_EQ(table->GetClientRect(window, &client), 1);
    EXPECT_EQ(table->GetWindowRect(window, &outer), 1);
    LARGE_INTEGER value = {};
    Headless::SetCounterFrequency(1000);
    table->QueryPerformanceFrequency(&value);
    Headless::AdvanceCounter(250);
    table->QueryPerformanceCounter(&value);
    const LONGLONG counted = value.QuadPart;
    Headless::SetCursorScreenPosition(-70, 900);
    POINT cursor = {};
    table->GetCursorPos(&cursor);
    table->ScreenToClient(window, &cursor);
    Headless::PostKeyUp(VK_ESCAPE);
    MSG message = {};
    EXPECT_EQ(table->PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE), 1);
    EXPECT_EQ(table->PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE), 0);
    Headless::QueueMessageBoxAnswer(IDCANCEL);
    EXPECT_EQ(table->MessageBoxA(window, "text", "caption", MB_OKCANCEL), IDCANCEL);
    SetCrtRandState(0x1234ABCD);
    Quillmark::Platform::GetFrameObserver()(0xFEEDBEEF);
    SessionRecorder::Finish();

    const std::vector<Answer> answers = ReadAnswers(path, last);
    EXPECT_EQ(last, SessionReader::Status::kEnd);
    ASSERT_EQ(answers.size(), 10u);
    const AnswerKind kinds[] = {AnswerKind::kClientRect, AnswerKind::kWindowRect,
                                AnswerKind::kFrequency,  AnswerKind::kCounter,
                                AnswerKind::kCursor,     AnswerKind::kClientOrigin,
                                AnswerKind::kMessage,    AnswerKind::kNoMessage,
                                AnswerKind::kMessageBox, AnswerKind::kFrameEnd};
    for (std::size_t index = 0; index < answers.size(); ++index)
    {
        EXPECT_EQ(answers[index].kind, kinds[index]) << "answer " << index;
        EXPECT_FALSE(answers[index].failed) << "answer " << index;
    }
    // An answer's first values, compared as one sequence so a failure shows them all.
    const auto values = [&](std::size_t index, std::size_t count)
    { return Values(answers[index].values, answers[index].values + count); };
    EXPECT_EQ(values(0, 4), (Values{client.left, client.top, client.right, client.bottom}));
    EXPECT_EQ(values(1, 4), (Values{outer.left, outer.top, outer.right, outer.bottom}));
    EXPECT_EQ(values(2, 1), Values{1000});
    EXPECT_EQ(values(3, 1), Values{counted});
    EXPECT_EQ(values(4, 2), (Values{-70, 900}));
    // The origin the client position was measured from, not the client position itself; the
    // message names the session's first window as 1.
    EXPECT_EQ(values(5, 2), (Values{-70 - cursor.x, 900 - cursor.y}));
    EXPECT_EQ(values(6, 4), (Values{1, WM_KEYUP, VK_ESCAPE, message.lParam}));
    EXPECT_EQ(values(8, 1), Values{IDCANCEL});
    EXPECT_EQ(values(9, 2), (Values{0x1234ABCD, 0xFEEDBEEF}));
}

TEST_F(SessionRecorderTest, FailedCallsAreWrittenAsFailuresAndRepeatsStayExact)
{
    HWND window = OpenWindow();
    RECT rect = {};
    POINT point = {};
    // A window the session never made: both calls fail, and say so in the file.
    EXPECT_EQ(table->GetClientRect(nullptr, &rect), 0);
    EXPECT_EQ(table->ScreenToClient(nullptr, &point), 0);
    // The same cursor twice is written once in full; it still reads back in full.
    Headless::SetCursorScreenPosition(12, 34);
    table->GetCursorPos(&point);
    table->GetCursorPos(&point);
    table->ScreenToClient(window, &point);
    SessionRecorder::Finish();

    const std::vector<Answer> answers = ReadAnswers(path, last);
    ASSERT_EQ(answers.size(), 5u);
    EXPECT_EQ(answers[0].kind, AnswerKind::kClientRect);
    EXPECT_TRUE(answers[0].failed);
    EXPECT_EQ(answers[1].kind, AnswerKind::kClientOrigin);
    EXPECT_TRUE(answers[1].failed);
    EXPECT_EQ(answers[2].values[0], 12);
    EXPECT_EQ(answers[3].kind, AnswerKind::kCursor);
    EXPECT_EQ(answers[3].values[0], 12);
    EXPECT_EQ(answers[3].values[1], 34);
    EXPECT_FALSE(answers[4].failed);
}

TEST_F(SessionRecorderTest, APadIsWrittenInFullOnlyWhenItsSlotsAnswerChangesAndReadsBackExactly)
{
    XINPUT_GAMEPAD pad = {};
    pad.wButtons = XINPUT_GAMEPAD_A | XINPUT_GAMEPAD_DPAD_LEFT;
    pad.bLeftTrigger = 255;
    pad.bRightTrigger = 7;
    pad.sThumbLX = -32768;
    pad.sThumbLY = 32767;
    pad.sThumbRX = 1;
    pad.sThumbRY = -1;
    Headless::ConnectGamepad(2, pad);
    XINPUT_STATE state = {};
    const DWORD kNotConnected = ERROR_DEVICE_NOT_CONNECTED;
    EXPECT_EQ(table->XInputGetState(2, &state), ERROR_SUCCESS);
    EXPECT_EQ(table->XInputGetState(0, &state), kNotConnected);
    EXPECT_EQ(table->XInputGetState(2, &state), ERROR_SUCCESS);
    EXPECT_EQ(table->XInputGetState(0, &state), kNotConnected);
    pad.wButtons = XINPUT_GAMEPAD_Y;
    Headless::SetGamepadState(2, pad);
    EXPECT_EQ(table->XInputGetState(2, &state), ERROR_SUCCESS);
    Headless::DisconnectGamepad(2);
    EXPECT_EQ(table->XInputGetState(2, &state), kNotConnected);
    // No slot: refused by every layer alike, so not written.
    EXPECT_EQ(table->XInputGetState(4, &state), ERROR_BAD_ARGUMENTS);
    SessionRecorder::Finish();

    EXPECT_EQ(
        QuillmarkTest::ReadBytes(path),
        "quillmark-session 2\ngame Recorded\n"
        "p2,1004,255,7,-32768,32767,1,-1 p0! p2 p0 p2,8000,255,7,-32768,32767,1,-1 p2! end\n");
    const std::vector<Answer> answers = ReadAnswers(path, last);
    EXPECT_EQ(last, SessionReader::Status::kEnd);
    const Values first = {2, 0x1004, 255, 7, -32768, 32767, 1, -1};
    const Values changed = {2, 0x8000, 255, 7, -32768, 32767, 1, -1};
    const std::vector<std::pair<bool, Values>> expected = {
        {false, first},   {true, {0, 0, 0, 0, 0, 0, 0, 0}},
        {false, first},   {true, {0, 0, 0, 0, 0, 0, 0, 0}},
        {false, changed}, {true, {2, 0, 0, 0, 0, 0, 0, 0}}};
    ASSERT_EQ(answers.size(), expected.size());
    for (std::size_t index = 0; index < answers.size(); ++index)
    {
        EXPECT_EQ(answers[index].kind, AnswerKind::kGamepad) << "answer " << index;
        EXPECT_EQ(answers[index].failed, expected[index].first) << "answer " << index;
        EXPECT_EQ(Values(answers[index].values, answers[index].values + kMostValues),
                  expected[index].second)
            << "answer " << index;
    }
}

}  // namespace

// A second recording in the same process is a file of its own: its first cursor is written in
// full and its first window is number 1 again, whatever the recording before it held.
TEST_F(SessionRecorderTest, ASecondRecordingStartsFromNothing)
{
    OpenWindow();
    POINT point = {};
    Headless::SetCursorScreenPosition(12, 34);
    table->GetCursorPos(&point);
    SessionRecorder::Finish();
    const std::string second = folder.File("second.replay");
    std::string error;
    ASSERT_TRUE(SessionRecorder::Start(Headless::Table(), second, "Recorded", error)) << error;
    OpenWindow();
    table->GetCursorPos(&point);
    Headless::PostKeyUp(VK_ESCAPE);
    MSG message = {};
    table->PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
    SessionRecorder::Finish();

    const std::vector<Answer> answers = ReadAnswers(second, last);
    EXPECT_EQ(last, SessionReader::Status::kEnd);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].values[0], 12);
    EXPECT_EQ(answers[0].values[1], 34);
    EXPECT_EQ(answers[1].values[0], 1);  // the message's window
}
