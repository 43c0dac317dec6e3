// SPDX-License-Identifier: Zlib
// Key codes, key flags and canvas coordinates for the web layer (see the header).
#include "quill_mark/platform/web/qmi_web_input.h"

#include <cmath>

namespace qmImplementation::WebLayer
{

namespace
{

constexpr WPARAM kVirtualKeyF10 = 0x79;
constexpr WPARAM kVirtualKeyPageUp = 0x21;
constexpr unsigned long kFirstUnusedCode = 0xFF;

double Scale(int pixels, double displayed)
{
    return displayed > 0.0 ? static_cast<double>(pixels) / displayed : 1.0;
}

}  // namespace

WPARAM TranslateKey(unsigned long keyCode)
{
    return keyCode < kFirstUnusedCode ? static_cast<WPARAM>(keyCode) : 0;
}

UINT KeyMessage(const KeyEvent& key, WPARAM virtualKey)
{
    const bool isSystemKey = (key.isAltHeld && !key.isCtrlHeld) || virtualKey == kVirtualKeyF10;
    if (isSystemKey)
    {
        return key.isDown ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    }
    return key.isDown ? WM_KEYDOWN : WM_KEYUP;
}

LPARAM MakeKeyFlags(const KeyEvent& key)
{
    LPARAM flags = 1;
    if (key.isAltHeld)
    {
        flags |= LPARAM{1} << 29;
    }
    if (!key.isDown)
    {
        flags |= LPARAM{3} << 30;
    }
    else if (key.isRepeat)
    {
        flags |= LPARAM{1} << 30;
    }
    return flags;
}

bool ScrollsThePage(WPARAM virtualKey)
{
    return virtualKey == VK_SPACE || (virtualKey >= kVirtualKeyPageUp && virtualKey <= VK_DOWN);
}

POINT ClientFromViewport(double x, double y, const CanvasPlacement& canvas)
{
    const double clientX = (x - canvas.left) * Scale(canvas.pixelWidth, canvas.displayedWidth);
    const double clientY = (y - canvas.top) * Scale(canvas.pixelHeight, canvas.displayedHeight);
    return POINT{static_cast<LONG>(std::floor(clientX)), static_cast<LONG>(std::floor(clientY))};
}

}  // namespace qmImplementation::WebLayer
