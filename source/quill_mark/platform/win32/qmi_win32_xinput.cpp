// SPDX-License-Identifier: Zlib
// XInputGetState on the real API. XInput is loaded when first asked for, from the first of its
// libraries the system has, so the program starts on a system without any: every slot then
// answers "not connected". Only the system's own folder is searched, so a library of that name
// placed beside the program is never loaded in its stead.
#include "quill_mark/platform/win32/qmi_win32_state.h"

#include <xinput.h>

namespace qmImplementation::Win32Layer
{

namespace
{

using GetStateEntry = ::DWORD(WINAPI*)(::DWORD, ::XINPUT_STATE*);

constexpr const char* kLibraryNames[] = {"xinput1_4.dll", "xinput1_3.dll", "xinput9_1_0.dll"};

// The library stays loaded for the rest of the run.
GetStateEntry Load()
{
    for (const char* name : kLibraryNames)
    {
        ::HMODULE library = ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (library == nullptr)
        {
            continue;
        }
        // Through the generic function pointer type, which every function pointer converts from.
        const auto entry = reinterpret_cast<GetStateEntry>(
            reinterpret_cast<void (*)()>(::GetProcAddress(library, "XInputGetState")));
        if (entry != nullptr)
        {
            return entry;
        }
        ::FreeLibrary(library);
    }
    return nullptr;
}

GetStateEntry TheEntry()
{
    static const GetStateEntry entry = Load();
    return entry;
}

}  // namespace

bool HasXInput()
{
    return TheEntry() != nullptr;
}

DWORD XInputGetState(DWORD userIndex, XINPUT_STATE* state)
{
    if (state == nullptr || userIndex >= XUSER_MAX_COUNT)
    {
        return ERROR_BAD_ARGUMENTS;
    }
    const GetStateEntry getState = TheEntry();
    ::XINPUT_STATE system = {};
    const ::DWORD result =
        getState != nullptr ? getState(userIndex, &system) : ERROR_DEVICE_NOT_CONNECTED;
    *state = XINPUT_STATE{};
    if (result != ERROR_SUCCESS)
    {
        return result;
    }
    state->dwPacketNumber = system.dwPacketNumber;
    state->Gamepad.wButtons = system.Gamepad.wButtons;
    state->Gamepad.bLeftTrigger = system.Gamepad.bLeftTrigger;
    state->Gamepad.bRightTrigger = system.Gamepad.bRightTrigger;
    state->Gamepad.sThumbLX = system.Gamepad.sThumbLX;
    state->Gamepad.sThumbLY = system.Gamepad.sThumbLY;
    state->Gamepad.sThumbRX = system.Gamepad.sThumbRX;
    state->Gamepad.sThumbRY = system.Gamepad.sThumbRY;
    return ERROR_SUCCESS;
}

}  // namespace qmImplementation::Win32Layer
