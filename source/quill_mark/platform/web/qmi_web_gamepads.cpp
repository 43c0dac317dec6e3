// SPDX-License-Identifier: Zlib
// XInputGetState on the page's gamepads (the browser's Gamepad API): the browser's pad number is
// the slot, and a pad in the browser's standard layout is turned into XInput's buttons, stick and
// trigger ranges (y growing upwards). Pads the browser does not map to its standard layout, and
// slots with no pad, answer "not connected". A browser reports a pad only once it was touched.
#include <emscripten/html5.h>

#include <cmath>
#include <cstring>

#include "quill_mark/platform/web/qmi_web_state.h"

namespace qmImplementation::WebLayer
{

namespace
{

// The standard layout's buttons in order: A, B, X, Y, the shoulders, the triggers (read as
// analog, below), Back, Start, the sticks pressed in, and the cross up, down, left and right.
constexpr WORD kButtons[] = {XINPUT_GAMEPAD_A,
                             XINPUT_GAMEPAD_B,
                             XINPUT_GAMEPAD_X,
                             XINPUT_GAMEPAD_Y,
                             XINPUT_GAMEPAD_LEFT_SHOULDER,
                             XINPUT_GAMEPAD_RIGHT_SHOULDER,
                             0,
                             0,
                             XINPUT_GAMEPAD_BACK,
                             XINPUT_GAMEPAD_START,
                             XINPUT_GAMEPAD_LEFT_THUMB,
                             XINPUT_GAMEPAD_RIGHT_THUMB,
                             XINPUT_GAMEPAD_DPAD_UP,
                             XINPUT_GAMEPAD_DPAD_DOWN,
                             XINPUT_GAMEPAD_DPAD_LEFT,
                             XINPUT_GAMEPAD_DPAD_RIGHT};
constexpr int kLeftTrigger = 6;
constexpr int kRightTrigger = 7;

// The last state each slot answered, so the packet number changes exactly when the state does.
XINPUT_STATE theStates[XUSER_MAX_COUNT] = {};

SHORT StickValue(double axis, bool flip)
{
    const double value = std::fmax(-1.0, std::fmin(1.0, flip ? -axis : axis));
    return static_cast<SHORT>(std::lround(value >= 0.0 ? value * 32767.0 : value * 32768.0));
}

BYTE TriggerValue(double value)
{
    return static_cast<BYTE>(std::lround(std::fmax(0.0, std::fmin(1.0, value)) * 255.0));
}

XINPUT_GAMEPAD ReadPad(const EmscriptenGamepadEvent& pad)
{
    XINPUT_GAMEPAD gamepad = {};
    const int buttons = pad.numButtons < 16 ? pad.numButtons : 16;
    for (int index = 0; index < buttons; ++index)
    {
        if (pad.digitalButton[index] != 0)
        {
            gamepad.wButtons = static_cast<WORD>(gamepad.wButtons | kButtons[index]);
        }
    }
    gamepad.bLeftTrigger =
        buttons > kLeftTrigger ? TriggerValue(pad.analogButton[kLeftTrigger]) : 0;
    gamepad.bRightTrigger =
        buttons > kRightTrigger ? TriggerValue(pad.analogButton[kRightTrigger]) : 0;
    if (pad.numAxes >= 4)
    {
        gamepad.sThumbLX = StickValue(pad.axis[0], false);
        gamepad.sThumbLY = StickValue(pad.axis[1], true);
        gamepad.sThumbRX = StickValue(pad.axis[2], false);
        gamepad.sThumbRY = StickValue(pad.axis[3], true);
    }
    return gamepad;
}

bool ReadSlot(DWORD userIndex, XINPUT_GAMEPAD& gamepad)
{
    EmscriptenGamepadEvent pad = {};
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS ||
        static_cast<int>(userIndex) >= emscripten_get_num_gamepads() ||
        emscripten_get_gamepad_status(static_cast<int>(userIndex), &pad) !=
            EMSCRIPTEN_RESULT_SUCCESS ||
        pad.connected == 0 || std::strcmp(pad.mapping, "standard") != 0)
    {
        return false;
    }
    gamepad = ReadPad(pad);
    return true;
}

}  // namespace

DWORD XInputGetState(DWORD userIndex, XINPUT_STATE* state)
{
    if (state == nullptr || userIndex >= XUSER_MAX_COUNT)
    {
        return ERROR_BAD_ARGUMENTS;
    }
    XINPUT_GAMEPAD gamepad = {};
    if (!ReadSlot(userIndex, gamepad))
    {
        theStates[userIndex] = {};
        *state = {};
        return ERROR_DEVICE_NOT_CONNECTED;
    }
    XINPUT_STATE& last = theStates[userIndex];
    if (std::memcmp(&last.Gamepad, &gamepad, sizeof(gamepad)) != 0)
    {
        last.Gamepad = gamepad;
        ++last.dwPacketNumber;
    }
    *state = last;
    return ERROR_SUCCESS;
}

}  // namespace qmImplementation::WebLayer
