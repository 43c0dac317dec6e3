// The keyboard and mouse state the game reads: which input codes went up since the previous
// loop iteration, and where the cursor is in client pixels. The window layer feeds it through
// implementation/qmi_input_state.h; nothing here talks to the platform.
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

}  // namespace Quillmark::Application
