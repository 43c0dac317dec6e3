// SPDX-License-Identifier: Zlib
// SDL key codes to virtual-key codes. Letters and digits follow the keyboard layout, as SDL's
// key codes do; keys without a code here (media keys and the like) are not reported at all.
#include "quill_mark/platform/sdl/qmi_sdl_keys.h"

namespace qmImplementation::SdlLayer
{

namespace
{

constexpr WPARAM kVirtualKeyF1 = 0x70;
constexpr WPARAM kVirtualKeyF10 = 0x79;
constexpr WPARAM kVirtualKeyNumpad0 = 0x60;

WPARAM TranslateCharacterKey(SDL_Keycode code)
{
    if (code >= 'a' && code <= 'z')
    {
        return static_cast<WPARAM>(code - 'a' + 'A');
    }
    if (code >= '0' && code <= '9')
    {
        return static_cast<WPARAM>(code);
    }
    switch (code)
    {
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_SEMICOLON:
            return 0xBA;
        case SDLK_EQUALS:
            return 0xBB;
        case SDLK_COMMA:
            return 0xBC;
        case SDLK_MINUS:
            return 0xBD;
        case SDLK_PERIOD:
            return 0xBE;
        case SDLK_SLASH:
            return 0xBF;
        case SDLK_BACKQUOTE:
            return 0xC0;
        case SDLK_LEFTBRACKET:
            return 0xDB;
        case SDLK_BACKSLASH:
            return 0xDC;
        case SDLK_RIGHTBRACKET:
            return 0xDD;
        case SDLK_QUOTE:
            return 0xDE;
        default:
            return 0;
    }
}

WPARAM TranslateEditingKey(SDL_Keycode code)
{
    switch (code)
    {
        case SDLK_BACKSPACE:
            return 0x08;
        case SDLK_TAB:
            return 0x09;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_PAUSE:
            return 0x13;
        case SDLK_CAPSLOCK:
            return 0x14;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_PAGEUP:
            return 0x21;
        case SDLK_PAGEDOWN:
            return 0x22;
        case SDLK_END:
            return 0x23;
        case SDLK_HOME:
            return 0x24;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_PRINTSCREEN:
            return 0x2C;
        case SDLK_INSERT:
            return 0x2D;
        case SDLK_DELETE:
            return 0x2E;
        default:
            return 0;
    }
}

WPARAM TranslateModifierKey(SDL_Keycode code)
{
    switch (code)
    {
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return 0x10;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return 0x11;
        case SDLK_LALT:
        case SDLK_RALT:
            return 0x12;
        case SDLK_LGUI:
            return 0x5B;
        case SDLK_RGUI:
            return 0x5C;
        case SDLK_APPLICATION:
            return 0x5D;
        case SDLK_NUMLOCKCLEAR:
            return 0x90;
        case SDLK_SCROLLLOCK:
            return 0x91;
        default:
            return 0;
    }
}

WPARAM TranslateFunctionOrKeypadKey(SDL_Keycode code)
{
    if (code >= SDLK_F1 && code <= SDLK_F12)
    {
        return kVirtualKeyF1 + static_cast<WPARAM>(code - SDLK_F1);
    }
    // SDL orders the keypad digits 1 to 9, then 0.
    if (code >= SDLK_KP_1 && code <= SDLK_KP_9)
    {
        return kVirtualKeyNumpad0 + 1 + static_cast<WPARAM>(code - SDLK_KP_1);
    }
    switch (code)
    {
        case SDLK_KP_0:
            return kVirtualKeyNumpad0;
        case SDLK_KP_MULTIPLY:
            return 0x6A;
        case SDLK_KP_PLUS:
            return 0x6B;
        case SDLK_KP_MINUS:
            return 0x6D;
        case SDLK_KP_PERIOD:
            return 0x6E;
        case SDLK_KP_DIVIDE:
            return 0x6F;
        default:
            return 0;
    }
}

}  // namespace

WPARAM TranslateKey(const SDL_Keysym& keysym)
{
    const SDL_Keycode code = keysym.sym;
    WPARAM virtualKey = TranslateCharacterKey(code);
    if (virtualKey == 0)
    {
        virtualKey = TranslateEditingKey(code);
    }
    if (virtualKey == 0)
    {
        virtualKey = TranslateModifierKey(code);
    }
    if (virtualKey == 0)
    {
        virtualKey = TranslateFunctionOrKeypadKey(code);
    }
    return virtualKey;
}

bool IsSystemKey(const SDL_Keysym& keysym, WPARAM virtualKey)
{
    const bool isAltHeld = (keysym.mod & KMOD_ALT) != 0 && (keysym.mod & KMOD_CTRL) == 0;
    return isAltHeld || virtualKey == kVirtualKeyF10;
}

LPARAM MakeKeyFlags(const SDL_KeyboardEvent& event)
{
    LPARAM flags = 1 | (static_cast<LPARAM>(event.keysym.scancode & 0xFF) << 16);
    if ((event.keysym.mod & KMOD_ALT) != 0)
    {
        flags |= LPARAM{1} << 29;
    }
    if (event.type == SDL_KEYUP)
    {
        flags |= LPARAM{3} << 30;
    }
    else if (event.repeat != 0)
    {
        flags |= LPARAM{1} << 30;
    }
    return flags;
}

}  // namespace qmImplementation::SdlLayer
