// SPDX-License-Identifier: Zlib
// The process-wide input state, keyed by the platform's virtual-key codes. Key codes from outside
// the 46 keys are ignored rather than trusted as indexes, so a stray value can never write past
// the state arrays.
#include "quill_mark/application/qm_input_state.h"

#include <cstring>
#include <map>

#include "quill_mark/application/implementation/qmi_gamepad_state.h"
#include "quill_mark/application/implementation/qmi_input_state.h"
#include "quill_mark/platform/qmi_seam_numbers.h"

namespace Quillmark::Application
{

namespace
{

std::uint8_t theCurrentKeyState[kKeyCount] = {};
std::uint8_t thePreviousKeyState[kKeyCount] = {};
std::int32_t theMouseX = 0;
std::int32_t theMouseY = 0;
std::map<std::uint32_t, Key> theKeyTable;

bool IsValidKey(Key key)
{
    return key < kKeyCount;
}

void EnterRange(std::uint32_t firstCode, std::uint32_t lastCode, Key firstKey)
{
    for (std::uint32_t code = firstCode; code <= lastCode; ++code)
    {
        theKeyTable[code] = static_cast<Key>(firstKey + (code - firstCode));
    }
}

}  // namespace

void BuildKeyTable()
{
    using namespace qmSeam;
    EnterRange('0', '9', kKey0);
    EnterRange('A', 'Z', kKeyA);
    theKeyTable[VK_SPACE] = kKeySpace;
    theKeyTable[VK_ESCAPE] = kKeyEscape;
    theKeyTable[VK_RETURN] = kKeyEnter;
    theKeyTable[VK_UP] = kKeyUp;
    theKeyTable[VK_DOWN] = kKeyDown;
    theKeyTable[VK_LEFT] = kKeyLeft;
    theKeyTable[VK_RIGHT] = kKeyRight;
}

bool FindKey(std::uint32_t virtualKeyCode, Key& key)
{
    const auto found = theKeyTable.find(virtualKeyCode);
    if (found == theKeyTable.end())
    {
        return false;
    }
    key = found->second;
    return true;
}

void PressKey(Key key)
{
    if (IsValidKey(key))
    {
        theCurrentKeyState[key] = 1;
    }
}

void ReleaseKey(Key key)
{
    if (IsValidKey(key))
    {
        theCurrentKeyState[key] = 0;
    }
}

void BeginInputFrame()
{
    std::memcpy(thePreviousKeyState, theCurrentKeyState, sizeof(theCurrentKeyState));
    ReadGamepads();
}

void SetMousePosition(std::int32_t x, std::int32_t y)
{
    theMouseX = x;
    theMouseY = y;
}

bool IsKeyReleased(Key key)
{
    return IsValidKey(key) && theCurrentKeyState[key] == 0 && thePreviousKeyState[key] == 1;
}

void GetMousePosition(std::int32_t& x, std::int32_t& y)
{
    x = theMouseX;
    y = theMouseY;
}

}  // namespace Quillmark::Application
