// SPDX-License-Identifier: Zlib
// The message queue on the page. The browser delivers the page's events while the program waits
// for the next frame; each is turned into a window message at once and waits in the queue for
// the next PeekMessageA. Keys are heard on the whole page, the mouse buttons on the canvas.
// When the page loses the focus the browser sends no key releases, and none are made up: a key
// let go meanwhile stays down, as it does on the desktop for a key let go in another window.
#include <emscripten/html5.h>

#include "quill_mark/platform/web/qmi_web_input.h"
#include "quill_mark/platform/web/qmi_web_page.h"
#include "quill_mark/platform/web/qmi_web_state.h"

namespace qmImplementation::WebLayer
{

namespace
{

// The window the page's input goes to: none while a message box has it.
Window* InputWindow()
{
    return GetState().isDialogOpen ? nullptr : CanvasWindow();
}

EM_BOOL OnKey(int eventType, const EmscriptenKeyboardEvent* event, void* /*userData*/)
{
    Window* window = InputWindow();
    const WPARAM virtualKey = TranslateKey(event->keyCode);
    if (window == nullptr || virtualKey == 0)
    {
        return EM_FALSE;
    }
    const KeyEvent key = {eventType == EMSCRIPTEN_EVENT_KEYDOWN, event->repeat != 0,
                          event->altKey != 0, event->ctrlKey != 0};
    GetState().queue.Post(State::HandleOf(*window), KeyMessage(key, virtualKey), virtualKey,
                          MakeKeyFlags(key));
    // The page must not scroll under the game; every other key keeps its meaning to the browser.
    return ScrollsThePage(virtualKey) ? EM_TRUE : EM_FALSE;
}

UINT ButtonMessage(unsigned short button, bool isDown)
{
    switch (button)
    {
        case 0:
            return isDown ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        case 1:
            return isDown ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        case 2:
            return isDown ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        default:
            return 0;
    }
}

// lParam carries the client position, x in the low word and y in the next.
EM_BOOL OnButton(int eventType, const EmscriptenMouseEvent* event, void* /*userData*/)
{
    Window* window = InputWindow();
    const UINT message = ButtonMessage(event->button, eventType == EMSCRIPTEN_EVENT_MOUSEDOWN);
    if (window == nullptr || message == 0)
    {
        return EM_FALSE;
    }
    const POINT client =
        ClientFromViewport(static_cast<double>(event->clientX), static_cast<double>(event->clientY),
                           Page::MeasureCanvas());
    const LPARAM position =
        (static_cast<LPARAM>(client.x) & 0xFFFF) | ((static_cast<LPARAM>(client.y) & 0xFFFF) << 16);
    GetState().queue.Post(State::HandleOf(*window), message, 0, position);
    return EM_FALSE;
}

// Heard on the whole document, so the cursor keeps being followed when it leaves the canvas.
EM_BOOL OnMouseMove(int /*eventType*/, const EmscriptenMouseEvent* event, void* /*userData*/)
{
    State& state = GetState();
    state.cursorX = static_cast<double>(event->clientX);
    state.cursorY = static_cast<double>(event->clientY);
    return EM_FALSE;
}

EM_BOOL OnFocus(int eventType, const EmscriptenFocusEvent* /*event*/, void* /*userData*/)
{
    Window* window = CanvasWindow();
    if (window != nullptr)
    {
        const WPARAM state = eventType == EMSCRIPTEN_EVENT_FOCUS ? WA_ACTIVE : WA_INACTIVE;
        GetState().queue.Post(State::HandleOf(*window), WM_ACTIVATE, state, 0);
    }
    return EM_FALSE;
}

}  // namespace

void ListenToPage()
{
    State& state = GetState();
    if (state.isListening)
    {
        return;
    }
    state.isListening = true;
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(window, nullptr, EM_TRUE, OnKey);
    emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE,
                                      OnMouseMove);
    emscripten_set_mousedown_callback("#canvas", nullptr, EM_TRUE, OnButton);
    emscripten_set_mouseup_callback("#canvas", nullptr, EM_TRUE, OnButton);
    emscripten_set_focus_callback(window, nullptr, EM_TRUE, OnFocus);
    emscripten_set_blur_callback(window, nullptr, EM_TRUE, OnFocus);
}

// The filters are not applied: the framework drains the whole queue of its thread, and removing
// is the only mode this platform offers.
BOOL PeekMessageA(LPMSG message, HWND /*window*/, UINT /*filterMin*/, UINT /*filterMax*/,
                  UINT /*remove*/)
{
    if (message == nullptr)
    {
        return 0;
    }
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

// This platform has no dialog windows of the framework's.
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

}  // namespace qmImplementation::WebLayer
