// SPDX-License-Identifier: Zlib
// What the platform layers share: the random sequence every run repeats (the game's spawns and
// sound choices follow it exactly), the message queue of layers without a system one, and the
// seam's answer before a layer is chosen.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "quill_mark/platform/implementation/qmi_crt_rand.h"
#include "quill_mark/platform/implementation/qmi_message_queue.h"
#include "quill_mark/platform/qm_random.h"
#include "quill_mark/platform/qmi_seam.h"
#include "quill_mark/platform/qmi_seam_numbers.h"

TEST(CrtRand, StartsWithTheKnownSequenceWhichRandomFloatSharesScaledBy2PowMinus15)
{
    SetCrtRandState(1);
    EXPECT_EQ(CrtRand(), 41);
    EXPECT_EQ(CrtRand(), 18467);
    EXPECT_EQ(Quillmark::Platform::RandomFloat(), 6334.0f / 32768.0f);
    EXPECT_EQ(CrtRand(), 26500);
    EXPECT_EQ(Quillmark::Platform::RandomFloat(), 19169.0f / 32768.0f);
    int largest = 0;
    for (int i = 0; i < 100000; ++i)
        largest = std::max(largest, CrtRand());
    EXPECT_EQ(largest, kCrtRandMaximum);
}

// Posted messages in order, then quit, then a paint per window until validated: a key released
// just before the window closes still arrives.
TEST(MessageQueue, HandsOutPostedThenQuitThenPaintUntilValidated)
{
    using namespace qmSeam;
    qmImplementation::MessageQueue queue;
    HWND window = reinterpret_cast<HWND>(std::uintptr_t{0x1000});
    MSG message = {};
    EXPECT_FALSE(queue.Retrieve(message));

    queue.Invalidate(window);
    queue.PostQuit(3);
    queue.Post(window, WM_KEYDOWN, 'A', 1);
    queue.Post(window, WM_KEYUP, 'A', 2);
    std::vector<UINT> order;
    std::vector<WPARAM> wParams;
    for (int i = 0; i < 5 && queue.Retrieve(message); ++i)
    {
        order.push_back(message.message);
        wParams.push_back(message.wParam);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_QUIT, WM_PAINT, WM_PAINT}));
    EXPECT_EQ(wParams[2], 3u) << "the quit message carries the exit code";
    queue.Validate(window);
    EXPECT_FALSE(queue.Retrieve(message));
}

// Before a layer is chosen every call fails as a missing window would, and standard error says
// once what was forgotten, instead of calls going nowhere or crashing.
TEST(Seam, BeforeALayerIsChosenEveryCallFailsAndSaysWhyOnce)
{
    using namespace qmSeam::Calls;
    testing::internal::CaptureStderr();
    EXPECT_EQ(
        CreateWindowExA(0, "class", "", 0, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    qmSeam::LARGE_INTEGER count = {};
    EXPECT_EQ(QueryPerformanceCounter(&count), 0);
    qmSeam::MSG message = {};
    EXPECT_EQ(PeekMessageA(&message, nullptr, 0, 0, 1), 0);
    // Success is 0 here: failing means no pad.
    qmSeam::XINPUT_STATE pad = {};
    pad.dwPacketNumber = 9;
    EXPECT_EQ(XInputGetState(0, &pad), qmSeam::ERROR_DEVICE_NOT_CONNECTED);
    EXPECT_EQ(pad.dwPacketNumber, 0u);
    EXPECT_EQ(XInputGetState(qmSeam::XUSER_MAX_COUNT, &pad), qmSeam::ERROR_BAD_ARGUMENTS);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Quillmark: no platform layer was chosen; a program starts through "
              "Quillmark::Session::RunSession\n");
}
