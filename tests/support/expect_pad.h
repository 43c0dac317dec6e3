// SPDX-License-Identifier: Zlib
// Test support: a pad as a layer answered it, compared with the expected one field by field, so a
// failure names the buttons, the trigger or the stick axis that is wrong. The caller says where
// the pad was read with a SCOPED_TRACE around the call.
#pragma once

#include <gtest/gtest.h>

#include "quill_mark/platform/qmi_seam.h"

namespace QuillmarkTest
{

inline void ExpectPad(const qmSeam::XINPUT_GAMEPAD& actual, const qmSeam::XINPUT_GAMEPAD& expected)
{
    EXPECT_EQ(actual.wButtons, expected.wButtons) << "buttons";
    // The triggers are bytes: compared as numbers, so a failure prints them as numbers.
    EXPECT_EQ(int(actual.bLeftTrigger), int(expected.bLeftTrigger)) << "left trigger";
    EXPECT_EQ(int(actual.bRightTrigger), int(expected.bRightTrigger)) << "right trigger";
    EXPECT_EQ(actual.sThumbLX, expected.sThumbLX) << "left stick x";
    EXPECT_EQ(actual.sThumbLY, expected.sThumbLY) << "left stick y";
    EXPECT_EQ(actual.sThumbRX, expected.sThumbRX) << "right stick x";
    EXPECT_EQ(actual.sThumbRY, expected.sThumbRY) << "right stick y";
}

}  // namespace QuillmarkTest
