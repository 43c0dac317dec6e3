// SPDX-License-Identifier: Zlib
// SDL key events as the window procedure receives them: layout-following letters and digits, keys
// outside the framework's table, and the lParam bits of repeats, releases and Alt.
#include "quill_mark/platform/sdl/qmi_sdl_keys.h"

#include <gtest/gtest.h>

namespace
{

using namespace qmImplementation::SdlLayer;

SDL_Keysym MakeKeysym(SDL_Keycode code, Uint16 modifiers = KMOD_NONE)
{
    SDL_Keysym keysym = {};
    keysym.sym = code;
    keysym.scancode = code == SDLK_a ? SDL_SCANCODE_A : SDL_SCANCODE_UNKNOWN;
    keysym.mod = modifiers;
    return keysym;
}

TEST(SdlKeys, TranslatesToVirtualKeyCodes)
{
    const std::pair<SDL_Keycode, WPARAM> cases[] = {
        {SDLK_a, 'A'},      {SDLK_z, 'Z'},       {SDLK_0, '0'},       {SDLK_9, '9'},
        {SDLK_SPACE, 0x20}, {SDLK_ESCAPE, 0x1B}, {SDLK_RETURN, 0x0D}, {SDLK_KP_ENTER, 0x0D},
        {SDLK_LEFT, 0x25},  {SDLK_UP, 0x26},     {SDLK_RIGHT, 0x27},  {SDLK_DOWN, 0x28},
        {SDLK_F1, 0x70},    {SDLK_F12, 0x7B},    {SDLK_KP_0, 0x60},   {SDLK_KP_1, 0x61},
        {SDLK_KP_9, 0x69},  {SDLK_LSHIFT, 0x10}, {SDLK_RSHIFT, 0x10}, {SDLK_TAB, 0x09},
        {SDLK_RALT, 0x12},  {SDLK_VOLUMEUP, 0},  {SDLK_UNKNOWN, 0}};
    for (const auto& [code, expected] : cases)
        EXPECT_EQ(TranslateKey(MakeKeysym(code)), expected) << SDL_GetKeyName(code);
}

TEST(SdlKeys, FlagsMarkRepeatsReleasesAndAlt)
{
    SDL_KeyboardEvent event = {};
    event.type = SDL_KEYDOWN;
    event.keysym = MakeKeysym(SDLK_a);
    const LPARAM first = MakeKeyFlags(event);
    EXPECT_EQ(first & 0xFFFF, 1);
    EXPECT_EQ((first >> 16) & 0xFF, SDL_SCANCODE_A);
    EXPECT_EQ(first >> 29, 0);

    event.repeat = 1;
    EXPECT_EQ(MakeKeyFlags(event) >> 29, 0b010);

    event.type = SDL_KEYUP;
    event.repeat = 0;
    event.keysym = MakeKeysym(SDLK_a, KMOD_LALT);
    EXPECT_EQ(MakeKeyFlags(event) >> 29, 0b111);
}

}  // namespace
