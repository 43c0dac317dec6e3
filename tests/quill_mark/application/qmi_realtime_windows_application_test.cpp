// The window layer driven through the scripted platform: the calls it makes while opening, the
// message loop's order (input frame, cursor, drain, frame, present), the message handling and
// the checks it reports. Each test scripts its input per loop iteration.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "quill_mark/application/implementation/windows/qmi_realtime_windows_application.h"
#include "quill_mark/application/qm_input_state.h"
#include "quill_mark/application/qm_realtime_application.h"
#include "quill_mark/core/qm_error.h"
#include "quill_mark/platform/scripted/qmi_scripted_platform.h"
#include "support/recording_error_handler.h"

namespace
{

namespace Scripted = qmImplementation::ScriptedPlatform;
using Quillmark::Application::ApplicationHandlerInterface;
using Quillmark::Application::IsKeyReleased;
using Quillmark::Application::Key;
using Quillmark::Application::RealtimeApplication;
using Quillmark::Application::WindowProperties;
using Scripted::PlatformCall;

constexpr char kLayerFile[] =
    "source/quill_mark/application/implementation/windows/qmi_realtime_windows_application.cpp";
constexpr char kSingleApplication[] =
    "qmExternalError: Quillmark currently supports only a single application at a time.";
constexpr char kNoHandler[] =
    "qmInternalError: Expected to have a valid ApplicationHandler at this moment.";
constexpr char kHandlerNotNull[] =
    "qmInternalError: Expected application handler to by null at this moment.";
constexpr char kWindowHandleUsed[] =
    "qmInternalError: Expected window handle to be unused at this moment.";
constexpr int kOutsideKeys[] = {0x70, 0x10, 0x09};  // F1, Shift, Tab

// Counts every callback and lets a test act inside OnFrame and CollectWindowProperties.
class ScriptedHandler : public ApplicationHandlerInterface
{
public:
    void OnOpen() override
    {
        ++opens;
        contextCurrentAtOpen = wglGetCurrentContext() != nullptr;
        visibleAtOpen = Scripted::GetWindowInfo(Scripted::GetLatestWindow()).visible;
    }
    void OnClose() override { ++closes; }
    void OnBecomeActive() override { ++activations; }
    void OnBecomeInactive() override { ++deactivations; }
    void OnFrame() override
    {
        ++frames;
        swapsAtFrame.push_back(Scripted::GetSwapCount());
        onFrame(frames - 1);
    }
    void CollectWindowProperties(WindowProperties& properties) override { collect(properties); }

