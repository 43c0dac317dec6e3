// SPDX-License-Identifier: Zlib
// The headless pads: whatever the driver connected, answered from the slot's record. The first
// pad asked for in a loop iteration starts it, running the test's iteration hook first, so that a
// pad the hook connects or changes is read in that same iteration.
#include "quill_mark/platform/headless/qmi_headless_state.h"

namespace qmImplementation::HeadlessLayer
{

namespace
{

Gamepad* FindSlot(int slot)
{
    const bool inRange = slot >= 0 && slot < static_cast<int>(XUSER_MAX_COUNT);
    return inRange ? &GetState().gamepads[slot] : nullptr;
}

bool SameGamepad(const XINPUT_GAMEPAD& left, const XINPUT_GAMEPAD& right)
{
    return left.wButtons == right.wButtons && left.bLeftTrigger == right.bLeftTrigger &&
           left.bRightTrigger == right.bRightTrigger && left.sThumbLX == right.sThumbLX &&
           left.sThumbLY == right.sThumbLY && left.sThumbRX == right.sThumbRX &&
           left.sThumbRY == right.sThumbRY;
}

}  // namespace

DWORD XInputGetState(DWORD userIndex, XINPUT_STATE* state)
{
    State& layer = GetState();
    if (!layer.iterationBegunByGamepads)
    {
        layer.iterationBegunByGamepads = true;
        RunIterationHook();
    }
    if (state == nullptr || userIndex >= XUSER_MAX_COUNT)
    {
        return ERROR_BAD_ARGUMENTS;
    }
    Gamepad& gamepad = layer.gamepads[userIndex];
    ++gamepad.polls;
    if (!gamepad.connected)
    {
        *state = XINPUT_STATE{};
        return ERROR_DEVICE_NOT_CONNECTED;
    }
    *state = gamepad.state;
    return ERROR_SUCCESS;
}

void ConnectGamepad(int slot, const XINPUT_GAMEPAD& state)
{
    Gamepad* gamepad = FindSlot(slot);
    if (gamepad != nullptr)
    {
        gamepad->connected = true;
        gamepad->state.Gamepad = state;
        ++gamepad->state.dwPacketNumber;
    }
}

void SetGamepadState(int slot, const XINPUT_GAMEPAD& state)
{
    Gamepad* gamepad = FindSlot(slot);
    if (gamepad != nullptr && gamepad->connected && !SameGamepad(gamepad->state.Gamepad, state))
    {
        gamepad->state.Gamepad = state;
        ++gamepad->state.dwPacketNumber;
    }
}

void DisconnectGamepad(int slot)
{
    Gamepad* gamepad = FindSlot(slot);
    if (gamepad != nullptr)
    {
        gamepad->connected = false;
    }
}

std::int64_t GetGamepadPollCount(int slot)
{
    const Gamepad* gamepad = FindSlot(slot);
    return gamepad != nullptr ? gamepad->polls : 0;
}

}  // namespace qmImplementation::HeadlessLayer
