// SPDX-License-Identifier: Zlib
// The SDL layer's pads on SDL's virtual joysticks: a slot per controller kept while connected,
// SDL's buttons, sticks and triggers in XInput's layout and ranges, and the slot freed on detach.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "quill_mark/platform/qmi_live_layer.h"
#include "quill_mark/platform/qmi_seam_numbers.h"
#include "support/expect_pad.h"

namespace
{

using namespace qmSeam;

class SdlGamepads : public testing::Test
{
protected:
    void SetUp() override
    {
        layer = &qmImplementation::LiveLayer();
        qmSeam::UseLayer(*layer);
        // The first question starts SDL's game controllers; no pad is there yet.
        XINPUT_STATE state = {};
        ASSERT_EQ(layer->XInputGetState(0, &state), ERROR_DEVICE_NOT_CONNECTED);
    }

    // SDL's virtual joysticks outlive a test: whatever a test left attached would hold slot 0 when
    // the next test in the same process starts.
    void TearDown() override
    {
        for (SDL_Joystick* joystick : joysticks)
        {
            if (joystick != nullptr)
                Detach(joystick);
        }
    }

    // A virtual controller with a mapping of its own; its device index.
    int Attach()
    {
        const int index =
            SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                      SDL_CONTROLLER_BUTTON_MAX, 0);
        EXPECT_GE(index, 0) << SDL_GetError();
        SDL_Joystick* joystick = SDL_JoystickOpen(index);
        joysticks.push_back(joystick);
        return index;
    }

    // Its entry in `joysticks` is emptied, keeping the others' places: a closed joystick's pointer
    // may come back for the next one opened.
    void Detach(SDL_Joystick* joystick)
    {
        std::replace(joysticks.begin(), joysticks.end(), joystick,
                     static_cast<SDL_Joystick*>(nullptr));
        const SDL_JoystickID instance = SDL_JoystickInstanceID(joystick);
        SDL_JoystickClose(joystick);
        for (int index = 0; index < SDL_NumJoysticks(); ++index)
        {
            if (SDL_JoystickGetDeviceInstanceID(index) == instance)
                SDL_JoystickDetachVirtual(index);
        }
    }

    DWORD Ask(DWORD slot, XINPUT_STATE& state)
    {
        state = XINPUT_STATE{};
        return layer->XInputGetState(slot, &state);
    }

    const qmSeam::Table* layer = nullptr;
    std::vector<SDL_Joystick*> joysticks;
};

TEST_F(SdlGamepads, ControllersTakeTheLowestFreeSlotAndKeepItUntilTheyGo)
{
    Attach();
    Attach();
    XINPUT_STATE state = {};
    const DWORD kNotConnected = ERROR_DEVICE_NOT_CONNECTED;
    EXPECT_EQ(Ask(0, state), ERROR_SUCCESS);
    EXPECT_EQ(Ask(1, state), ERROR_SUCCESS);
    EXPECT_EQ(Ask(2, state), kNotConnected);
    // The second keeps its slot when the first goes; a third takes the slot that is free.
    SDL_JoystickSetVirtualButton(joysticks[1], SDL_CONTROLLER_BUTTON_B, 1);
    Detach(joysticks[0]);
    EXPECT_EQ(Ask(0, state), kNotConnected);
    EXPECT_EQ(Ask(1, state), ERROR_SUCCESS);
    EXPECT_EQ(state.Gamepad.wButtons, XINPUT_GAMEPAD_B);
    Attach();
    SDL_JoystickSetVirtualButton(joysticks[2], SDL_CONTROLLER_BUTTON_Y, 1);
    EXPECT_EQ(Ask(0, state), ERROR_SUCCESS);
    EXPECT_EQ(state.Gamepad.wButtons, XINPUT_GAMEPAD_Y);
    EXPECT_EQ(Ask(4, state), ERROR_BAD_ARGUMENTS);
    EXPECT_EQ(layer->XInputGetState(0, nullptr), ERROR_BAD_ARGUMENTS);
}

TEST_F(SdlGamepads, ButtonsSticksAndTriggersTakeXInputsLayoutAndRanges)
{
    Attach();
    SDL_Joystick* joystick = joysticks[0];
    // XInput's bit for each of SDL's buttons in SDL's order: A, B, X, Y, Back, the guide (none),
    // Start, left and right stick, left and right shoulder, then the pad's up, down, left, right.
    const WORD bits[] = {0x1000, 0x2000, 0x4000, 0x8000, 0x20, 0,   0x10, 0x40,
                         0x80,   0x100,  0x200,  0x1,    0x2,  0x4, 0x8};
    static_assert(std::size(bits) == SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1);
    XINPUT_STATE state = {};
    for (int button = 0; button < int(std::size(bits)); ++button)
    {
        SDL_JoystickSetVirtualButton(joystick, button, 1);
        ASSERT_EQ(Ask(0, state), ERROR_SUCCESS);
        EXPECT_EQ(state.Gamepad.wButtons, bits[button])
            << SDL_GameControllerGetStringForButton(SDL_GameControllerButton(button));
        SDL_JoystickSetVirtualButton(joystick, button, 0);
    }
    // SDL's sticks grow down, its triggers span 0 to 32767; XInput's grow up, its triggers bytes.
    // Each row: SDL's axes in its order (left x, y, right x, y, left and right trigger), then the
    // pad they make in XInput's order (no buttons, left and right trigger, left x, y, right x, y).
    const std::vector<std::pair<std::vector<Sint16>, XINPUT_GAMEPAD>> table = {
        {{0, 0, 0, 0, -32768, -32768}, {0, 0, 0, 0, 0, 0, 0}},
        {{32767, -32768, -32768, 32767, 32767, 0}, {0, 255, 127, 32767, 32767, -32768, -32767}},
        {{-1000, 1000, 12, -12, -16384, 16384}, {0, 64, 191, -1000, -1000, 12, 12}},
    };
    for (const auto& [axes, expected] : table)
    {
        SCOPED_TRACE("SDL's axes " + testing::PrintToString(axes));
        for (int axis = 0; axis < SDL_CONTROLLER_AXIS_MAX; ++axis)
            SDL_JoystickSetVirtualAxis(joystick, axis, axes[axis]);
        ASSERT_EQ(Ask(0, state), ERROR_SUCCESS);
        QuillmarkTest::ExpectPad(state.Gamepad, expected);
    }
}

}  // namespace
