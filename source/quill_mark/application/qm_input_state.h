// SPDX-License-Identifier: Zlib
// The keyboard, mouse and gamepad state the game reads: which input codes went up since the
// previous loop iteration, where the cursor is in client pixels, and the pads' buttons, sticks
// and triggers. The window layer feeds the keys and the cursor through
// implementation/qmi_input_state.h; the pads are read from the platform when it begins a loop
// iteration's input frame, once per iteration.
#pragma once

#include <cstdint>

namespace Quillmark::Application
{

enum Key : std::uint8_t
{
    kKey0,
    kKey1,
    kKey2,
    kKey3,
    kKey4,
    kKey5,
    kKey6,
    kKey7,
    kKey8,
    kKey9,
    kKeyA,
    kKeyB,
    kKeyC,
    kKeyD,
    kKeyE,
    kKeyF,
    kKeyG,
    kKeyH,
    kKeyI,
    kKeyJ,
    kKeyK,
    kKeyL,
    kKeyM,
    kKeyN,
    kKeyO,
    kKeyP,
    kKeyQ,
    kKeyR,
    kKeyS,
    kKeyT,
    kKeyU,
    kKeyV,
    kKeyW,
    kKeyX,
    kKeyY,
    kKeyZ,
    kKeySpace,
    kKeyEscape,
    kKeyEnter,
    kKeyUp,
    kKeyDown,
    kKeyLeft,
    kKeyRight,
    kMouseLeft,
    kMouseRight,
    kMouseMiddle,
};

constexpr int kKeyCount = 46;
static_assert(kMouseMiddle + 1 == kKeyCount, "one state byte per key");

// True exactly when the key is up now and was down at the start of this loop iteration.
// Codes outside the 46 keys are never released.
bool IsKeyReleased(Key key);

// The cursor in client pixels as read at the start of this loop iteration; negative or beyond
// the client size when the cursor is outside the window.
void GetMousePosition(std::int32_t& x, std::int32_t& y);

// ---- Gamepads -------------------------------------------------------------------------------
// Up to four pads, in slots 0 to 3 as the platform numbers them (on Windows XInput's user slots;
// elsewhere each pad takes the lowest free slot when it connects and keeps it until it goes).
// Every pad is read once per loop iteration, at its start, so a whole frame sees one state. A pad
// can be connected and disconnected at any time.
//
// Buttons keep the keyboard's meanings: "pressed" is down now and up at the previous iteration,
// "released" up now and down at the previous iteration, "held" down now. A button pressed and
// let go between two readings leaves no trace. The changes count between two readings of a
// connected pad: a pad that connects with a button down does not press it, and one that goes
// away does not release its buttons (it is simply no longer connected, with every button up).
//
// Connected pads are read every iteration. Every slot is asked at the first iteration (number
// 0); an empty one is then asked only every 32nd (slot 0 at iterations 32, 64, ..., slot 1 at
// 8, 40, ..., slot 2 at 16, 48, ..., slot 3 at 24, 56, ...), since on some systems asking about
// an empty slot takes a long time. So a pad is noticed within 32 iterations of connecting. The
// schedule follows the iteration count alone, so a replay asks exactly as the recording did.

constexpr int kGamepadSlotCount = 4;

enum GamepadButton : std::uint8_t
{
    kGamepadA,
    kGamepadB,
    kGamepadX,
    kGamepadY,
    kGamepadLeftShoulder,
    kGamepadRightShoulder,
    kGamepadBack,
    kGamepadStart,
    kGamepadLeftStick,  // the left stick pressed in
    kGamepadRightStick,
    kGamepadDpadUp,
    kGamepadDpadDown,
    kGamepadDpadLeft,
    kGamepadDpadRight,
};
constexpr int kGamepadButtonCount = 14;
static_assert(kGamepadDpadRight + 1 == kGamepadButtonCount, "one bit per button");

// Sticks from -1 to 1 with y growing downwards, like the window's coordinates (pushed right and
// down is (1, 1)); triggers from 0 (released) to 1 (pulled fully).
//
// Each has a dead zone, XInput's recommended one: a stick reads 0 until it is pushed more than
// 7849 (left) or 8689 (right) of its 32767 from the centre, a trigger until it is pulled more
// than 30 of its 255. Sticks of pads in ordinary wear do not come back to exactly the centre, and
// without it a game would see a pad at rest as drifting. Past the dead zone the value grows from
// 0 in proportion, so there is no jump. A stick's dead zone is round: its direction is kept and
// its distance from the centre scaled, and it never reads farther than 1 from the centre.
enum GamepadAxis : std::uint8_t
{
    kGamepadLeftStickX,
    kGamepadLeftStickY,
    kGamepadRightStickX,
    kGamepadRightStickY,
    kGamepadLeftTrigger,
    kGamepadRightTrigger,
};
constexpr int kGamepadAxisCount = 6;

// False for slots outside 0 to 3 too; a slot that is not connected has every button up and
// every axis at 0.
bool IsGamepadConnected(int slot);
bool IsGamepadButtonPressed(int slot, GamepadButton button);
bool IsGamepadButtonReleased(int slot, GamepadButton button);
bool IsGamepadButtonHeld(int slot, GamepadButton button);
float GetGamepadAxis(int slot, GamepadAxis axis);

}  // namespace Quillmark::Application
