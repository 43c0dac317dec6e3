// Xvfb is asked to choose its own display number (-displayfd), which avoids races between tests
// that start servers at the same time. Captions are read from _NET_WM_NAME (UTF-8) first and from
// WM_NAME otherwise.
#include "e2e/private_display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace QuillmarkTest
{

namespace
{

// Reads the display number Xvfb writes to the pipe once it accepts connections.
std::string ReadDisplayNumber(int readEnd, double seconds)
{
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline)
    {
        pollfd descriptor{readEnd, POLLIN, 0};
        if (poll(&descriptor, 1, 100) <= 0)
        {
            continue;
        }
        char byte = 0;
        if (read(readEnd, &byte, 1) != 1)
        {
            break;
        }
        if (byte == '\n')
        {
            return number;
        }
        number += byte;
    }
    return "";
}

void CollectWindows(Display* display, Window window, std::vector<Window>& windows)
{
    windows.push_back(window);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0)
    {
        return;
    }
    for (unsigned int i = 0; i < count; ++i)
    {
        CollectWindows(display, children[i], windows);
    }
    if (children != nullptr)
    {
        XFree(children);
    }
}

int IgnoreErrors(Display*, XErrorEvent*)
{
    // Windows come and go while the tree is walked (error boxes closing); such races are not
    // failures of the test.
    return 0;
}

}  // namespace

PrivateDisplay::PrivateDisplay()
{
    int pipeEnds[2] = {-1, -1};
    if (pipe(pipeEnds) != 0)
    {
        mError = "pipe failed";
        return;
    }
    // The write end is inherited by Xvfb under a fixed number; the read end is not.
    fcntl(pipeEnds[0], F_SETFD, FD_CLOEXEC);
    const int inherited = 9;
    dup2(pipeEnds[1], inherited);
    close(pipeEnds[1]);
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0)
    {
        execlp("Xvfb", "Xvfb", "-displayfd", "9", "-screen", "0", "1920x1080x24", "-nolisten",
               "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(inherited);
    mServer = std::make_unique<ChildProcess>(pid);
    const std::string number = ReadDisplayNumber(pipeEnds[0], 20.0);
    close(pipeEnds[0]);
    if (number.empty())
    {
        mError = "Xvfb did not report a display number";
        return;
    }
    const std::string name = ":" + number;
    setenv("DISPLAY", name.c_str(), 1);
    XSetErrorHandler(IgnoreErrors);
    mDisplay = XOpenDisplay(name.c_str());
    if (mDisplay == nullptr)
    {
        mError = "could not open display " + name;
    }
}

PrivateDisplay::~PrivateDisplay()
{
    if (mDisplay != nullptr)
    {
        XCloseDisplay(mDisplay);
    }
    // Destroying the ChildProcess kills and reaps the server.
}

std::string PrivateDisplay::CaptionOf(unsigned long window)
{
    std::string caption;
    const Atom netName = XInternAtom(mDisplay, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(mDisplay, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(mDisplay, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &remaining, &data) == Success &&
        data != nullptr)
    {
        caption.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        return caption;
    }
    char* name = nullptr;
    if (XFetchName(mDisplay, window, &name) != 0 && name != nullptr)
    {
        caption = name;
        XFree(name);
    }
    return caption;
}

std::vector<unsigned long> PrivateDisplay::FindWindows(const std::string& caption)
{
    std::vector<Window> windows;
    CollectWindows(mDisplay, DefaultRootWindow(mDisplay), windows);
    std::vector<unsigned long> found;
    for (Window window : windows)
    {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(mDisplay, window, &attributes) == 0 ||
            attributes.map_state != IsViewable)
        {
            continue;
        }
        if (CaptionOf(window) == caption)
        {
            found.push_back(window);
        }
    }
    return found;
}

unsigned long PrivateDisplay::WaitForWindow(const std::string& caption, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline)
    {
        const std::vector<unsigned long> windows = FindWindows(caption);
        if (!windows.empty())
        {
            return windows.front();
        }
        SleepSeconds(0.05);
    }
    return 0;
}

bool PrivateDisplay::GeometryOf(unsigned long window, WindowGeometry& geometry)
{
    XWindowAttributes attributes;
    if (XGetWindowAttributes(mDisplay, window, &attributes) == 0)
    {
        return false;
    }
    Window child = 0;
    XTranslateCoordinates(mDisplay, window, DefaultRootWindow(mDisplay), 0, 0, &geometry.rootX,
                          &geometry.rootY, &child);
    geometry.width = attributes.width;
    geometry.height = attributes.height;
    return true;
}

bool PrivateDisplay::Capture(unsigned long window, WindowImage& image)
{
    WindowGeometry geometry;
    if (!GeometryOf(window, geometry))
    {
        return false;
    }
    XImage* captured = XGetImage(mDisplay, window, 0, 0, static_cast<unsigned int>(geometry.width),
                                 static_cast<unsigned int>(geometry.height), AllPlanes, ZPixmap);
    if (captured == nullptr)
    {
        return false;
    }
    image.width = geometry.width;
    image.height = geometry.height;
    image.pixels.resize(static_cast<std::size_t>(geometry.width * geometry.height));
    for (int y = 0; y < geometry.height; ++y)
    {
        for (int x = 0; x < geometry.width; ++x)
        {
            // Xvfb's 24-bit visual: 0x00RRGGBB.
            const unsigned long value = XGetPixel(captured, x, y);
            Pixel& pixel = image.pixels[static_cast<std::size_t>(y * geometry.width + x)];
            pixel.red = static_cast<std::uint8_t>((value >> 16) & 0xFF);
            pixel.green = static_cast<std::uint8_t>((value >> 8) & 0xFF);
            pixel.blue = static_cast<std::uint8_t>(value & 0xFF);
        }
    }
    XDestroyImage(captured);
    return true;
}

}  // namespace QuillmarkTest
