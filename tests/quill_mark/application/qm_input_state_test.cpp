// The input state on its own: the key table and keys outside it. Repeats, one-iteration press
// and release and the one-frame release are covered by the window layer's tests.
#include "quill_mark/application/qm_input_state.h"

#include <gtest/gtest.h>

#include <vector>

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
    std::vector<std::pair<std::uint32_t, Key>> mapped = {
        {0x20, kKeySpace}, {0x1B, kKeyEscape}, {0x0D, kKeyEnter}, {0x26, kKeyUp},
        {0x28, kKeyDown},  {0x25, kKeyLeft},   {0x27, kKeyRight}};
    for (int n = 0; n < 26; ++n)
    {
        mapped.emplace_back('A' + n, static_cast<Key>(kKeyA + n));
        mapped.emplace_back('0' + n % 10, static_cast<Key>(kKey0 + n % 10));
    }
    for (const auto& [code, expected] : mapped)
    {
        ASSERT_TRUE(FindKey(code, key)) << code;
        EXPECT_EQ(key, expected);
    }
    // Lower case, the mouse buttons' codes, F1, Shift, Tab and the keypad are not keys here.
    for (std::uint32_t code : {0x61u, 0x7Au, 0x01u, 0x02u, 0x04u, 0x70u, 0x10u, 0x09u, 0x60u})
    {
        EXPECT_FALSE(FindKey(code, key)) << code;
    }
    // Codes outside the table are ignored, never used as indexes.
    const Key outside = static_cast<Key>(200);
    PressKey(outside);
    BeginInputFrame();
    ReleaseKey(outside);
    EXPECT_FALSE(IsKeyReleased(outside));
}

}  // namespace
