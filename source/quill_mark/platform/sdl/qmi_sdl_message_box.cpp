// SPDX-License-Identifier: Zlib
// MessageBoxA as a modal SDL message box over the owner window, with the platform's own button
// captions: "OK" alone, or "OK" and "Cancel". Return answers OK, Escape cancels (or answers OK
// when there is nothing else); closing the box counts as Escape. When no box can be shown (no
// display, no fonts on the X server) the answer is 0 and SDL's reason goes to standard error once.
#include <cstdio>

#include "quill_mark/platform/sdl/qmi_sdl_state.h"

namespace qmImplementation::SdlLayer
{

namespace
{

constexpr UINT kButtonsMask = 0x0F;

void ExplainMissingBox()
{
    static bool explained = false;
    if (!explained)
    {
        explained = true;
        std::fprintf(stderr, "Quillmark: a message box could not be shown: %s\n", SDL_GetError());
    }
}

}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    const bool hasCancel = (type & kButtonsMask) == MB_OKCANCEL;
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT |
             (hasCancel ? 0u : static_cast<Uint32>(SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT)),
         IDOK, "OK"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"},
    };
    Window* ownerWindow = GetState().FindLiveWindow(owner);
    SDL_MessageBoxData box = {};
    box.flags = SDL_MESSAGEBOX_INFORMATION | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.window = ownerWindow != nullptr ? ownerWindow->sdlWindow : nullptr;
    // A missing caption reads "Error", as Win32 shows it.
    box.title = caption != nullptr ? caption : "Error";
    box.message = text != nullptr ? text : "";
    box.numbuttons = hasCancel ? 2 : 1;
    box.buttons = buttons;

    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0)
    {
        ExplainMissingBox();
        return 0;
    }
    if (pressed < 0)
    {
        return hasCancel ? IDCANCEL : IDOK;
    }
    return pressed;
}

}  // namespace qmImplementation::SdlLayer
