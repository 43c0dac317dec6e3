// Test support: looking at and acting on the desktop from outside the program under test, as a
// user or a window manager would. Every external command runs with a time limit, so a missing
// window or a stuck tool fails a test instead of hanging it.
#pragma once

#include <string>

namespace QuillmarkTest
{

// Runs a shell command (killed after 10 seconds) and returns what it printed.
std::string RunDesktopCommand(const std::string& command);

struct DesktopWindow
{
    bool found = false;
    unsigned long id = 0;
    int x = 0, y = 0;  // absolute screen position of the window's top-left corner
    int width = 0, height = 0;
};

// The first window with exactly this name, the topmost first, wherever it is in the tree.
DesktopWindow FindTopLevelWindow(const std::string& name);

// Asks the window to close the way a window manager's close button does (WM_DELETE_WINDOW).
bool RequestWindowClose(unsigned long windowId);

}  // namespace QuillmarkTest
