// The handles both platform layers hand out, kept in one place: windows with their device
// contexts, OpenGL contexts, chosen pixel formats, window classes, the message queue, and the
// module with its two system resources. Each layer defines HWND__ with what its windows need.
#pragma once

#include <deque>

#include "quill_mark/platform/implementation/qmi_message_queue.h"
#include "quill_mark/platform/implementation/qmi_window_class_table.h"
#include "quill_mark/platform/qm_platform.h"

// A window's device context is part of the window, so it lives exactly as long as the handle.
struct HDC__
{
    HWND__* window;
};

struct HGLRC__
{
    HWND__* window;
    bool deleted;
    // The layer's own context object, if it has one.
    void* native;
};

struct HINSTANCE__
{
    int unused;
};

struct HICON__
{
    int unused;
};

namespace qmImplementation
{

// What every window carries, whichever layer made it; a layer's HWND__ derives from it.
struct WindowRecord
{
    WNDPROC procedure = nullptr;
    int pixelFormat = 0;
    bool destroying = false;
    bool destroyed = false;
};

// Windows and contexts stay in the tables until Clear, so a stale handle still points at memory
// of ours; a handle is looked up here before any use, never trusted. Window is the layer's
// HWND__, complete only where a layer's state is defined.
template <typename Window>
struct HandleTables
{
    std::deque<Window> windows;
    std::deque<HGLRC__> contexts;
    HGLRC currentContext = nullptr;
    std::deque<PIXELFORMATDESCRIPTOR> chosenFormats;
    WindowClassTable classes;
    MessageQueue queue;

    // The window the handle names if it is one of ours and not destroyed; null otherwise.
    Window* FindLiveWindow(HWND window)
    {
        for (Window& candidate : windows)
        {
            if (&candidate == window)
            {
                return candidate.destroyed ? nullptr : &candidate;
            }
        }
        return nullptr;
    }

    // The window of a device context of ours (live or destroyed); null for anything else.
    Window* FindDeviceContextWindow(HDC deviceContext)
    {
        for (Window& candidate : windows)
        {
            if (&candidate.deviceContext == deviceContext)
            {
                return &candidate;
            }
        }
        return nullptr;
    }

    HGLRC__* FindContext(HGLRC context)
    {
        for (HGLRC__& candidate : contexts)
        {
            if (&candidate == context)
            {
                return &candidate;
            }
        }
        return nullptr;
    }

    void ClearHandles()
    {
        windows.clear();
        contexts.clear();
        currentContext = nullptr;
        chosenFormats.clear();
        classes.Clear();
        queue.Clear();
    }
};

// The running program is the only module; the application icon and the arrow cursor are the
// only resources. Each gives null for any other request, as a failed lookup does.
HMODULE ModuleHandle(LPCSTR moduleName);
HICON SystemIcon(HINSTANCE instance, LPCSTR iconName);
HCURSOR SystemCursor(HINSTANCE instance, LPCSTR cursorName);

}  // namespace qmImplementation
