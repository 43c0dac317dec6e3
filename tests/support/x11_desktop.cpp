// The desktop helpers. Window lookup walks the X server's window tree (a window manager puts the
// program's window inside a frame of its own); closing sends the WM_DELETE_WINDOW client message.
// Both use a connection of their own, so they can run on a helper thread while the program under
// test keeps its own connection busy.
#include "support/x11_desktop.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>

namespace QuillmarkTest
{

std::string RunDesktopCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(("timeout 10 " + command + " 2>/dev/null").c_str(), "r");
    char buffer[512];
    while (pipe != nullptr && std::fgets(buffer, sizeof(buffer), pipe) != nullptr)
        output += buffer;
    if (pipe != nullptr)
        pclose(pipe);
    return output;
}

namespace
{

// Windows come and go while the tree is walked; an error about one that just went is no failure.
int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

// Depth first, the topmost child first.
bool FindIn(Display* display, Window window, const std::string& name, DesktopWindow& found)
{
    // The name's bytes, whatever their encoding: the titles looked for are plain ASCII.
    XTextProperty title = {};
    XWindowAttributes attributes = {};
    Window child = 0, root = 0, parent = 0, *children = nullptr;
    if (XGetWMName(display, window, &title) != 0 && title.value != nullptr)
    {
        const bool match = name == reinterpret_cast<const char*>(title.value);
        XFree(title.value);
        if (match && XGetWindowAttributes(display, window, &attributes) != 0 &&
            XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &found.x,
                                  &found.y, &child) != 0)
        {
            found = {true, window, found.x, found.y, attributes.width, attributes.height};
            return true;
        }
    }
    unsigned int count = 0;
    bool hit = false;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0)
        for (unsigned int i = count; i > 0 && !hit; --i)
            hit = FindIn(display, children[i - 1], name, found);
    if (children != nullptr)
        XFree(children);
    return hit;
}

}  // namespace

DesktopWindow FindTopLevelWindow(const std::string& name)
{
    DesktopWindow found;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return found;
    const auto previous = XSetErrorHandler(IgnoreErrors);
    if (!FindIn(display, DefaultRootWindow(display), name, found))
        found = DesktopWindow{};
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return found;
}

bool RequestWindowClose(unsigned long windowId)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = windowId;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, windowId, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent != 0;
}

}  // namespace QuillmarkTest
