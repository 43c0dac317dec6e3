// SPDX-License-Identifier: Zlib
// The Win32 layer's pads where XInput exists but no pad does (Wine's): XInput found in the system
// folder, every slot "not connected" with an empty state, and questions about no slot refused.
#include <gtest/gtest.h>

#include <cstring>

#include "quill_mark/platform/win32/qmi_win32_state.h"

namespace
{

namespace Layer = qmImplementation::Win32Layer;
using qmSeam::DWORD;
using qmSeam::XINPUT_STATE;
constexpr DWORD kSlots = 4;
constexpr auto kNotConnected = static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED);
constexpr auto kBadArguments = static_cast<DWORD>(ERROR_BAD_ARGUMENTS);

TEST(Win32XInput, XInputIsFoundAndAnEmptySlotAnswersNotConnected)
{
    EXPECT_TRUE(Layer::HasXInput());
    for (DWORD slot = 0; slot < kSlots; ++slot)
    {
        XINPUT_STATE state;
        std::memset(&state, 0x5A, sizeof(state));
        EXPECT_EQ(Layer::XInputGetState(slot, &state), kNotConnected) << "slot " << slot;
        EXPECT_EQ(state.Gamepad.wButtons, 0) << "slot " << slot;
        EXPECT_EQ(state.Gamepad.sThumbLX, 0) << "slot " << slot;
    }
    XINPUT_STATE state = {};
    EXPECT_EQ(Layer::XInputGetState(kSlots, &state), kBadArguments);
    EXPECT_EQ(Layer::XInputGetState(0, nullptr), kBadArguments);
}

}  // namespace
