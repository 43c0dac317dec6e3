// SPDX-License-Identifier: Zlib
// The page's input in the seam's terms: browser key codes as virtual-key codes with their
// messages and flags, and viewport positions as client pixels of the canvas. Plain arithmetic,
// free of the browser, so it is checked by the desktop's unit tests too.
#pragma once

#include "quill_mark/platform/qmi_seam_numbers.h"

namespace qmImplementation::WebLayer
{

using namespace qmSeam;

struct KeyEvent
{
    bool isDown;
    bool isRepeat;
    bool isAltHeld;
    bool isCtrlHeld;
};

// A browser's key codes are the desktop's virtual-key codes for every key that has one; codes
// outside their range (0 and 255 and beyond) send no message.
WPARAM TranslateKey(unsigned long keyCode);
// WM_KEYDOWN/WM_KEYUP, or their system forms for keys pressed with Alt (without Ctrl, which with
// Alt means AltGr) and for F10.
UINT KeyMessage(const KeyEvent& key, WPARAM virtualKey);
// Repeat count 1, the Alt context bit 29, bit 30 (the key was already down: an automatic repeat,
// or any release) and bit 31 (being released). The page reports no scan codes.
LPARAM MakeKeyFlags(const KeyEvent& key);
// Space, the page keys and the arrows, which would scroll the page under the game.
bool ScrollsThePage(WPARAM virtualKey);

// Where the page shows the canvas (viewport pixels) and its own pixel size.
struct CanvasPlacement
{
    double left;
    double top;
    double displayedWidth;
    double displayedHeight;
    int pixelWidth;
    int pixelHeight;
};

// The pixel of the canvas under a viewport position, also beyond its edges (negative left of or
// above it). A canvas displayed at another size than its own is scaled to its own pixels.
POINT ClientFromViewport(double x, double y, const CanvasPlacement& canvas);

}  // namespace qmImplementation::WebLayer
