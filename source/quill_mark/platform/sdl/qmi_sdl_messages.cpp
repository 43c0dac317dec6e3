// The message queue on SDL: each PeekMessageA first turns the SDL events waiting so far into
// window messages (without waiting for more), then hands out the next message. Events for
// windows that no longer exist are dropped, and so are the key releases SDL makes up when the
// window loses the focus: on Win32 a key let go while another window has the focus stays down.
#include <vector>

#include "quill_mark/platform/sdl/qmi_sdl_keys.h"
#include "quill_mark/platform/sdl/qmi_sdl_state.h"

using namespace qmImplementation::SdlPlatform;

namespace
{

void TranslateWindowEvent(const SDL_WindowEvent& event)
{
    HWND__* window = FindWindowBySdlId(event.windowID);
    if (window == nullptr)
    {
        return;
    }
    qmImplementation::MessageQueue& queue = GetState().queue;
    switch (event.event)
    {
        case SDL_WINDOWEVENT_CLOSE:
            queue.Post(window, WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            queue.Post(window, WM_ACTIVATE, WA_ACTIVE, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            queue.Post(window, WM_ACTIVATE, WA_INACTIVE, 0);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            queue.Invalidate(window);
            break;
        default:
            break;
    }
}

void TranslateKeyEvent(const SDL_KeyboardEvent& event)
{
    HWND__* window = FindWindowBySdlId(event.windowID);
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
    GetState().queue.Post(window, message, virtualKey, MakeKeyFlags(event));
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
    HWND__* window = FindWindowBySdlId(event.windowID);
    const UINT message = ButtonMessage(event.button, event.type == SDL_MOUSEBUTTONDOWN);
    if (window == nullptr || message == 0)
    {
        return;
    }
    const LPARAM position =
        (static_cast<LPARAM>(event.x) & 0xFFFF) | ((static_cast<LPARAM>(event.y) & 0xFFFF) << 16);
    GetState().queue.Post(window, message, 0, position);
}

// When SDL loses the keyboard focus it releases every held key: the key-ups come right before
// the focus-lost event of the same window, stamped with the same moment.
bool IsReleasedByFocusLoss(const std::vector<SDL_Event>& events, std::size_t keyUp)
{
    const SDL_KeyboardEvent& key = events[keyUp].key;
    for (std::size_t next = keyUp + 1; next < events.size(); ++next)
    {
        const SDL_Event& event = events[next];
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

// SDL's own quit event is not used: closing a window posts WM_CLOSE for that window.
void TranslatePendingEvents()
{
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
    {
        return;
    }
    // Gathered first, so a key-up can be judged by what follows it; kept to reuse its storage.
    static std::vector<SDL_Event> events;
    events.clear();
    SDL_Event polled;
    while (SDL_PollEvent(&polled) != 0)
    {
        events.push_back(polled);
    }
    for (std::size_t i = 0; i < events.size(); ++i)
    {
        const SDL_Event& event = events[i];
        if (event.type == SDL_KEYUP && IsReleasedByFocusLoss(events, i))
        {
            continue;
        }
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
}

}  // namespace

// The filters are not applied: the framework drains the whole queue of its thread, and removing
// is the only mode this platform offers.
BOOL WINAPI PeekMessageA(LPMSG message, HWND /*window*/, UINT /*filterMin*/, UINT /*filterMax*/,
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
BOOL WINAPI TranslateMessage(const MSG* /*message*/)
{
    return 0;
}

LRESULT WINAPI DispatchMessageA(const MSG* message)
{
    HWND__* live = message != nullptr ? FindLiveWindow(message->hwnd) : nullptr;
    if (live == nullptr)
    {
        return 0;
    }
    return SendToWindow(*live, message->message, message->wParam, message->lParam);
}

// This platform has no dialog windows.
BOOL WINAPI IsDialogMessageA(HWND /*dialog*/, LPMSG /*message*/)
{
    return 0;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/)
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

void WINAPI PostQuitMessage(int exitCode)
{
    GetState().queue.PostQuit(exitCode);
}
