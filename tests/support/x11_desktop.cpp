// The desktop helpers. Window lookup parses xwininfo's tree listing; closing sends the
// WM_DELETE_WINDOW client message through a connection of its own, so it can run on a helper
// thread while the program under test keeps its own connection busy.
#include "support/x11_desktop.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace QuillmarkTest
{

std::string RunDesktopCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(("timeout 10 " + command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr)
    {
        return output;
    }
    char buffer[512];
    while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr)
    {
        output += buffer;
    }
    pclose(pipe);
    return output;
}

namespace
{

// "+50", "-3" or "+-3" (how the tree listing writes a negative offset).
long ParseOffset(const char*& text)
{
    if (*text == '+')
    {
        ++text;
    }
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    text = end;
    return value;
}

// One line of the tree listing, e.g.
//      0x200006 "Quillmark Project": ("app" "app")  1280x720+50+50  +50+50
// where the last field is the absolute position.
bool ParseTreeLine(const std::string& line, std::string& name, DesktopWindow& window)
{
    const std::size_t nameStart = line.find('"');
    const std::size_t nameEnd = line.find("\":", nameStart + 1);
    std::istringstream fields(line);
    std::string id;
    fields >> id;
    if (nameStart == std::string::npos || nameEnd == std::string::npos || id.rfind("0x", 0) != 0)
    {
        return false;
    }
    std::istringstream tail(line.substr(nameEnd + 2));
    std::string field;
    std::string size;
    std::string position;
    while (tail >> field)
    {
        size = position;
        position = field;
    }
    int width = 0;
    int height = 0;
    if (std::sscanf(size.c_str(), "%dx%d", &width, &height) != 2 || position.empty())
    {
        return false;
    }
    const char* offsets = position.c_str();
    window.x = static_cast<int>(ParseOffset(offsets));
    window.y = static_cast<int>(ParseOffset(offsets));
    window.width = width;
    window.height = height;
    window.id = std::stoul(id, nullptr, 16);
    name = line.substr(nameStart + 1, nameEnd - nameStart - 1);
    return true;
}

}  // namespace

DesktopWindow FindTopLevelWindow(const std::string& name)
{
    std::istringstream listing(RunDesktopCommand("xwininfo -root -tree"));
    std::string line;
    while (std::getline(listing, line))
    {
        DesktopWindow window;
        std::string windowName;
        if (ParseTreeLine(line, windowName, window) && windowName == name)
        {
            window.found = true;
            return window;
        }
    }
    return DesktopWindow{};
}

bool RequestWindowClose(unsigned long windowId)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
    {
        return false;
    }
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
