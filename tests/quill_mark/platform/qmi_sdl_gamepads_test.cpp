// SPDX-License-Identifier: Zlib
// The SDL layer's pads on SDL's virtual joysticks: a slot per controller kept while connected,
// SDL's buttons, sticks and triggers in XInput's layout and ranges, and the slot freed on detach.
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "quill_mark/platform/qmi_live_layer.h"
#include "quill_mark/platform/qmi_seam_numbers.h"

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

    void Detach(SDL_Joystick* joystick)
    {
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
    const std::vector<std::pair<SDL_GameControllerButton, WORD>> buttons = {
        {SDL_CONTROLLER_BUTTON_A, XINPUT_GAMEPAD_A},
        {SDL_CONTROLLER_BUTTON_B, XINPUT_GAMEPAD_B},
        {SDL_CONTROLLER_BUTTON_X, XINPUT_GAMEPAD_X},
        {SDL_CONTROLLER_BUTTON_Y, XINPUT_GAMEPAD_Y},
        {SDL_CONTROLLER_BUTTON_BACK, XINPUT_GAMEPAD_BACK},
        {SDL_CONTROLLER_BUTTON_START, XINPUT_GAMEPAD_START},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, XINPUT_GAMEPAD_LEFT_THUMB},
        {SDL_CONTROLLER_BUTTON_RIGHTSTICK, XINPUT_GAMEPAD_RIGHT_THUMB},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, XINPUT_GAMEPAD_LEFT_SHOULDER},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, XINPUT_GAMEPAD_RIGHT_SHOULDER},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, XINPUT_GAMEPAD_DPAD_UP},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, XINPUT_GAMEPAD_DPAD_DOWN},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, XINPUT_GAMEPAD_DPAD_LEFT},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, XINPUT_GAMEPAD_DPAD_RIGHT},
    };
    XINPUT_STATE state = {};
    for (const auto& [button, bit] : buttons)
    {
        SDL_JoystickSetVirtualButton(joystick, button, 1);
        ASSERT_EQ(Ask(0, state), ERROR_SUCCESS);
        EXPECT_EQ(state.Gamepad.wButtons, bit) << SDL_GameControllerGetStringForButton(button);
        SDL_JoystickSetVirtualButton(joystick, button, 0);
    }
    // SDL's sticks grow down, its triggers span 0 to 32767; XInput's grow up, its triggers bytes.
    struct Axes
    {
        Sint16 leftX, leftY, rightX, rightY, leftTrigger, rightTrigger;
        SHORT thumbLX, thumbLY, thumbRX, thumbRY;
        BYTE triggerL, triggerR;
    };
    const std::vector<Axes> table = {
        {0, 0, 0, 0, -32768, -32768, 0, 0, 0, 0, 0, 0},
        {32767, -32768, -32768, 32767, 32767, 0, 32767, 32767, -32768, -32767, 255, 127},
        {-1000, 1000, 12, -12, -16384, 16384, -1000, -1000, 12, 12, 64, 191},
    };
    for (const Axes& row : table)
    {
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, row.leftX);
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, row.leftY);
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_RIGHTX, row.rightX);
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_RIGHTY, row.rightY);
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERLEFT, row.leftTrigger);
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, row.rightTrigger);
        ASSERT_EQ(Ask(0, state), ERROR_SUCCESS);
        const XINPUT_GAMEPAD& pad = state.Gamepad;
        EXPECT_EQ(pad.sThumbLX, row.thumbLX) << "left x " << row.leftX;
        EXPECT_EQ(pad.sThumbLY, row.thumbLY) << "left y " << row.leftY;
        EXPECT_EQ(pad.sThumbRX, row.thumbRX) << "right x " << row.rightX;
        EXPECT_EQ(pad.sThumbRY, row.thumbRY) << "right y " << row.rightY;
        EXPECT_EQ(pad.bLeftTrigger, row.triggerL) << "left trigger " << row.leftTrigger;
        EXPECT_EQ(pad.bRightTrigger, row.triggerR) << "right trigger " << row.rightTrigger;
        EXPECT_EQ(pad.wButtons, 0);
    }
}

}  // namespace
