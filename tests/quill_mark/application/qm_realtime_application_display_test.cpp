// The realtime application on SDL under a private X server, checked from outside by helper
// threads: placement, caption, input from another client, closing, and the message box.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "quill_mark/application/qm_input_state.h"
#include "quill_mark/application/qm_realtime_application.h"
#include "support/private_x_server.h"
#include "support/x11_desktop.h"

namespace
{

using Quillmark::Application::ApplicationHandlerInterface;
using Quillmark::Application::IsKeyReleased;
using Quillmark::Application::RealtimeApplication;
using QuillmarkTest::DesktopWindow;
using QuillmarkTest::FindTopLevelWindow;
using QuillmarkTest::RunDesktopCommand;

// Ends a stuck test (a window that never appeared, a box nobody clicked): the rescue first, and
// the process itself when that did not help within ten seconds.
class Watchdog
{
public:
    Watchdog(int seconds, std::function<void()> rescue)
        : thread([this, seconds, rescue] { Guard(seconds, rescue); })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            isDone = true;
        }
        done.notify_all();
        thread.join();
    }
    bool HasFired() const { return hasFired; }

private:
    void Guard(int seconds, const std::function<void()>& rescue)
    {
        if (WaitUntilDone(seconds))
        {
            return;
        }
        hasFired = true;
        rescue();
        if (!WaitUntilDone(10))
        {
            std::fprintf(stderr, "watchdog: the test is stuck, ending the process\n");
            std::_Exit(EXIT_FAILURE);
        }
    }
    bool WaitUntilDone(int seconds)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return done.wait_for(lock, std::chrono::seconds(seconds), [this] { return isDone; });
    }

    std::mutex mutex;
    std::condition_variable done;
    bool isDone = false;
    std::atomic<bool> hasFired{false};
    std::thread thread;
};

// The loop's view, shared with the helper thread.
class DisplayHandler : public ApplicationHandlerInterface
{
public:
    explicit DisplayHandler(RealtimeApplication*& application) : application(application) {}

    void OnClose() override { ++closes; }
    void OnFrame() override
    {
        std::int32_t x = 0;
        std::int32_t y = 0;
        Quillmark::Application::GetMousePosition(x, y);
        mouseX = x;
        mouseY = y;
        keyAReleased = keyAReleased || IsKeyReleased(Quillmark::Application::kKeyA);
        mouseLeftReleased = mouseLeftReleased || IsKeyReleased(Quillmark::Application::kMouseLeft);
        if (wantedTitle.exchange(false))
        {
            application->SetWindowTitle("Cinderpath2");
        }
        ++frames;
    }

    // Waits (bounded by the watchdog) until the condition holds, letting the loop turn.
    template <typename Condition>
    bool WaitFor(Condition condition, int frameCount = 3000)
    {
        const int start = frames;
        while (!condition() && frames - start < frameCount && closes == 0)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return condition();
    }
    void WaitFrames(int count)
    {
        const int start = frames;
        WaitFor([&] { return frames - start >= count; });
    }

    RealtimeApplication*& application;
    std::atomic<int> frames{0};
    std::atomic<int> closes{0};
    std::atomic<int> mouseX{0};
    std::atomic<int> mouseY{0};
    std::atomic<bool> keyAReleased{false};
    std::atomic<bool> mouseLeftReleased{false};
    std::atomic<bool> wantedTitle{false};
};

class RealtimeApplicationOnDisplay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(QuillmarkTest::StartPrivateXServer().empty()) << "Xvfb could not start";
        application = &realApplication;
    }

    RealtimeApplication* application = nullptr;
    DisplayHandler handler{application};
    RealtimeApplication realApplication{handler};
};

void CloseWindowNamed(const std::string& name)
{
    const DesktopWindow window = FindTopLevelWindow(name);
    if (window.found)
    {
        QuillmarkTest::RequestWindowClose(window.id);
    }
}

