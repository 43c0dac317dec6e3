// End-to-end support: a private Xvfb server per test (so the pointer, the keyboard focus and the
// window names of one test never meet another's), and the few Xlib queries the tests make from
// the outside: finding a window by its caption, its client size and position, and its pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "e2e/child_process.h"

typedef struct _XDisplay Display;

namespace QuillmarkTest
{

struct Pixel
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

struct WindowImage
{
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;  // rows from the top down
    Pixel At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

struct WindowGeometry
{
    int rootX = 0;  // top-left corner of the client area on the screen
    int rootY = 0;
    int width = 0;
    int height = 0;
};

class PrivateDisplay
{
public:
    // Starts Xvfb on a free display number and points DISPLAY of this process (and so of every
    // child and xdotool call) at it.
    PrivateDisplay();
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    bool IsOpen() const { return mDisplay != nullptr; }
    const std::string& Error() const { return mError; }

    // Viewable windows anywhere in the tree whose caption is exactly the name.
    std::vector<unsigned long> FindWindows(const std::string& caption);
    // Polls until a window with the caption exists; 0 when none appeared within the deadline.
    unsigned long WaitForWindow(const std::string& caption, double seconds);
    std::string CaptionOf(unsigned long window);
    bool GeometryOf(unsigned long window, WindowGeometry& geometry);
    bool Capture(unsigned long window, WindowImage& image);

private:
    std::unique_ptr<ChildProcess> mServer;
    Display* mDisplay = nullptr;
    std::string mError;
};

}  // namespace QuillmarkTest
