// SPDX-License-Identifier: Zlib
// The seam before a program chose a layer: every call fails as a missing window would, and
// standard error says once what was forgotten, instead of calls going nowhere or crashing.
#include "quill_mark/platform/qmi_seam.h"

#include <gtest/gtest.h>

#include "quill_mark/platform/qmi_seam_numbers.h"

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
    EXPECT_EQ(XInputGetState(0, &pad), qmSeam::ERROR_DEVICE_NOT_CONNECTED);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Quillmark: no platform layer was chosen; a program starts through "
              "Quillmark::Session::RunSession\n");
}
