// Test support: looking at and acting on the desktop from outside the program under test, as a
// user or a window manager would. Lookups ask the X server directly; the external tools run with
// a time limit, so a missing window or a stuck tool fails a test instead of hanging it.
#pragma once

#include <string>
#include <vector>

namespace QuillmarkTest
{

// Runs a shell command (killed after 10 seconds); true when it succeeded.
bool RunDesktopCommand(const std::string& command);

struct DesktopWindow
{
    bool found = false;
    unsigned long id = 0;
    int x = 0;  // absolute screen position of the window's top-left corner
    int y = 0;
    int width = 0;
    int height = 0;
    // The outermost window holding it (the window manager's frame, or the window itself).
    int frameX = 0;
    int frameY = 0;
};

// The first window anywhere in the tree with exactly this name.
DesktopWindow FindWindowNamed(const std::string& name);
// The names of every named window, for a failure message that shows what was there instead.
std::string ListWindowNames();

// The screen's pixels (0xRRGGBB) inside the window's rectangle, rows from the top down.
std::vector<unsigned long> CaptureWindow(const DesktopWindow& window);

}  // namespace QuillmarkTest
