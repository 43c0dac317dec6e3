// SPDX-License-Identifier: Zlib
// Translation of SDL key events into the virtual-key codes and key-message flags that window
// procedures receive.
#pragma once

#include <SDL.h>

#include "quill_mark/platform/qmi_seam_numbers.h"

namespace qmImplementation::SdlLayer
{

using namespace qmSeam;

// The virtual-key code of the key, or 0 for keys that have none here (they send no message).
WPARAM TranslateKey(const SDL_Keysym& keysym);
// Keys pressed with Alt (without Ctrl, which with Alt means AltGr) and F10 are system keys.
bool IsSystemKey(const SDL_Keysym& keysym, WPARAM virtualKey);
// Repeat count 1, the scan code, the Alt context bit, and bit 30 (already down) / bit 31
// (being released).
LPARAM MakeKeyFlags(const SDL_KeyboardEvent& event);

}  // namespace qmImplementation::SdlLayer
