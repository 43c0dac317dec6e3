// SPDX-License-Identifier: Zlib
// The handles the layers without system handles hand out, kept in one place: windows with their
// device contexts, OpenGL contexts, chosen pixel formats, window classes, the message queue, and
// the module with its two system resources. Each layer defines its window record with what its
// windows need; a handle is the address of a record, found again only by comparison.
#pragma once

#include <deque>

#include "quill_mark/platform/implementation/qmi_message_queue.h"
#include "quill_mark/platform/implementation/qmi_window_class_table.h"
#include "quill_mark/platform/qmi_seam.h"

namespace qmImplementation
{

// A window's device context is part of the window, so it lives exactly as long as the handle.
template <typename Window>
struct DeviceContextRecord
{
    Window* window;
};

template <typename Window>
struct GlContextRecord
{
    Window* window;
    bool deleted;
    // The layer's own context object, if it has one.
    void* native;
};

// What every window carries, whichever layer made it; a layer's window record derives from it.
struct WindowRecord
{
    qmSeam::WNDPROC procedure = nullptr;
    int pixelFormat = 0;
    bool destroying = false;
    bool destroyed = false;
};

// Windows and contexts stay in the tables until ClearHandles, so a stale handle still names
// memory of ours; a handle is looked up here before any use, never trusted.
template <typename Window>
struct HandleTables
{
    using DeviceContext = DeviceContextRecord<Window>;
    using GlContext = GlContextRecord<Window>;

    std::deque<Window> windows;
    std::deque<GlContext> contexts;
    GlContext* currentContext = nullptr;
    std::deque<qmSeam::PIXELFORMATDESCRIPTOR> chosenFormats;
    WindowClassTable classes;
    MessageQueue queue;

    static qmSeam::HWND HandleOf(Window& window) { return reinterpret_cast<qmSeam::HWND>(&window); }
    static qmSeam::HDC HandleOf(DeviceContext& deviceContext)
    {
        return reinterpret_cast<qmSeam::HDC>(&deviceContext);
    }
    static qmSeam::HGLRC HandleOf(GlContext* context)
    {
        return reinterpret_cast<qmSeam::HGLRC>(context);
    }

    // The window the handle names, live or destroyed; null for anything else.
    Window* FindWindow(qmSeam::HWND window)
    {
        for (Window& candidate : windows)
        {
            if (HandleOf(candidate) == window)
            {
                return &candidate;
            }
        }
        return nullptr;
    }

    Window* FindLiveWindow(qmSeam::HWND window)
    {
        Window* found = FindWindow(window);
        return found != nullptr && !found->destroyed ? found : nullptr;
    }

    // The window of a device context of ours (live or destroyed); null for anything else.
    Window* FindDeviceContextWindow(qmSeam::HDC deviceContext)
    {
        for (Window& candidate : windows)
        {
            if (HandleOf(candidate.deviceContext) == deviceContext)
            {
                return &candidate;
            }
        }
        return nullptr;
    }

    Window* FindLiveDeviceContextWindow(qmSeam::HDC deviceContext)
    {
        Window* owner = FindDeviceContextWindow(deviceContext);
        return owner != nullptr && !owner->destroyed ? owner : nullptr;
    }

    // The first live window, for layers that have one place to show it; null when there is none.
    Window* FirstLiveWindow()
    {
        for (Window& candidate : windows)
        {
            if (!candidate.destroyed)
            {
                return &candidate;
            }
        }
        return nullptr;
    }

    // ChoosePixelFormat for layers that keep every request as its own format: the formats are
    // numbered from 1 in the order asked for; 0 for a device context that is not live.
    int ChooseFormat(qmSeam::HDC deviceContext, const qmSeam::PIXELFORMATDESCRIPTOR* descriptor)
    {
        if (FindLiveDeviceContextWindow(deviceContext) == nullptr || descriptor == nullptr)
        {
            return 0;
        }
        chosenFormats.push_back(*descriptor);
        return static_cast<int>(chosenFormats.size());
    }

    // What SetPixelFormat may give the owner: a format ChooseFormat handed out, once per window;
    // null when the window has one already or the number is none of ours.
    const qmSeam::PIXELFORMATDESCRIPTOR* FormatToSet(const Window* owner, int format) const
    {
        if (owner == nullptr || owner->pixelFormat != 0 || format < 1 ||
            format > static_cast<int>(chosenFormats.size()))
        {
            return nullptr;
        }
        return &chosenFormats[static_cast<std::size_t>(format - 1)];
    }

    GlContext* FindContext(qmSeam::HGLRC context)
    {
        for (GlContext& candidate : contexts)
        {
            if (HandleOf(&candidate) == context)
            {
                return &candidate;
            }
        }
        return nullptr;
    }

    // Sends a message to the window's procedure directly, as Win32 sends messages.
    static qmSeam::LRESULT Send(Window& window, qmSeam::UINT message, qmSeam::WPARAM wParam,
                                qmSeam::LPARAM lParam)
    {
        return window.procedure(HandleOf(window), message, wParam, lParam);
    }

    // DispatchMessageA for layers whose queue is the shared one: a message for a window that is
    // gone is dropped.
    qmSeam::LRESULT Dispatch(const qmSeam::MSG* message)
    {
        Window* live = message != nullptr ? FindLiveWindow(message->hwnd) : nullptr;
        return live != nullptr ? Send(*live, message->message, message->wParam, message->lParam)
                               : 0;
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
qmSeam::HMODULE ModuleHandle(qmSeam::LPCSTR moduleName);
qmSeam::HICON SystemIcon(qmSeam::HINSTANCE instance, qmSeam::LPCSTR iconName);
qmSeam::HCURSOR SystemCursor(qmSeam::HINSTANCE instance, qmSeam::LPCSTR cursorName);

}  // namespace qmImplementation
