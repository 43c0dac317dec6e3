// SPDX-License-Identifier: Zlib
// The window layer's side of the input state: building the table from virtual-key codes to
// keys, and pressing, releasing and framing keys as the message loop sees them.
// The game reads the state through qm_input_state.h only.
#pragma once

#include <cstdint>

#include "quill_mark/application/qm_input_state.h"

namespace Quillmark::Application
{

// Enters the digit, letter, space, Escape, Enter and arrow keys; entries already there for the
// same code are overwritten. The mouse buttons are not in the table.
void BuildKeyTable();
// Writes the key of a virtual-key code and returns true, or returns false when it has none.
bool FindKey(std::uint32_t virtualKeyCode, Key& key);

void PressKey(Key key);
void ReleaseKey(Key key);
// The start of a loop iteration: the previous key state becomes a copy of the current one, and
// the pads are read.
void BeginInputFrame();
void SetMousePosition(std::int32_t x, std::int32_t y);

}  // namespace Quillmark::Application
