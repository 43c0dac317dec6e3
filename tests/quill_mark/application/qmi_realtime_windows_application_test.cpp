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
constexpr int kVirtualKeyF1 = 0x70;
constexpr int kVirtualKeyShift = 0x10;
constexpr int kVirtualKeyTab = 0x09;

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
        if (onFrame)
        {
            onFrame(frames - 1);
        }
    }
    void CollectWindowProperties(WindowProperties& properties) override
    {
        if (collect)
        {
            collect(properties);
        }
    }

    int opens = 0;
    int closes = 0;
    int activations = 0;
    int deactivations = 0;
    int frames = 0;
    bool contextCurrentAtOpen = false;
    bool visibleAtOpen = true;
    std::vector<std::int64_t> swapsAtFrame;
    std::function<void(int frame)> onFrame;
    std::function<void(WindowProperties&)> collect;
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

const Scripted::CallRecord* FindCall(PlatformCall call)
{
    for (const Scripted::CallRecord& record : Scripted::GetCallLog())
    {
        if (record.call == call)
        {
            return &record;
        }
    }
    return nullptr;
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
    EXPECT_EQ(windowClass->windowClass.hInstance, GetModuleHandleA(nullptr));
    EXPECT_EQ(windowClass->windowClass.hIcon, LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(windowClass->windowClass.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(windowClass->windowClass.hbrBackground), 5u);

    const Scripted::CallRecord* create = FindCall(PlatformCall::kCreateWindowExA);
    ASSERT_NE(create, nullptr);
    const std::vector<std::intptr_t> createArguments(create->arguments, create->arguments + 6);
    // Extended style 0; clip siblings and children, caption, system menu, minimise box;
    // at (50, 50) with the client size as the first outer size.
    const std::vector<std::intptr_t> expectedCreate = {0, 0x06CA0000, 50, 50, 1280, 720};
    EXPECT_EQ(createArguments, expectedCreate);
    const Scripted::CallRecord* resize = FindCall(PlatformCall::kSetWindowPos);
    ASSERT_NE(resize, nullptr);
    EXPECT_EQ(resize->arguments[4], 6);

    const Scripted::WindowInfo window = Scripted::GetWindowInfo(Scripted::GetLatestWindow());
    EXPECT_EQ(window.caption, "Quillmark Project");
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(window.pixelFormatDescriptor.nSize, 40);
    EXPECT_EQ(window.pixelFormatDescriptor.nVersion, 1);
    EXPECT_EQ(window.pixelFormatDescriptor.dwFlags, 0x25u);
    EXPECT_EQ(window.pixelFormatDescriptor.iPixelType, 0);
    EXPECT_EQ(window.pixelFormatDescriptor.cColorBits, 32);
    EXPECT_EQ(window.pixelFormatDescriptor.cDepthBits, 16);
    EXPECT_EQ(window.pixelFormatDescriptor.cStencilBits, 8);
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
    EXPECT_EQ(window.windowRect.left, 50);
    EXPECT_EQ(window.windowRect.top, 50);
    EXPECT_EQ(window.windowRect.right - window.windowRect.left, 800 + 3 + 5);
    EXPECT_EQ(window.windowRect.bottom - window.windowRect.top, 600 + 26 + 7);
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
                for (int code : {kVirtualKeyF1, kVirtualKeyShift, kVirtualKeyTab})
                {
                    Scripted::PostKeyDown(code);
                }
                Scripted::PostWindowMessage(WM_SYSKEYDOWN, 'B', 1 << 29);
            },
            []
            {
                for (int code : {kVirtualKeyF1, kVirtualKeyShift, kVirtualKeyTab})
                {
                    Scripted::PostKeyUp(code);
                }
                Scripted::PostWindowMessage(WM_SYSKEYUP, 'B', 1 << 29);
            },
            [] { Scripted::PostKeyDown(VK_RETURN); },
            [] { Scripted::PostKeyUp(VK_RETURN); },
        },
        10);
    application.Run();

    const std::vector<std::pair<int, int>> expected = {{2, Quillmark::Application::kKeyA},
                                                       {8, Quillmark::Application::kKeyEnter}};
    EXPECT_EQ(log.releases, expected);
    EXPECT_EQ(handler.frames, 10);
}

