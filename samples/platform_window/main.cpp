// SPDX-License-Identifier: Zlib
// Try the platform layer on its own: opens the framework's window, runs the message loop and
// prints what the input state sees (cursor moves and key releases) until the window is closed
// or Escape is released. No game, no drawing beyond clearing the window.
#include <GL/gl.h>

#include <cstdint>
#include <cstdio>

#include "quill_mark/application/qm_input_state.h"
#include "quill_mark/application/qm_realtime_application.h"
#include "quill_mark/session/qm_session.h"

namespace
{

using namespace Quillmark::Application;

const char* KeyName(int key)
{
    static const char* const kNames[kKeyCount] = {
        "0",    "1",    "2",     "3",          "4",           "5",           "6",     "7",
        "8",    "9",    "A",     "B",          "C",           "D",           "E",     "F",
        "G",    "H",    "I",     "J",          "K",           "L",           "M",     "N",
        "O",    "P",    "Q",     "R",          "S",           "T",           "U",     "V",
        "W",    "X",    "Y",     "Z",          "Space",       "Escape",      "Enter", "Up",
        "Down", "Left", "Right", "Left mouse", "Right mouse", "Middle mouse"};
    return kNames[key];
}

class SampleHandler : public ApplicationHandlerInterface
{
public:
    explicit SampleHandler(RealtimeApplication*& application) : application(application) {}

    void OnOpen() override { std::printf("Window open. Release Escape or close it to end.\n"); }
    void OnClose() override { std::printf("Window closed.\n"); }
    void OnBecomeActive() override { std::printf("Window active.\n"); }
    void OnBecomeInactive() override { std::printf("Window inactive.\n"); }
    bool HasClosedApplication() const { return hasClosed; }

    void OnFrame() override
    {
        PrintMouseWhenMoved();
        for (int key = 0; key < kKeyCount; ++key)
        {
            if (IsKeyReleased(static_cast<Key>(key)))
            {
                std::printf("Released: %s\n", KeyName(key));
            }
        }
        std::fflush(stdout);
        glClearColor(0.1f, 0.1f, 0.15f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (IsKeyReleased(kKeyEscape))
        {
            application->Close();
            hasClosed = true;
        }
    }

private:
    void PrintMouseWhenMoved()
    {
        std::int32_t x = 0;
        std::int32_t y = 0;
        GetMousePosition(x, y);
        if (x != lastX || y != lastY)
        {
            std::printf("Mouse: %d, %d\n", x, y);
            lastX = x;
            lastY = y;
        }
    }

    RealtimeApplication*& application;
    std::int32_t lastX = INT32_MIN;
    std::int32_t lastY = INT32_MIN;
    bool hasClosed = false;
};

int ShowWindow()
{
    RealtimeApplication* application = nullptr;
    SampleHandler handler(application);
    RealtimeApplication window(handler);
    application = &window;
    window.Open();
    window.SetWindowTitle("Quillmark platform sample");
    window.Run();
    // Closing the window ends the loop but leaves the context; Escape closed everything already.
    if (!handler.HasClosedApplication())
    {
        window.Close();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    return Quillmark::Session::RunSession(argc, argv, "QuillmarkPlatformSample", ShowWindow);
}
