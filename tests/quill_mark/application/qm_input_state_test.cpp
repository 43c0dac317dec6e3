// The input state on its own: the key table and the one-iteration memory of IsKeyReleased.
// The loop-level cases (repeats, keys outside the table, one-iteration press and release) are
// in the window layer's tests.
#include "quill_mark/application/qm_input_state.h"

#include <gtest/gtest.h>

#include "quill_mark/application/implementation/qmi_input_state.h"

namespace
{

using namespace Quillmark::Application;

TEST(InputState, KeyTableMapsDigitsLettersAndNamedKeysOnly)
{
    Key key = kMouseMiddle;
    EXPECT_FALSE(FindKey('A', key)) << "empty before it is built";
    BuildKeyTable();
    BuildKeyTable();  // building again changes nothing

    for (int digit = 0; digit < 10; ++digit)
    {
        ASSERT_TRUE(FindKey(static_cast<std::uint32_t>('0' + digit), key));
        EXPECT_EQ(key, kKey0 + digit);
    }
    for (int letter = 0; letter < 26; ++letter)
    {
        ASSERT_TRUE(FindKey(static_cast<std::uint32_t>('A' + letter), key));
        EXPECT_EQ(key, kKeyA + letter);
    }
    const std::pair<std::uint32_t, Key> named[] = {
        {0x20, kKeySpace}, {0x1B, kKeyEscape}, {0x0D, kKeyEnter}, {0x26, kKeyUp},
        {0x28, kKeyDown},  {0x25, kKeyLeft},   {0x27, kKeyRight}};
    for (const auto& [code, expected] : named)
    {
        ASSERT_TRUE(FindKey(code, key)) << code;
        EXPECT_EQ(key, expected);
    }
    // Lower-case characters, the mouse buttons' own codes, F1, Shift, Tab and the numeric keypad
    // are not keys of the framework.
    for (std::uint32_t code : {0x61u, 0x7Au, 0x01u, 0x02u, 0x04u, 0x70u, 0x10u, 0x09u, 0x60u})
    {
        EXPECT_FALSE(FindKey(code, key)) << code;
    }
}

TEST(InputState, ReleaseIsSeenUntilTheNextFrameBegins)
{
    PressKey(kKeyW);
    BeginInputFrame();
    EXPECT_FALSE(IsKeyReleased(kKeyW));
    ReleaseKey(kKeyW);
    EXPECT_TRUE(IsKeyReleased(kKeyW));
    EXPECT_FALSE(IsKeyReleased(kKeyS));
    BeginInputFrame();
    EXPECT_FALSE(IsKeyReleased(kKeyW));

    // Codes outside the 46 keys are ignored, never used as indexes.
    const Key outside = static_cast<Key>(200);
    PressKey(outside);
    BeginInputFrame();
    ReleaseKey(outside);
    EXPECT_FALSE(IsKeyReleased(outside));
}

TEST(InputState, MousePositionKeepsNegativeAndLargeValues)
{
    std::int32_t x = 1;
    std::int32_t y = 1;
    GetMousePosition(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    SetMousePosition(-40, 2000);
    GetMousePosition(x, y);
    EXPECT_EQ(x, -40);
    EXPECT_EQ(y, 2000);
}

}  // namespace
