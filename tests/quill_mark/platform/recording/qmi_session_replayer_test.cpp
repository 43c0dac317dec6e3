// SPDX-License-Identifier: Zlib
// The replayer around the headless layer: it answers from the recording, never from the layer
// underneath, names the first call that differs, and stops where asked; and the pads it reads.
#include "quill_mark/platform/recording/qmi_session_replayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "quill_mark/platform/headless/qmi_headless_layer.h"
#include "quill_mark/platform/implementation/qmi_crt_rand.h"
#include "quill_mark/platform/qm_frame_observer.h"
#include "quill_mark/platform/qmi_seam_numbers.h"
#include "support/expect_pad.h"

namespace
{

namespace Headless = qmImplementation::HeadlessLayer;
using namespace qmImplementation::Session;
using namespace qmSeam;

// Two frames: the clock at 10 MHz, the cursor at (30, 40) then (31, 40), the random sequence at 1
// throughout and the scene's checksums 0x0A then 0x0B.
constexpr char kRecording[] =
    "quillmark-session 1\ngame Replayed\n"
    "f10000000 t5000000 c30,40 n =00000001,0000000a\n"
    "t100000 c31,40 m1,256,65,1 n =00000001,0000000b\n"
    "end\n";

class SessionReplayerTest : public testing::Test
{
protected:
    void Start(const std::string& text, std::int64_t untilFrame = 0)
    {
        Headless::Reset();
        // What the layer underneath would answer, so that any answer of its stands out.
        Headless::SetCounterFrequency(1000);
        Headless::SetCursorScreenPosition(-1, -1);
        XINPUT_GAMEPAD layersPad = {};
        layersPad.wButtons = XINPUT_GAMEPAD_B;
        Headless::ConnectGamepad(0, layersPad);
        Headless::ConnectGamepad(1, layersPad);
        SetCrtRandState(1);
        SessionReader reader;
        ASSERT_TRUE(reader.Open(text));
        SessionReplayer::Options options;
        options.path = "test.replay";
        options.draw = false;
        options.untilFrame = untilFrame;
        SessionReplayer::Start(Headless::Table(), std::move(reader), options);
        table = &SessionReplayer::Table();
        table->QueryPerformanceFrequency(&frequency);  // every game asks this first
    }

    // One frame as the game loop asks it: pads, clock, cursor, queue, digest.
    void Frame(std::uint32_t checksum, LARGE_INTEGER& count, POINT& cursor,
               std::vector<DWORD> slots = {})
    {
        for (DWORD slot : slots)
        {
            XINPUT_STATE state = {};
            padResults.push_back(table->XInputGetState(slot, &state));
            pads.push_back(state);
        }
        table->QueryPerformanceCounter(&count);
        table->GetCursorPos(&cursor);
        MSG message = {};
        while (table->PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0)
            messages.push_back(message.message);
        Quillmark::Platform::GetFrameObserver()(checksum);
    }

    SessionReplayer::Outcome Finish() { return SessionReplayer::Finish(report); }

    const qmSeam::Table* table = nullptr;
    LARGE_INTEGER frequency = {}, count = {};
    POINT cursor = {};
    std::vector<DWORD> padResults;
    std::vector<XINPUT_STATE> pads;
    std::vector<UINT> messages;
    std::string report;
};

TEST_F(SessionReplayerTest, AnswersComeFromTheRecordingAndAnIdenticalRunSaysSo)
{
    Start(kRecording);
    EXPECT_EQ(frequency.QuadPart, 10000000);
    LARGE_INTEGER first = {}, second = {};
    Frame(0x0A, first, cursor);
    EXPECT_EQ(cursor.x, 30);
    EXPECT_EQ(cursor.y, 40);
    Frame(0x0B, second, cursor);
    EXPECT_EQ(cursor.x, 31);
    EXPECT_EQ(second.QuadPart - first.QuadPart, 100000);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], WM_KEYDOWN);
    EXPECT_EQ(Finish(), SessionReplayer::Outcome::kIdentical);
    EXPECT_EQ(report, "replay: 2 frames, identical");
}

TEST_F(SessionReplayerTest, AnotherCallThanTheRecordedOneDiffersAtItsFrame)
{
    Start(kRecording);
    table->GetCursorPos(&cursor);
    EXPECT_EQ(Finish(), SessionReplayer::Outcome::kDiffers);
    EXPECT_EQ(report,
              "replay: frame 1 differs: the game asks for the cursor where the recording has the "
              "counter");
}

TEST_F(SessionReplayerTest, StopsAfterTheFrameAskedForAndFreezesTheClock)
{
    Start(kRecording, 1);
    LARGE_INTEGER first = {}, later = {};
    Frame(0x0A, first, cursor);
    table->QueryPerformanceCounter(&later);
    EXPECT_EQ(later.QuadPart, first.QuadPart);
    // The game is asked to close its first window once the replay stopped.
    MSG message = {};
    EXPECT_EQ(table->PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE), 1);
    EXPECT_EQ(message.message, WM_CLOSE);
    EXPECT_EQ(Finish(), SessionReplayer::Outcome::kStopped);
    EXPECT_EQ(report, "replay: stopped after frame 1, identical so far");
}

