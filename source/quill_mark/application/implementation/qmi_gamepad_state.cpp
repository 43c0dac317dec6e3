// SPDX-License-Identifier: Zlib
// The pads as the input state keeps them: XInput's answers turned into buttons with the
// keyboard's meanings, and into sticks and triggers as floats past their dead zones. The
// arithmetic is plain float (+, -, *, / and sqrt), so a replay on any platform reads the same.
#include "quill_mark/application/implementation/qmi_gamepad_state.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "quill_mark/application/qm_input_state.h"
#include "quill_mark/platform/qmi_seam_numbers.h"

namespace Quillmark::Application
{

namespace
{

using namespace qmSeam;

struct Pad
{
    bool connected = false;
    WORD buttons = 0;
    WORD previousButtons = 0;
    float axes[kGamepadAxisCount] = {};
};

Pad thePads[kGamepadSlotCount];
std::uint64_t theIteration = 0;

constexpr std::uint64_t kEmptySlotInterval = 32;
constexpr float kStickRange = 32767.0f;
constexpr float kTriggerRange = 255.0f;

// In the order of GamepadButton.
constexpr WORD kButtonBits[kGamepadButtonCount] = {
    XINPUT_GAMEPAD_A,
    XINPUT_GAMEPAD_B,
    XINPUT_GAMEPAD_X,
    XINPUT_GAMEPAD_Y,
    XINPUT_GAMEPAD_LEFT_SHOULDER,
    XINPUT_GAMEPAD_RIGHT_SHOULDER,
    XINPUT_GAMEPAD_BACK,
    XINPUT_GAMEPAD_START,
    XINPUT_GAMEPAD_LEFT_THUMB,
    XINPUT_GAMEPAD_RIGHT_THUMB,
    XINPUT_GAMEPAD_DPAD_UP,
    XINPUT_GAMEPAD_DPAD_DOWN,
    XINPUT_GAMEPAD_DPAD_LEFT,
    XINPUT_GAMEPAD_DPAD_RIGHT,
};

// Connected slots every iteration; empty ones at the first and then spread over every 32nd, one
// slot at a time.
bool IsDue(int slot)
{
    const std::uint64_t offset =
        static_cast<std::uint64_t>(slot) * (kEmptySlotInterval / kGamepadSlotCount);
    return thePads[slot].connected || theIteration == 0 ||
           theIteration % kEmptySlotInterval == offset;
}

// XInput's y grows upwards, the window's downwards.
void ReadStick(SHORT x, SHORT y, SHORT deadZone, float& right, float& down)
{
    const float fromCentreX = static_cast<float>(x);
    const float fromCentreY = -static_cast<float>(y);
    const float distance = std::sqrt(fromCentreX * fromCentreX + fromCentreY * fromCentreY);
    const float edge = static_cast<float>(deadZone);
    right = 0.0f;
    down = 0.0f;
    if (distance <= edge)
    {
        return;
    }
    const float reach = std::min((distance - edge) / (kStickRange - edge), 1.0f);
    right = fromCentreX / distance * reach;
    down = fromCentreY / distance * reach;
}

float ReadTrigger(BYTE value)
{
    const float edge = static_cast<float>(XINPUT_GAMEPAD_TRIGGER_THRESHOLD);
    const float pulled = static_cast<float>(value);
    return pulled <= edge ? 0.0f : (pulled - edge) / (kTriggerRange - edge);
}

void Read(int slot)
{
    Pad& pad = thePads[slot];
    XINPUT_STATE state = {};
    if (Calls::XInputGetState(static_cast<DWORD>(slot), &state) != ERROR_SUCCESS)
    {
        pad = Pad{};
        return;
    }
    const XINPUT_GAMEPAD& gamepad = state.Gamepad;
    pad.previousButtons = pad.connected ? pad.buttons : gamepad.wButtons;
    pad.buttons = gamepad.wButtons;
    pad.connected = true;
    ReadStick(gamepad.sThumbLX, gamepad.sThumbLY, XINPUT_GAMEPAD_LEFT_THUMB_DEADZONE,
              pad.axes[kGamepadLeftStickX], pad.axes[kGamepadLeftStickY]);
    ReadStick(gamepad.sThumbRX, gamepad.sThumbRY, XINPUT_GAMEPAD_RIGHT_THUMB_DEADZONE,
              pad.axes[kGamepadRightStickX], pad.axes[kGamepadRightStickY]);
    pad.axes[kGamepadLeftTrigger] = ReadTrigger(gamepad.bLeftTrigger);
    pad.axes[kGamepadRightTrigger] = ReadTrigger(gamepad.bRightTrigger);
}

const Pad* FindPad(int slot)
{
    return slot >= 0 && slot < kGamepadSlotCount ? &thePads[slot] : nullptr;
}

// The button's bit now and at the previous reading; both false for a slot or button out of range.
void ButtonStates(int slot, GamepadButton button, bool& now, bool& before)
{
    const Pad* pad = FindPad(slot);
    now = false;
    before = false;
    if (pad != nullptr && button < kGamepadButtonCount)
    {
        now = (pad->buttons & kButtonBits[button]) != 0;
        before = (pad->previousButtons & kButtonBits[button]) != 0;
    }
}

}  // namespace

void ReadGamepads()
{
    for (int slot = 0; slot < kGamepadSlotCount; ++slot)
    {
        if (IsDue(slot))
        {
            Read(slot);
        }
    }
    ++theIteration;
}

bool IsGamepadConnected(int slot)
{
    const Pad* pad = FindPad(slot);
    return pad != nullptr && pad->connected;
}

bool IsGamepadButtonPressed(int slot, GamepadButton button)
{
    bool now = false;
    bool before = false;
    ButtonStates(slot, button, now, before);
    return now && !before;
}

bool IsGamepadButtonReleased(int slot, GamepadButton button)
{
    bool now = false;
    bool before = false;
    ButtonStates(slot, button, now, before);
    return !now && before;
}

bool IsGamepadButtonHeld(int slot, GamepadButton button)
{
    bool now = false;
    bool before = false;
    ButtonStates(slot, button, now, before);
    return now;
}

float GetGamepadAxis(int slot, GamepadAxis axis)
{
    const Pad* pad = FindPad(slot);
    return pad != nullptr && axis < kGamepadAxisCount ? pad->axes[axis] : 0.0f;
}

}  // namespace Quillmark::Application