    int opens = 0, closes = 0, activations = 0, deactivations = 0, frames = 0;
    bool contextCurrentAtOpen = false;
    bool visibleAtOpen = true;
    std::vector<std::int64_t> swapsAtFrame;
    std::function<void(int frame)> onFrame = [](int) {};
    std::function<void(WindowProperties&)> collect = [](WindowProperties&) {};
};

// Runs a script: at each iteration the action for that iteration (if any) runs before the
// queue is drained; the user closes the window at the given iteration.
void ScriptIterations(std::vector<std::function<void()>> actions, std::int64_t closeAt)
{
    Scripted::SetIterationHook(
        [actions, closeAt](std::int64_t iteration)
        {
            if (iteration < static_cast<std::int64_t>(actions.size()) && actions[iteration])
            {
                actions[iteration]();
            }
            if (iteration == closeAt)
            {
                Scripted::PostUserClose();
            }
        });
}

std::vector<PlatformCall> CallsOfInterest(const std::vector<PlatformCall>& wanted)
{
    std::vector<PlatformCall> calls;
    for (const Scripted::CallRecord& record : Scripted::GetCallLog())
    {
        if (std::find(wanted.begin(), wanted.end(), record.call) != wanted.end())
        {
            calls.push_back(record.call);
        }
    }
    return calls;
}

// The frames at which each key was reported released, gathered by a frame callback.
struct ReleaseLog
{
    explicit ReleaseLog(ScriptedHandler& handler)
    {
        handler.onFrame = [this](int frame)
        {
            for (int key = 0; key < Quillmark::Application::kKeyCount; ++key)
            {
                if (IsKeyReleased(static_cast<Key>(key)))
                {
                    releases.push_back({frame, key});
                }
            }
        };
    }
    std::vector<std::pair<int, int>> releases;  // (frame, key)
};

TEST(RealtimeWindowsApplication, OpenMakesTheCallsInOrderWithTheirFlags)
{
    QuillmarkTest::RecordingErrorHandler errors;
    ScriptedHandler handler;
    RealtimeApplication application(handler);
    application.Open();

    EXPECT_TRUE(errors.messages.empty());
    const std::vector<PlatformCall> expected = {
        PlatformCall::kRegisterClassA,    PlatformCall::kCreateWindowExA,
        PlatformCall::kGetClientRect,     PlatformCall::kGetWindowRect,
        PlatformCall::kSetWindowPos,      PlatformCall::kGetDC,
        PlatformCall::kChoosePixelFormat, PlatformCall::kSetPixelFormat,
        PlatformCall::kWglCreateContext,  PlatformCall::kWglMakeCurrent,
        PlatformCall::kReleaseDC,         PlatformCall::kUpdateWindow,
        PlatformCall::kShowWindow};
    EXPECT_EQ(CallsOfInterest(expected), expected);
    EXPECT_EQ(handler.opens, 1);
    EXPECT_TRUE(handler.contextCurrentAtOpen);
    EXPECT_FALSE(handler.visibleAtOpen);

    const qmImplementation::RegisteredWindowClass* windowClass =
        Scripted::FindRegisteredClass("QuillmarkApplication");
    ASSERT_NE(windowClass, nullptr);
    EXPECT_EQ(windowClass->windowClass.style, 3u);
    EXPECT_EQ(windowClass->windowClass.lpfnWndProc,
              &qmImplementation::RealtimeWindowsApplication::WindowProcedure);

    const std::vector<Scripted::CallRecord>& log = Scripted::GetCallLog();
    const auto create = std::find_if(log.begin(), log.end(),
                                     [](const Scripted::CallRecord& r)
                                     { return r.call == PlatformCall::kCreateWindowExA; });
    ASSERT_NE(create, log.end());
    // Clip siblings and children, caption, system menu, minimise box; at (50, 50), client size.
    EXPECT_EQ(std::vector<std::intptr_t>(create->arguments, create->arguments + 6),
              (std::vector<std::intptr_t>{0, 0x06CA0000, 50, 50, 1280, 720}));

    const Scripted::WindowInfo window = Scripted::GetWindowInfo(Scripted::GetLatestWindow());
    EXPECT_EQ(window.caption, "Quillmark Project");
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(window.pixelFormatDescriptor.dwFlags, 0x25u);
    EXPECT_EQ(window.pixelFormatDescriptor.cDepthBits, 16);
    EXPECT_EQ(window.outstandingDeviceContexts, 0);
}

TEST(RealtimeWindowsApplication, ClientAreaGetsExactlyTheCollectedSize)
{
    ScriptedHandler handler;
    handler.collect = [](WindowProperties& properties)
    {
        EXPECT_EQ(properties.width, 1280);
        EXPECT_EQ(properties.height, 720);
        properties.width = 800;
        properties.height = 600;
    };
    Scripted::SetFrameMetrics(3, 26, 5, 7);
    RealtimeApplication application(handler);
    application.Open();

    const Scripted::WindowInfo window = Scripted::GetWindowInfo(Scripted::GetLatestWindow());
    EXPECT_EQ(window.clientWidth, 800);
    EXPECT_EQ(window.clientHeight, 600);
    const RECT& outer = window.windowRect;
    EXPECT_EQ((std::vector<LONG>{outer.left, outer.top, outer.right, outer.bottom}),
              (std::vector<LONG>{50, 50, 50 + 800 + 3 + 5, 50 + 600 + 26 + 7}));
}

TEST(RealtimeWindowsApplication, KeysChangeStateOnlyOnFirstPressAndForOneFrame)
{
    ScriptedHandler handler;
    ReleaseLog log(handler);
    RealtimeApplication application(handler);
    application.Open();
    ScriptIterations(
        {
            [] { Scripted::PostKeyDown('A'); },
            []
            {
                Scripted::PostKeyDown('A', true);
                Scripted::PostKeyDown('A', true);
            },
            [] { Scripted::PostKeyUp('A'); },  // released: seen in frame 2 only
            []
            {
                // A stray repeat for a key that is up must not press it.
                Scripted::PostKeyDown(VK_ESCAPE, true);
                // Pressed and released within one iteration: leaves no trace.
                Scripted::PostKeyDown(VK_SPACE);
                Scripted::PostKeyUp(VK_SPACE);
            },
            [] { Scripted::PostKeyUp(VK_ESCAPE); },
            []
            {
                // Keys outside the table and system keys change nothing.
                for (int code : kOutsideKeys)
                {
                    Scripted::PostKeyDown(code);
                }
                Scripted::PostWindowMessage(WM_SYSKEYDOWN, 'B', 1 << 29);
            },
            []
            {
                for (int code : kOutsideKeys)
                {
                    Scripted::PostKeyUp(code);
                }
                Scripted::PostWindowMessage(WM_SYSKEYUP, 'B', 1 << 29);
            },
            []
            {
                Scripted::PostKeyDown(VK_RETURN);
                Scripted::PostWindowMessage(WM_LBUTTONDOWN);
                Scripted::PostWindowMessage(WM_RBUTTONDOWN);
            },
            []
            {
                Scripted::PostKeyUp(VK_RETURN);
                Scripted::PostWindowMessage(WM_RBUTTONUP);
            },
            [] { Scripted::PostWindowMessage(WM_LBUTTONUP); },
        },
        10);
    application.Run();

    const std::vector<std::pair<int, int>> expected = {{2, Quillmark::Application::kKeyA},
                                                       {8, Quillmark::Application::kKeyEnter},
                                                       {8, Quillmark::Application::kMouseRight},
                                                       {9, Quillmark::Application::kMouseLeft}};
    EXPECT_EQ(log.releases, expected);
    EXPECT_EQ(handler.frames, 10);
}

TEST(RealtimeWindowsApplication, QuitEndsTheLoopBeforeTheFrameAfterDispatchingEarlierMessages)
{
    ScriptedHandler handler;
    RealtimeApplication application(handler);
    application.Open();
    ScriptIterations({nullptr, nullptr, nullptr,
                      []
                      {
                          // Drained in the same iteration as the close, ahead of it.
                          Scripted::PostActivate(false);
                          Scripted::PostWindowMessage(WM_ACTIVATE,
                                                      0x10000);  // only the high word set
                      }},
                     3);
    application.Run();

    EXPECT_EQ(handler.frames, 3);
    EXPECT_EQ(handler.deactivations, 1);
    EXPECT_EQ(handler.activations, 1);
    EXPECT_EQ(handler.closes, 1);
    // The swap after the last frame is the last one: the quitting iteration presents nothing.
    ASSERT_EQ(handler.swapsAtFrame.size(), 3u);
    EXPECT_EQ(Scripted::GetSwapCount(), handler.swapsAtFrame.back() + 1);
}

TEST(RealtimeWindowsApplication, CloseInsideAFrameFinishesThatFrameAndEndsTheLoop)
{
    QuillmarkTest::RecordingErrorHandler errors;
    ScriptedHandler handler;
    RealtimeApplication application(handler);
    bool frameFinished = false;
    handler.onFrame = [&](int frame)
    {
        if (frame == 2)
        {
            application.Close();
            frameFinished = handler.closes == 1;
        }
    };
    application.Open();
    ScriptIterations({}, 10);  // a safety net: the loop must already have ended by then
    application.Run();

    EXPECT_EQ(handler.frames, 3);
    EXPECT_TRUE(frameFinished);
    EXPECT_EQ(handler.closes, 1);
    EXPECT_TRUE(errors.messages.empty());
    EXPECT_EQ(Scripted::GetLiveContextCount(), 0);
    const Scripted::WindowInfo window = Scripted::GetWindowInfo(Scripted::GetLatestWindow());
    EXPECT_TRUE(window.destroyed);
    EXPECT_EQ(window.outstandingDeviceContexts, 0);
}

TEST(RealtimeWindowsApplication, SecondOpenIsReportedUntilTheFirstWasClosed)
{
    QuillmarkTest::RecordingErrorHandler errors;
    ScriptedHandler first;
    ScriptedHandler second;
    RealtimeApplication firstApplication(first);
    RealtimeApplication secondApplication(second);

    firstApplication.Open();
    firstApplication.Close();
    secondApplication.Open();
    EXPECT_TRUE(errors.messages.empty());
    EXPECT_EQ(first.closes, 1);

    firstApplication.Open();
    EXPECT_EQ(errors.Count(kSingleApplication), 1);
    EXPECT_EQ(errors.Count(kHandlerNotNull), 1);
    EXPECT_EQ(errors.Count(kWindowHandleUsed), 1);
    EXPECT_EQ(Quillmark::Core::Error::GetLastErrorFile(), kLayerFile);
    // The steps went on: the new handler owns the new window.
    EXPECT_EQ(first.opens, 2);
}

TEST(RealtimeWindowsApplication, MessagesWithoutAHandlerAreReportedAndStillHandledByDefault)
{
    ScriptedHandler handler;
    RealtimeApplication application(handler);
    application.Open();
    application.Close();
    QuillmarkTest::RecordingErrorHandler errors;
    Scripted::ClearCallLog();

    // A window of the class made while no application is open.
    HWND stray = CreateWindowExA(0, "QuillmarkApplication", "stray", 0, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(stray, nullptr);
    DestroyWindow(stray);

    EXPECT_EQ(errors.Count(kNoHandler), 2);
    EXPECT_EQ(Quillmark::Core::Error::GetLastErrorFile(), kLayerFile);
    const std::vector<PlatformCall> expected = {
        PlatformCall::kCreateWindowExA, PlatformCall::kDefWindowProcA, PlatformCall::kDestroyWindow,
        PlatformCall::kPostQuitMessage, PlatformCall::kDefWindowProcA};
    EXPECT_EQ(CallsOfInterest(expected), expected);
    EXPECT_EQ(handler.closes, 1);
}

TEST(RealtimeWindowsApplication, TitleAndMessageBoxGoToTheWindow)
{
    ScriptedHandler handler;
    RealtimeApplication application(handler);
    application.Open();
    application.SetWindowTitle("Cinderpath2");
    Scripted::QueueMessageBoxAnswer(IDCANCEL);
    EXPECT_FALSE(application.OpenMessageBox("Title", "Text"));
    const HWND window = Scripted::GetLatestWindow();
    EXPECT_EQ(Scripted::GetWindowInfo(window).caption, "Cinderpath2");
    ASSERT_EQ(Scripted::GetMessageBoxCount(), 1);
    const Scripted::MessageBoxRecord& box = Scripted::GetMessageBoxes().front();
    EXPECT_EQ(box.owner, window);
    EXPECT_EQ(box.caption + "|" + box.text, "Title|Text");
    EXPECT_EQ(box.type, MB_OK);
}

}  // namespace
