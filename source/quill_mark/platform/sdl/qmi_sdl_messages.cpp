// SPDX-License-Identifier: Zlib
// The message queue on SDL: each PeekMessageA first turns the SDL events waiting so far into
// window messages (without waiting for more), then hands out the next message. Events for
// windows that no longer exist are dropped, and so are the key releases SDL makes up when the
// focus moves: on Win32 a key let go while another window has the focus stays down.
#include <vector>

#include "quill_mark/platform/sdl/qmi_sdl_keys.h"
#include "quill_mark/platform/sdl/qmi_sdl_state.h"
#include "quill_mark/platform/sdl/qmi_x11_window_system.h"

namespace qmImplementation::SdlLayer
{

namespace
{

void TranslateWindowEvent(const SDL_WindowEvent& event)
{
    Window* window = FindWindowBySdlId(event.windowID);
    if (window == nullptr)
    {
        return;
    }
    MessageQueue& queue = GetState().queue;
    switch (event.event)
    {
        case SDL_WINDOWEVENT_CLOSE:
            queue.Post(State::HandleOf(*window), WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            queue.Post(State::HandleOf(*window), WM_ACTIVATE, WA_ACTIVE, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            queue.Post(State::HandleOf(*window), WM_ACTIVATE, WA_INACTIVE, 0);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            queue.Invalidate(State::HandleOf(*window));
            break;
        default:
            break;
    }
}

void TranslateKeyEvent(const SDL_KeyboardEvent& event)
{
    Window* window = FindWindowBySdlId(event.windowID);
    const WPARAM virtualKey = TranslateKey(event.keysym);
    if (window == nullptr || virtualKey == 0)
    {
        return;
    }
    const bool isDown = event.type == SDL_KEYDOWN;
    UINT message = isDown ? WM_KEYDOWN : WM_KEYUP;
    if (IsSystemKey(event.keysym, virtualKey))
    {
        message = isDown ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    }
    GetState().queue.Post(State::HandleOf(*window), message, virtualKey, MakeKeyFlags(event));
}

UINT ButtonMessage(Uint8 button, bool isDown)
{
    switch (button)
    {
        case SDL_BUTTON_LEFT:
            return isDown ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        case SDL_BUTTON_RIGHT:
            return isDown ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        case SDL_BUTTON_MIDDLE:
            return isDown ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        default:
            return 0;
    }
}

// lParam carries the client position, x in the low word and y in the next.
void TranslateButtonEvent(const SDL_MouseButtonEvent& event)
{
    Window* window = FindWindowBySdlId(event.windowID);
    const UINT message = ButtonMessage(event.button, event.type == SDL_MOUSEBUTTONDOWN);
    if (window == nullptr || message == 0)
    {
        return;
    }
    const LPARAM position =
        (static_cast<LPARAM>(event.x) & 0xFFFF) | ((static_cast<LPARAM>(event.y) & 0xFFFF) << 16);
    GetState().queue.Post(State::HandleOf(*window), message, 0, position);
}

// An event as polled, with what its window-system message was, read while that is still valid
// (SDL reuses its storage on the next poll).
struct PolledEvent
{
    SDL_Event event;
    bool isXKeyRelease;
};

// SDL releases every held key on its own whenever the keyboard focus moves, and on Win32 a key let
// go while another window has the focus stays down: only releases heard from the window system
// count. On X11 each of those comes right after the X key release it was made from (passed on
// first as SDL_SYSWMEVENT). Elsewhere the made-up ones are told by what follows them: the
// focus-lost event of the same window, stamped with the same moment.
bool IsMadeUpRelease(const std::vector<PolledEvent>& events, std::size_t keyUp, bool onX11)
{
    if (onX11)
    {
        return keyUp == 0 || !events[keyUp - 1].isXKeyRelease;
    }
    const SDL_KeyboardEvent& key = events[keyUp].event.key;
    for (std::size_t next = keyUp + 1; next < events.size(); ++next)
    {
        const SDL_Event& event = events[next].event;
        if (event.type == SDL_KEYUP && event.key.windowID == key.windowID &&
            event.key.timestamp == key.timestamp)
        {
            continue;
        }
        return event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_LOST &&
               event.window.windowID == key.windowID && event.window.timestamp == key.timestamp;
    }
    return false;
}

void TranslateEvent(const SDL_Event& event)
{
    switch (event.type)
    {
        case SDL_WINDOWEVENT:
            TranslateWindowEvent(event.window);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            TranslateKeyEvent(event.key);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            TranslateButtonEvent(event.button);
            break;
        default:
            break;
    }
}

// SDL's own quit event is not used: closing a window posts WM_CLOSE for that window.
void TranslatePendingEvents()
{
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
    {
        return;
    }
    // Gathered first, so a key-up can be judged by its neighbours; kept to reuse its storage.
    static std::vector<PolledEvent> events;
    events.clear();
    SDL_Event polled;
    while (SDL_PollEvent(&polled) != 0)
    {
        const bool isXKeyRelease =
            polled.type == SDL_SYSWMEVENT && X11WindowSystem::IsKeyRelease(polled.syswm.msg);
        events.push_back(PolledEvent{polled, isXKeyRelease});
    }
    const bool onX11 = SDL_strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0;
    for (std::size_t i = 0; i < events.size(); ++i)
    {
        const SDL_Event& event = events[i].event;
        if (event.type != SDL_KEYUP || !IsMadeUpRelease(events, i, onX11))
        {
            TranslateEvent(event);
        }
    }
}

}  // namespace

// The filters are not applied: the framework drains the whole queue of its thread, and removing
// is the only mode this platform offers.
BOOL PeekMessageA(LPMSG message, HWND /*window*/, UINT /*filterMin*/, UINT /*filterMax*/,
                  UINT /*remove*/)
{
    if (message == nullptr)
    {
        return 0;
    }
    TranslatePendingEvents();
    return GetState().queue.Retrieve(*message) ? 1 : 0;
}

// No character messages are made: nothing in the framework reads text input.
BOOL TranslateMessage(const MSG* /*message*/)
{
    return 0;
}

LRESULT DispatchMessageA(const MSG* message)
{
    return GetState().Dispatch(message);
}

// This platform has no dialog windows.
BOOL IsDialogMessageA(HWND /*dialog*/, LPMSG /*message*/)
{
    return 0;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (message == WM_CLOSE)
    {
        DestroyWindow(window);
    }
    else if (message == WM_PAINT)
    {
        GetState().queue.Validate(window);
    }
    return 0;
}

void PostQuitMessage(int exitCode)
{
    GetState().queue.PostQuit(exitCode);
}

}  // namespace qmImplementation::SdlLayer
