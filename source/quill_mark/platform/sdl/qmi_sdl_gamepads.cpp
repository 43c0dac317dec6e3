// SPDX-License-Identifier: Zlib
// XInputGetState on SDL's game controllers. Controllers are opened as they connect, in slots 0 to
// 3 (the lowest free one, so in the order they connected), and closed as they go; a controller
// SDL has no mapping for is not a pad. Each new round of questions (a slot no higher than the one
// asked before) first brings SDL's view of the devices up to date. Buttons, sticks and triggers
// are turned into XInput's layout and ranges. Pads answer with or without the window's focus, as
// XInput's do.
#include <algorithm>

#include "quill_mark/platform/sdl/qmi_sdl_state.h"

namespace qmImplementation::SdlLayer
{

namespace
{

struct Pad
{
    SDL_GameController* controller = nullptr;
    SDL_JoystickID instance = -1;
    XINPUT_STATE state = {};
};

struct Pads
{
    bool started = false;
    bool available = false;
    DWORD lastSlotAsked = XUSER_MAX_COUNT;
    Pad slots[XUSER_MAX_COUNT];
};

Pads& GetPads()
{
    static Pads pads;
    return pads;
}

constexpr struct
{
    SDL_GameControllerButton button;
    WORD bit;
} kButtons[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, XINPUT_GAMEPAD_DPAD_UP},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, XINPUT_GAMEPAD_DPAD_DOWN},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, XINPUT_GAMEPAD_DPAD_LEFT},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, XINPUT_GAMEPAD_DPAD_RIGHT},
    {SDL_CONTROLLER_BUTTON_START, XINPUT_GAMEPAD_START},
    {SDL_CONTROLLER_BUTTON_BACK, XINPUT_GAMEPAD_BACK},
    {SDL_CONTROLLER_BUTTON_LEFTSTICK, XINPUT_GAMEPAD_LEFT_THUMB},
    {SDL_CONTROLLER_BUTTON_RIGHTSTICK, XINPUT_GAMEPAD_RIGHT_THUMB},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, XINPUT_GAMEPAD_LEFT_SHOULDER},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, XINPUT_GAMEPAD_RIGHT_SHOULDER},
    {SDL_CONTROLLER_BUTTON_A, XINPUT_GAMEPAD_A},
    {SDL_CONTROLLER_BUTTON_B, XINPUT_GAMEPAD_B},
    {SDL_CONTROLLER_BUTTON_X, XINPUT_GAMEPAD_X},
    {SDL_CONTROLLER_BUTTON_Y, XINPUT_GAMEPAD_Y},
};

// Started on first use, apart from video: pads need no window. Their events are not queued,
// since nothing reads them (the state is asked for directly).
bool EnsureGameControllers()
{
    Pads& pads = GetPads();
    if (!pads.started)
    {
        pads.started = true;
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        pads.available = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
        if (pads.available)
        {
            SDL_JoystickEventState(SDL_IGNORE);
            SDL_GameControllerEventState(SDL_IGNORE);
        }
    }
    return pads.available;
}

void CloseDeparted(Pads& pads)
{
    for (Pad& pad : pads.slots)
    {
        if (pad.controller != nullptr && !SDL_GameControllerGetAttached(pad.controller))
        {
            SDL_GameControllerClose(pad.controller);
            pad = Pad{};
        }
    }
}

bool IsOpen(const Pads& pads, SDL_JoystickID instance)
{
    return std::any_of(std::begin(pads.slots), std::end(pads.slots),
                       [instance](const Pad& pad)
                       { return pad.controller != nullptr && pad.instance == instance; });
}

Pad* FreeSlot(Pads& pads)
{
    for (Pad& pad : pads.slots)
    {
        if (pad.controller == nullptr)
        {
            return &pad;
        }
    }
    return nullptr;
}

void OpenArrivals(Pads& pads)
{
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index)
    {
        const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(index);
        Pad* slot = FreeSlot(pads);
        if (slot == nullptr)
        {
            return;
        }
        if (!SDL_IsGameController(index) || IsOpen(pads, instance))
        {
            continue;
        }
        SDL_GameController* controller = SDL_GameControllerOpen(index);
        if (controller != nullptr)
        {
            *slot = Pad{controller, instance, {}};
        }
    }
}

void Refresh(Pads& pads)
{
    SDL_GameControllerUpdate();
    CloseDeparted(pads);
    OpenArrivals(pads);
}

// SDL's y grows downwards; negated, and the top of SDL's range held to XInput's.
SHORT Upwards(Sint16 value)
{
    return value == -32768 ? SHORT{32767} : static_cast<SHORT>(-value);
}

// SDL's triggers go from 0 to 32767, XInput's from 0 to 255, rounded to the nearest.
BYTE TriggerOf(Sint16 value)
{
    const int clamped = std::max<int>(value, 0);
    return static_cast<BYTE>((clamped * 255 + 16383) / 32767);
}

XINPUT_GAMEPAD ReadGamepad(SDL_GameController* controller)
{
    XINPUT_GAMEPAD gamepad = {};
    for (const auto& entry : kButtons)
    {
        if (SDL_GameControllerGetButton(controller, entry.button) != 0)
        {
            gamepad.wButtons = static_cast<WORD>(gamepad.wButtons | entry.bit);
        }
    }
    gamepad.bLeftTrigger =
        TriggerOf(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
    gamepad.bRightTrigger =
        TriggerOf(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
    gamepad.sThumbLX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    gamepad.sThumbLY = Upwards(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
    gamepad.sThumbRX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_RIGHTX);
    gamepad.sThumbRY = Upwards(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_RIGHTY));
    return gamepad;
}

bool operator!=(const XINPUT_GAMEPAD& left, const XINPUT_GAMEPAD& right)
{
    return left.wButtons != right.wButtons || left.bLeftTrigger != right.bLeftTrigger ||
           left.bRightTrigger != right.bRightTrigger || left.sThumbLX != right.sThumbLX ||
           left.sThumbLY != right.sThumbLY || left.sThumbRX != right.sThumbRX ||
           left.sThumbRY != right.sThumbRY;
}

}  // namespace

DWORD XInputGetState(DWORD userIndex, XINPUT_STATE* state)
{
    if (state == nullptr || userIndex >= XUSER_MAX_COUNT)
    {
        return ERROR_BAD_ARGUMENTS;
    }
    Pads& pads = GetPads();
    if (!EnsureGameControllers())
    {
        *state = XINPUT_STATE{};
        return ERROR_DEVICE_NOT_CONNECTED;
    }
    if (userIndex <= pads.lastSlotAsked)
    {
        Refresh(pads);
    }
    pads.lastSlotAsked = userIndex;
    Pad& pad = pads.slots[userIndex];
    if (pad.controller == nullptr)
    {
        *state = XINPUT_STATE{};
        return ERROR_DEVICE_NOT_CONNECTED;
    }
    const XINPUT_GAMEPAD gamepad = ReadGamepad(pad.controller);
    if (gamepad != pad.state.Gamepad)
    {
        pad.state.Gamepad = gamepad;
        ++pad.state.dwPacketNumber;
    }
    *state = pad.state;
    return ERROR_SUCCESS;
}

}  // namespace qmImplementation::SdlLayer
