// SPDX-License-Identifier: Zlib
// Desktop helpers, each on a connection of its own so the program under test keeps its own: windows
// found by walking the tree, pixels read back from the root window.
#include "support/x11_desktop.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <vector>

namespace QuillmarkTest
{

namespace
{

// A request about a window gone while the tree is walked (a message box) fails: no reason to
// end the test process, as Xlib's own handler would.
int IgnoreError(Display* /*display*/, XErrorEvent* /*error*/)
{
    return 0;
}

Display* OpenDisplay()
{
    XSetErrorHandler(IgnoreError);
    return XOpenDisplay(nullptr);
}

std::string NameOf(Display* display, Window window)
{
    XTextProperty windowName = {};
    std::string name;
    if (XGetWMName(display, window, &windowName) != 0 && windowName.value != nullptr)
        name.assign(reinterpret_cast<const char*>(windowName.value), windowName.nitems);
    XFree(windowName.value);
    return name;
}

// The window's children, and its parent (0 at the top, or when the window is gone).
std::vector<Window> Children(Display* display, Window window, Window* parent = nullptr)
{
    Window root = 0, up = 0, *children = nullptr;
    unsigned int count = 0;
    std::vector<Window> list;
    if (XQueryTree(display, window, &root, &up, &children, &count) != 0)
    {
        list.assign(children, children + count);
        XFree(children);
    }
    if (parent != nullptr)
        *parent = up == root ? 0 : up;
    return list;
}

// Depth-first: the client window sits inside the window manager's frame when there is one. With
// an empty name every named window is listed in `names` and none is found.
Window FindNamed(Display* display, Window window, const std::string& name, std::string& names)
{
    // Any encoding: SDL's message boxes name themselves in UTF-8, which XFetchName skips.
    const std::string windowName = NameOf(display, window);
    if (!name.empty() && windowName == name)
        return window;
    if (!windowName.empty())
        names += "\"" + windowName + "\" ";
    for (const Window child : Children(display, window))
        if (const Window found = FindNamed(display, child, name, names); found != 0)
            return found;
    return 0;
}

Window OutermostAncestor(Display* display, Window window)
{
    for (Window parent = 0; Children(display, window, &parent), parent != 0;)
        window = parent;
    return window;
}

void Place(Display* display, Window window, int& x, int& y)
{
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
}

}  // namespace

bool RunDesktopCommand(const std::string& command)
{
    return std::system(("timeout 10 " + command + " >/dev/null 2>&1").c_str()) == 0;
}

DesktopWindow FindWindowNamed(const std::string& name)
{
    DesktopWindow result;
    Display* display = OpenDisplay();
    if (display == nullptr)
        return result;
    std::string names;
    const Window window = FindNamed(display, DefaultRootWindow(display), name, names);
    XWindowAttributes attributes = {};
    if (window != 0 && XGetWindowAttributes(display, window, &attributes) != 0)
    {
        result.found = true;
        result.id = window;
        result.width = attributes.width;
        result.height = attributes.height;
        Place(display, window, result.x, result.y);
        Place(display, OutermostAncestor(display, window), result.frameX, result.frameY);
    }
    XCloseDisplay(display);
    return result;
}

std::string ListWindowNames()
{
    std::string names;
    if (Display* display = OpenDisplay())
    {
        FindNamed(display, DefaultRootWindow(display), "", names);
        XCloseDisplay(display);
    }
    return names;
}

std::vector<unsigned long> CaptureWindow(const DesktopWindow& window)
{
    std::vector<unsigned long> pixels;
    Display* display = OpenDisplay();
    if (display == nullptr)
        return pixels;
    XImage* image = XGetImage(display, DefaultRootWindow(display), window.x, window.y,
                              static_cast<unsigned>(window.width),
                              static_cast<unsigned>(window.height), AllPlanes, ZPixmap);
    for (int y = 0; image != nullptr && y < window.height; ++y)
    {
        for (int x = 0; x < window.width; ++x)
            pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFFu);
    }
    if (image != nullptr)
        XDestroyImage(image);
    XCloseDisplay(display);
    return pixels;
}

}  // namespace QuillmarkTest
