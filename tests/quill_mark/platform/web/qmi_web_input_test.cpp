// SPDX-License-Identifier: Zlib
// The web layer's input arithmetic, run natively: browser key codes as virtual-key codes with
// their messages and flags, and viewport positions as canvas pixels, also beyond the canvas.
#include "quill_mark/platform/web/qmi_web_input.h"

#include <gtest/gtest.h>

namespace
{

using namespace qmImplementation::WebLayer;

constexpr KeyEvent kPress = {true, false, false, false};
constexpr KeyEvent kRepeat = {true, true, false, false};
constexpr KeyEvent kRelease = {false, false, false, false};
constexpr KeyEvent kAltPress = {true, false, true, false};
constexpr KeyEvent kAltGrPress = {true, false, true, true};

TEST(WebInput, BrowserKeyCodesAreVirtualKeyCodes)
{
    const std::pair<unsigned long, WPARAM> cases[] = {
        {65, 'A'},   {90, 'Z'},   {48, '0'},     {57, '9'},     {32, VK_SPACE},
        {27, 0x1B},  {13, 0x0D},  {37, VK_LEFT}, {40, VK_DOWN}, {112, 0x70},
        {186, 0xBA}, {254, 0xFE}, {0, 0},        {255, 0},      {1000, 0}};
    for (const auto& [code, expected] : cases)
        EXPECT_EQ(TranslateKey(code), expected) << "key code " << code;
}

TEST(WebInput, MessagesAndFlagsMarkRepeatsReleasesAndSystemKeys)
{
    EXPECT_EQ(KeyMessage(kPress, VK_ESCAPE), WM_KEYDOWN);
    EXPECT_EQ(KeyMessage(kRelease, VK_ESCAPE), WM_KEYUP);
    EXPECT_EQ(KeyMessage(kAltPress, 'A'), WM_SYSKEYDOWN);
    EXPECT_EQ(KeyMessage(kAltGrPress, 'A'), WM_KEYDOWN);
    EXPECT_EQ(KeyMessage(kPress, 0x79), WM_SYSKEYDOWN);
    EXPECT_EQ(KeyMessage(kRelease, 0x79), WM_SYSKEYUP);

    EXPECT_EQ(MakeKeyFlags(kPress), LPARAM{1});
    EXPECT_EQ(MakeKeyFlags(kRepeat), LPARAM{1} | (LPARAM{1} << 30));
    EXPECT_EQ(MakeKeyFlags(kRelease), LPARAM{1} | (LPARAM{3} << 30));
    EXPECT_EQ(MakeKeyFlags(kAltPress), LPARAM{1} | (LPARAM{1} << 29));
}

TEST(WebInput, OnlyScrollingKeysAreKeptFromThePage)
{
    const std::pair<WPARAM, bool> cases[] = {{VK_SPACE, true},  {0x21, true},       {VK_UP, true},
                                             {VK_DOWN, true},   {VK_ESCAPE, false}, {'A', false},
                                             {0x20 - 1, false}, {0x29, false}};
    for (const auto& [virtualKey, scrolls] : cases)
        EXPECT_EQ(ScrollsThePage(virtualKey), scrolls) << "virtual key " << virtualKey;
}

// The canvas sits at (32, 56) on the page, shown at its own size or at half of it.
TEST(WebInput, ViewportPositionsBecomeCanvasPixels)
{
    const CanvasPlacement asIs = {32.0, 56.0, 1280.0, 720.0, 1280, 720};
    const CanvasPlacement halved = {32.0, 56.0, 640.0, 360.0, 1280, 720};
    struct Case
    {
        double x, y;
        const CanvasPlacement* canvas;
        LONG clientX, clientY;
    };
    const Case cases[] = {{32.0, 56.0, &asIs, 0, 0},         {352.0, 456.0, &asIs, 320, 400},
                          {0.0, 0.0, &asIs, -32, -56},       {31.5, 55.0, &asIs, -1, -1},
                          {1400.0, 900.0, &asIs, 1368, 844}, {352.0, 256.0, &halved, 640, 400},
                          {0.0, 16.0, &halved, -64, -80}};
    for (const Case& c : cases)
    {
        const POINT client = ClientFromViewport(c.x, c.y, *c.canvas);
        EXPECT_EQ(client.x, c.clientX) << "at " << c.x << ", " << c.y;
        EXPECT_EQ(client.y, c.clientY) << "at " << c.x << ", " << c.y;
    }
}

}  // namespace