// Pad 0: A held, left stick left and up, right trigger pulled; the same; gone. Pad 1: never.
constexpr char kPadRecording[] =
    "quillmark-session 2\ngame Replayed\n"
    "f10000000 p0,1000,0,255,-32768,32767,0,-1 p1! t5000000 c30,40 n =00000001,0000000a\n"
    "p0 p1 t100000 c n =00000001,0000000b\n"
    "p0! p1 t100000 c n =00000001,0000000c\n"
    "end\n";

TEST_F(SessionReplayerTest, PadsAreAnsweredFromTheRecordingAndABareSlotRepeatsItsAnswer)
{
    Start(kPadRecording);
    for (std::uint32_t checksum : {0x0Au, 0x0Bu, 0x0Cu})
        Frame(checksum, count, cursor, {0, 1});
    EXPECT_EQ(Finish(), SessionReplayer::Outcome::kIdentical);
    EXPECT_EQ(report, "replay: 3 frames, identical");
    const DWORD kNotConnected = ERROR_DEVICE_NOT_CONNECTED;
    EXPECT_EQ(padResults, (std::vector<DWORD>{ERROR_SUCCESS, kNotConnected, ERROR_SUCCESS,
                                              kNotConnected, kNotConnected, kNotConnected}));
    // Buttons, triggers and sticks as recorded, in XINPUT_GAMEPAD's order.
    const XINPUT_GAMEPAD recorded = {XINPUT_GAMEPAD_A, 0, 255, -32768, 32767, 0, -1};
    for (std::size_t frame : {0u, 2u})
    {
        SCOPED_TRACE("pad 0 in frame " + std::to_string(frame / 2 + 1));
        QuillmarkTest::ExpectPad(pads[frame].Gamepad, recorded);
    }
    // Unchanged, so the same packet; a pad that is gone answers nothing.
    EXPECT_EQ(pads[2].dwPacketNumber, pads[0].dwPacketNumber);
    EXPECT_EQ(pads[4].Gamepad.wButtons, 0);
}

TEST_F(SessionReplayerTest, AnotherPadThanTheRecordedOneDiffersAtItsFrame)
{
    Start(kPadRecording);
    Frame(0x0A, count, cursor, {1});
    EXPECT_EQ(Finish(), SessionReplayer::Outcome::kDiffers);
    EXPECT_EQ(report,
              "replay: frame 1 differs: the game asks for pad 1 where the recording has pad 0");
}

TEST_F(SessionReplayerTest, ARecordingFromBeforePadsAnswersNoneWithoutReadingIt)
{
    Start(kRecording);
    Frame(0x0A, count, cursor, {0, 1, 2, 3});
    Frame(0x0B, count, cursor, {0, 1, 2, 3});
    EXPECT_EQ(Finish(), SessionReplayer::Outcome::kIdentical);
    EXPECT_EQ(report, "replay: 2 frames, identical");
    EXPECT_EQ(padResults, std::vector<DWORD>(8, ERROR_DEVICE_NOT_CONNECTED));
    EXPECT_EQ(pads[0].Gamepad.wButtons, 0);
}

// The reader's view of pad answers, which hand-edited recordings reach: only from the version that
// brought pads, and never when out of range or repeating a slot that never answered.
bool ReadsAsAnswers(int version, const std::string& tokens)
{
    SessionReader reader;
    EXPECT_TRUE(reader.Open("quillmark-session " + std::to_string(version) + "\ngame G\n" + tokens +
                            "\nend\n"));
    const auto count = std::count(tokens.begin(), tokens.end(), ' ') + 1;
    Answer answer;
    for (long index = 0; index < count; ++index)
        if (reader.Next(answer) != SessionReader::Status::kAnswer)
            return false;
    return true;
}

TEST(SessionReader, PadTokensAreReadFromVersionTwoOnAndOnlyWithinTheirRanges)
{
    struct Case
    {
        int version;
        std::string tokens;
        bool isAnswer;
    };
    const std::vector<Case> cases = {
        {2, "p3,ffff,255,0,32767,-32768,0,0", true},
        {2, "p0!", true},
        {2, "p1! p1", true},
        {1, "p0!", false},     // version 1 had no pads
        {2, "p4!", false},     // slots are 0 to 3
        {2, "p0", false},      // nothing to repeat yet
        {2, "p0! p1", false},  // another slot's answer is not repeated
        {2, "p0,10000,0,0,0,0,0,0", false},
        {2, "p0,0,256,0,0,0,0,0", false},
        {2, "p0,0,0,0,32768,0,0,0", false},
        {2, "p0,0,0,0,0,0,0", false},
        {2, "p0,0,0,0,0,0,0,0,0", false},
        {2, "p,0,0,0,0,0,0,0", false},
        {2, "p0!,1", false},
    };
    for (const Case& test : cases)
        EXPECT_EQ(ReadsAsAnswers(test.version, test.tokens), test.isAnswer)
            << "version " << test.version << ": " << test.tokens;
}

}  // namespace
