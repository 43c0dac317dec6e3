// SPDX-License-Identifier: Zlib
// Test support: the desktop seen and acted on from outside, as a user or window manager would;
// external tools run with a time limit, so a missing window or stuck tool fails instead of hanging.
#pragma once

#include <string>
#include <vector>

namespace QuillmarkTest
{

// Runs a shell command, killed after 10 seconds.
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

DesktopWindow FindWindowNamed(const std::string& name);
// Every named window's name, for failure messages.
std::string ListWindowNames();

// The screen's pixels (0xRRGGBB) inside the window's rectangle, rows from the top down.
std::vector<unsigned long> CaptureWindow(const DesktopWindow& window);

}  // namespace QuillmarkTest