TEST_F(RealtimeApplicationOnDisplay, OpensInPlaceTakesItsTitleAndEndsWhenClosedFromOutside)
{
    application->Open();
    DesktopWindow opened;
    DesktopWindow retitled;
    std::thread user(
        [&]
        {
            handler.WaitFrames(3);
            opened = FindTopLevelWindow("Quillmark Project");
            handler.wantedTitle = true;
            handler.WaitFor([] { return FindTopLevelWindow("Cinderpath2").found; }, 2000);
            retitled = FindTopLevelWindow("Cinderpath2");
            QuillmarkTest::RequestWindowClose(retitled.found ? retitled.id : opened.id);
        });
    {
        Watchdog watchdog(60,
                          []
                          {
                              CloseWindowNamed("Quillmark Project");
                              CloseWindowNamed("Cinderpath2");
                          });
        application->Run();
        user.join();
    }

    ASSERT_TRUE(opened.found);
    EXPECT_EQ((std::vector<int>{opened.x, opened.y, opened.width, opened.height}),
              (std::vector<int>{50, 50, 1280, 720}));
    ASSERT_TRUE(retitled.found);
    EXPECT_EQ(retitled.id, opened.id);
    EXPECT_EQ(handler.closes, 1);
    EXPECT_GE(handler.frames, 3);
    EXPECT_FALSE(FindTopLevelWindow("Cinderpath2").found);
    application->Close();
    EXPECT_EQ(handler.closes, 1);
}

TEST_F(RealtimeApplicationOnDisplay, KeysButtonsAndCursorFromAnotherClientReachTheInputState)
{
    application->Open();
    bool sawOutside = false;
    bool sawInside = false;
    std::thread user(
        [&]
        {
            handler.WaitFrames(3);
            RunDesktopCommand("xdotool mousemove 10 20");
            sawOutside =
                handler.WaitFor([&] { return handler.mouseX == -40 && handler.mouseY == -30; });
            // Inside the window, which then has the keyboard (no window manager moves focus).
            RunDesktopCommand("xdotool mousemove 700 400");
            sawInside =
                handler.WaitFor([&] { return handler.mouseX == 650 && handler.mouseY == 350; });
            // Down and up in different loop iterations, or the press would leave no trace.
            RunDesktopCommand("xdotool keydown a");
            handler.WaitFrames(10);
            RunDesktopCommand("xdotool keyup a");
            handler.WaitFor([&] { return handler.keyAReleased.load(); }, 2000);
            RunDesktopCommand("xdotool mousedown 1");
            handler.WaitFrames(10);
            RunDesktopCommand("xdotool mouseup 1");
            handler.WaitFor([&] { return handler.mouseLeftReleased.load(); }, 2000);
            CloseWindowNamed("Quillmark Project");
        });
    {
        Watchdog watchdog(60, [] { CloseWindowNamed("Quillmark Project"); });
        application->Run();
        user.join();
    }

    EXPECT_TRUE(sawOutside) << handler.mouseX << ", " << handler.mouseY;
    EXPECT_TRUE(sawInside) << handler.mouseX << ", " << handler.mouseY;
    EXPECT_TRUE(handler.keyAReleased);
    EXPECT_TRUE(handler.mouseLeftReleased);
    EXPECT_EQ(handler.closes, 1);
}

TEST_F(RealtimeApplicationOnDisplay, MessageBoxShowsItsTitleAndReturnsTrueWhenOkIsClicked)
{
    application->Open();
    DesktopWindow box;
    std::thread user(
        [&]
        {
            for (int attempt = 0; attempt < 400 && !box.found; ++attempt)
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(25));
                box = FindTopLevelWindow("Error Condition Triggered");
            }
            if (box.found)
            {
                // The single button sits centred at the bottom of the box.
                const int x = box.x + box.width / 2;
                const int y = box.y + box.height - 26;
                RunDesktopCommand("xdotool mousemove " + std::to_string(x) + " " +
                                  std::to_string(y) + " click 1");
            }
        });
    bool confirmed = false;
    bool watchdogFired = false;
    {
        Watchdog watchdog(30, [] { CloseWindowNamed("Error Condition Triggered"); });
        confirmed = application->OpenMessageBox("Error Condition Triggered", "Something failed");
        user.join();
        watchdogFired = watchdog.HasFired();
    }

    ASSERT_TRUE(box.found);
    EXPECT_FALSE(watchdogFired);
    EXPECT_TRUE(confirmed);
    EXPECT_FALSE(FindTopLevelWindow("Error Condition Triggered").found);
    application->Close();
}

}  // namespace