TEST(RealtimeWindowsApplication, MouseButtonsAndPositionReachTheInputState)
{
    ScriptedHandler handler;
    ReleaseLog log(handler);
    std::vector<std::pair<std::int32_t, std::int32_t>> positions;
    auto recordReleases = handler.onFrame;
    handler.onFrame = [&](int frame)
    {
        recordReleases(frame);
        std::int32_t x = 0;
        std::int32_t y = 0;
        Quillmark::Application::GetMousePosition(x, y);
        positions.emplace_back(x, y);
    };
    RealtimeApplication application(handler);
    application.Open();
    ScriptIterations(
        {
            []
            {
                Scripted::SetCursorClientPosition(640, 360);
                Scripted::PostWindowMessage(WM_LBUTTONDOWN);
                Scripted::PostWindowMessage(WM_RBUTTONDOWN);
                Scripted::PostWindowMessage(WM_MBUTTONDOWN);
            },
            []
            {
                Scripted::SetCursorClientPosition(-30, -7);
                Scripted::PostWindowMessage(WM_LBUTTONUP);
            },
            []
            {
                Scripted::SetCursorClientPosition(1400, 900);
                Scripted::PostWindowMessage(WM_RBUTTONUP);
                Scripted::PostWindowMessage(WM_MBUTTONUP);
            },
        },
        3);
    application.Run();

    using Quillmark::Application::kMouseLeft;
    using Quillmark::Application::kMouseMiddle;
    using Quillmark::Application::kMouseRight;
    const std::vector<std::pair<int, int>> expectedReleases = {
        {1, kMouseLeft}, {2, kMouseRight}, {2, kMouseMiddle}};
    EXPECT_EQ(log.releases, expectedReleases);
    const std::vector<std::pair<std::int32_t, std::int32_t>> expectedPositions = {
        {640, 360}, {-30, -7}, {1400, 900}};
    EXPECT_EQ(positions, expectedPositions);
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
    // WM_QUIT itself is still passed on.
    bool quitDispatched = false;
    for (const Scripted::CallRecord& record : Scripted::GetCallLog())
    {
        quitDispatched |= record.call == PlatformCall::kDispatchMessageA &&
                          record.arguments[0] == static_cast<std::intptr_t>(WM_QUIT);
    }
    EXPECT_TRUE(quitDispatched);
    // The user's close leaves the context and the application until Close().
    EXPECT_EQ(Scripted::GetLiveContextCount(), 1);
    EXPECT_EQ(Scripted::GetWindowInfo(Scripted::GetLatestWindow()).outstandingDeviceContexts, 0);
    QuillmarkTest::RecordingErrorHandler errors;
    application.Close();
    EXPECT_TRUE(errors.messages.empty());
    EXPECT_EQ(Scripted::GetLiveContextCount(), 0);
    EXPECT_EQ(handler.closes, 1);
}

TEST(RealtimeWindowsApplication, ShowingTheWindowPaintsByPresentingTheBackBuffer)
{
    ScriptedHandler handler;
    RealtimeApplication application(handler);
    application.Open();
    // The first drain delivers the paint of the newly shown window; a later one on request.
    ScriptIterations({nullptr, nullptr, [] { Scripted::InvalidateWindow(); }}, 3);
    application.Run();

    ASSERT_EQ(handler.swapsAtFrame.size(), 3u);
    EXPECT_EQ(handler.swapsAtFrame[0], 1);
    EXPECT_EQ(handler.swapsAtFrame[1], 2);
    EXPECT_EQ(handler.swapsAtFrame[2], 4);
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
    Scripted::SetIterationHook(
        [](std::int64_t iteration)
        {
            // A safety net: the loop must already have ended by then.
            if (iteration == 10)
            {
                Scripted::PostUserClose();
            }
        });
    application.Run();

    // The swap was still attempted, then the loop released its device context and ended.
    const std::vector<Scripted::CallRecord>& log = Scripted::GetCallLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2].call, PlatformCall::kSwapBuffers);
    EXPECT_EQ(log.back().call, PlatformCall::kReleaseDC);
    EXPECT_EQ(handler.frames, 3);
    EXPECT_TRUE(frameFinished);
    EXPECT_EQ(handler.closes, 1);
    EXPECT_TRUE(errors.messages.empty());
    EXPECT_EQ(Scripted::GetLiveContextCount(), 0);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    const Scripted::WindowInfo window = Scripted::GetWindowInfo(Scripted::GetLatestWindow());
    EXPECT_TRUE(window.destroyed);
    EXPECT_EQ(window.outstandingDeviceContexts, 0);
    // The attempted swap had no window left to present.
    EXPECT_EQ(Scripted::GetSwapCount(), handler.swapsAtFrame.back());
    // The quit message posted by the destruction stays unread.
    MSG message = {};
    ASSERT_EQ(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE), 1);
    EXPECT_EQ(message.message, WM_QUIT);
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

TEST(RealtimeWindowsApplication, RunAndCloseWithAnotherHandlerAreReported)
{
    QuillmarkTest::RecordingErrorHandler errors;
    ScriptedHandler opened;
    ScriptedHandler other;
    RealtimeApplication application(opened);
    RealtimeApplication impostor(other);
    application.Open();
    ScriptIterations({}, 1);
    impostor.Run();
    impostor.Close();

    EXPECT_EQ(errors.Count("qmInternalError: applicationHandler changed from Open() to Run()."), 1);
    EXPECT_EQ(errors.Count("qmInternalError: applicationHandler changed from Open() to Close()."),
              1);
    // The loop serves the handler the application was opened with.
    EXPECT_EQ(opened.frames, 1);
    EXPECT_EQ(other.frames, 0);
}

TEST(RealtimeWindowsApplication, TitleAndMessageBoxGoToTheWindow)
{
    ScriptedHandler handler;
    RealtimeApplication application(handler);
    application.Open();
    application.SetWindowTitle("Cinderpath2");
    Scripted::QueueMessageBoxAnswer(IDOK);
    Scripted::QueueMessageBoxAnswer(IDCANCEL);

    EXPECT_TRUE(application.OpenMessageBox("Title one", "Text one"));
    EXPECT_FALSE(application.OpenMessageBox("Title two", "Text two"));

    const HWND window = Scripted::GetLatestWindow();
    EXPECT_EQ(Scripted::GetWindowInfo(window).caption, "Cinderpath2");
    const std::vector<Scripted::MessageBoxRecord>& boxes = Scripted::GetMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].owner, window);
    EXPECT_EQ(boxes[0].caption, "Title one");
    EXPECT_EQ(boxes[0].text, "Text one");
    EXPECT_EQ(boxes[0].type, MB_OK);
    EXPECT_EQ(boxes[1].type, MB_OK);
}

}  // namespace
