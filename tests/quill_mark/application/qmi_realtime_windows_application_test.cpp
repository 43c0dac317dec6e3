// The window layer driven through the scripted platform: opening, the message loop's order (input
// frame, cursor, drain, frame, present), what each message does, and every misuse it reports, in
// the order a user sees the reports. Each test scripts its input per loop iteration.
#include "quill_mark/application/implementation/windows/qmi_realtime_windows_application.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "quill_mark/application/qm_input_state.h"
#include "quill_mark/application/qm_realtime_application.h"
#include "quill_mark/platform/scripted/qmi_scripted_platform.h"
#include "support/recording_error_handler.h"

namespace
{

namespace Scripted = qmImplementation::ScriptedPlatform;
namespace Layer = qmImplementation::RealtimeWindowsApplication;
using namespace Quillmark::Application;
using Strings = std::vector<std::string>;

constexpr char kSingleApplication[] =
    "qmExternalError: Quillmark currently supports only a single application at a time.";
constexpr char kHandlerNotNull[] =
    "qmInternalError: Expected application handler to by null at this moment.";
constexpr char kRunning[] =
    "qmInternalError: Expected application not to be running at this moment.";
constexpr char kHandleUsed[] =
    "qmInternalError: Expected window handle to be unused at this moment.";
constexpr char kNoHandler[] =
    "qmInternalError: Expected to have a valid ApplicationHandler at this moment.";

// Counts the callbacks; a test acts inside OnFrame and CollectWindowProperties.
struct ScriptedHandler : ApplicationHandlerInterface
{
    void OnOpen() override
    {
        ++opens;
        contextCurrentAtOpen = wglGetCurrentContext() != nullptr;
        visibleAtOpen = Scripted::GetWindowInfo(Scripted::GetLatestWindow()).visible;
    }
    void OnClose() override { ++closes; }
    void OnBecomeActive() override { ++activations; }
    void OnBecomeInactive() override { ++deactivations; }
    void OnFrame() override { onFrame(frames++); }
    void CollectWindowProperties(WindowProperties& properties) override { collect(properties); }

    int opens = 0, closes = 0, activations = 0, deactivations = 0, frames = 0;
    bool contextCurrentAtOpen = false, visibleAtOpen = true;
    std::function<void(int frame)> onFrame = [](int) {};
    std::function<void(WindowProperties&)> collect = [](WindowProperties&) {};
};

// At the start of loop iteration i, before the queue is drained, actions[i] runs; at `closeAt`
// the user closes the window.
void ScriptIterations(std::vector<std::function<void()>> actions, std::int64_t closeAt)
{
    Scripted::SetIterationHook(
        [actions, closeAt](std::int64_t iteration)
        {
            if (iteration < std::int64_t(actions.size()) && actions[iteration])
                actions[iteration]();
            if (iteration == closeAt)
                Scripted::PostUserClose();
        });
}

// A window procedure of the test's own, for a class registered under the layer's class name.
std::function<LRESULT(HWND, UINT)> theForeignProcedure;
LRESULT CALLBACK ForeignProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    theForeignProcedure(window, message);
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(RealtimeWindowsApplication, OpenShowsAWindowOfExactlyTheCollectedClientSize)
{
    QuillmarkTest::RecordingErrorHandler errors;
    ScriptedHandler handler;
    handler.collect = [](WindowProperties& properties)
    {
        EXPECT_EQ(properties.width, 1280);
        EXPECT_EQ(properties.height, 720);
        properties = {800, 600};
    };
    Scripted::SetFrameMetrics(3, 26, 5, 7);
    RealtimeApplication application(handler);
    application.Open();

    EXPECT_EQ(errors.messages, Strings{});
    EXPECT_EQ(handler.opens, 1);
    EXPECT_TRUE(handler.contextCurrentAtOpen);
    EXPECT_FALSE(handler.visibleAtOpen) << "shown only after OnOpen";
    const Scripted::WindowInfo window = Scripted::GetWindowInfo(Scripted::GetLatestWindow());
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(window.caption, "Quillmark Project");
    // Clip siblings and children, caption, system menu, minimise box: no resizing, no maximising.
    EXPECT_EQ(window.style, 0x06CA0000u);
    EXPECT_EQ(window.clientWidth, 800);
    EXPECT_EQ(window.clientHeight, 600);
    const RECT& outer = window.windowRect;
    EXPECT_EQ((std::vector<LONG>{outer.left, outer.top, outer.right, outer.bottom}),
              (std::vector<LONG>{50, 50, 50 + 3 + 800 + 5, 50 + 26 + 600 + 7}));
    EXPECT_EQ(window.pixelFormatDescriptor.dwFlags, 0x25u) << "double-buffered OpenGL";
    EXPECT_EQ(window.outstandingDeviceContexts, 0);
}

TEST(RealtimeWindowsApplication, KeysChangeStateOnlyOnFirstPressAndForOneFrame)
{
    ScriptedHandler handler;
    std::vector<std::pair<int, int>> releases;  // (frame, key) for each key seen released
    handler.onFrame = [&](int frame)
    {
        for (int key = 0; key < kKeyCount; ++key)
            if (IsKeyReleased(static_cast<Key>(key)))
                releases.emplace_back(frame, key);
    };
    RealtimeApplication application(handler);
    application.Open();
    const int outside[] = {0x70, 0x10, 0x09};  // F1, Shift, Tab
    ScriptIterations(
        {[] { Scripted::PostKeyDown('A'); },
         []
         {
             Scripted::PostKeyDown('A', true);
             Scripted::PostKeyDown('A', true);
         },
         [] { Scripted::PostKeyUp('A'); },  // seen in frame 2 only
         []
         {
             Scripted::PostKeyDown(VK_ESCAPE, true);  // a stray repeat of a key that is up
             Scripted::PostKeyDown(VK_SPACE);  // pressed and released in one iteration: no trace
             Scripted::PostKeyUp(VK_SPACE);
         },
         [] { Scripted::PostKeyUp(VK_ESCAPE); },
         [&]
         {
             for (int code : outside)  // keys outside the table and system keys change nothing
                 Scripted::PostKeyDown(code);
             Scripted::PostWindowMessage(WM_SYSKEYDOWN, 'B', 1 << 29);
         },
         [&]
         {
             for (int code : outside)
                 Scripted::PostKeyUp(code);
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
         [] { Scripted::PostWindowMessage(WM_LBUTTONUP); }},
        10);
    application.Run();
    EXPECT_EQ(releases, (std::vector<std::pair<int, int>>{
                            {2, kKeyA}, {8, kKeyEnter}, {8, kMouseRight}, {9, kMouseLeft}}));
    EXPECT_EQ(handler.frames, 10);
}

TEST(RealtimeWindowsApplication, TheCursorIsReadEveryIterationInClientPixelsBeforeTheFrame)
{
    ScriptedHandler handler;
    std::vector<std::pair<int, int>> seen;
    handler.onFrame = [&](int)
    {
        std::int32_t x = 0, y = 0;
        GetMousePosition(x, y);
        seen.emplace_back(x, y);
    };
    RealtimeApplication application(handler);
    application.Open();
    ScriptIterations({[] { Scripted::SetCursorClientPosition(10, 20); },
                      [] { Scripted::SetCursorClientPosition(-5, -7); },
                      [] { Scripted::SetCursorClientPosition(2000, 900); }},
                     3);
    application.Run();
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{10, 20}, {-5, -7}, {2000, 900}}));
}

TEST(RealtimeWindowsApplication, QuitEndsTheLoopBeforeTheFrameAfterDispatchingEarlierMessages)
{
    ScriptedHandler handler;
    std::vector<std::int64_t> swapsAtFrame;
    handler.onFrame = [&](int) { swapsAtFrame.push_back(Scripted::GetSwapCount()); };
    RealtimeApplication application(handler);
    application.Open();
    ScriptIterations({nullptr, nullptr, nullptr,
                      []
                      {
                          // Drained in the same iteration as the close, ahead of it.
                          Scripted::PostActivate(false);
                          Scripted::PostWindowMessage(WM_ACTIVATE, 0x10000);  // high word only
                      }},
                     3);
    application.Run();
    EXPECT_EQ(handler.frames, 3);
    EXPECT_EQ(handler.deactivations, 1);
    EXPECT_EQ(handler.activations, 1);
    EXPECT_EQ(handler.closes, 1);
    // The swap after the last frame is the last one: the quitting iteration presents nothing.
    ASSERT_EQ(swapsAtFrame.size(), 3u);
    EXPECT_EQ(Scripted::GetSwapCount(), swapsAtFrame.back() + 1);
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
    EXPECT_EQ(errors.messages, Strings{});
    EXPECT_EQ(Scripted::GetLiveContextCount(), 0);
    const Scripted::WindowInfo window = Scripted::GetWindowInfo(Scripted::GetLatestWindow());
    EXPECT_TRUE(window.destroyed);
    EXPECT_EQ(window.outstandingDeviceContexts, 0);
}

TEST(RealtimeWindowsApplication, OpenReportsEachMisuseInOrderAndGoesOn)
{
    const std::string valid = "qmInternalError, Expected window handle to be valid.";
    const std::string match = "qmInternalError, Expected window handle to match.";
    const struct
    {
        const char* what;
        bool foreignClass;  // the class name taken by a procedure of the test's own
        std::function<void(RealtimeApplication& first, RealtimeApplication& second)> script;
        Strings reports;
    } cases[] = {
        {"after the first was closed",
         false,
         [](RealtimeApplication& first, RealtimeApplication& second)
         {
             first.Open();
             first.Close();
             second.Open();
         },
         {}},
        {"while the first is open",
         false,
         [](RealtimeApplication& first, RealtimeApplication& second)
         {
             first.Open();
             second.Open();
         },
         {kSingleApplication, kHandlerNotNull, kHandleUsed}},
        {"while the first is running",
         false,
         [](RealtimeApplication& first, RealtimeApplication& second)
         {
             first.Open();
             ScriptIterations({[&] { second.Open(); }}, 1);
             first.Run();
         },
         {kSingleApplication, kHandlerNotNull, kRunning, kHandleUsed}},
        // A procedure that never tells the layer of its window, then one that tells of another.
        {"with the window created elsewhere",
         true,
         [](RealtimeApplication& first, RealtimeApplication&)
         {
             theForeignProcedure = [](HWND, UINT) { return 0; };
             first.Open();
         },
         {valid, match}},
        {"with another window recorded",
         true,
         [](RealtimeApplication& first, RealtimeApplication&)
         {
             theForeignProcedure = [](HWND, UINT message)
             {
                 const HWND other = reinterpret_cast<HWND>(std::uintptr_t{0x77});
                 return message == WM_CREATE ? Layer::WindowProcedure(other, message, 0, 0) : 0;
             };
             first.Open();
         },
         {match}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        Scripted::Reset();
        if (c.foreignClass)
        {
            WNDCLASSA foreign = {};
            foreign.lpfnWndProc = ForeignProcedure;
            foreign.lpszClassName = "QuillmarkApplication";
            RegisterClassA(&foreign);
        }
        ScriptedHandler firstHandler, secondHandler;
        RealtimeApplication first(firstHandler), second(secondHandler);
        QuillmarkTest::RecordingErrorHandler errors;
        c.script(first, second);
        EXPECT_EQ(errors.messages, c.reports);
        Layer::Close(firstHandler);
        Layer::Close(secondHandler);
    }
}

TEST(RealtimeWindowsApplication, RunAndCloseReportAHandlerOtherThanTheOpenedOne)
{
    ScriptedHandler opened, other;
    RealtimeApplication application(opened);
    application.Open();
    QuillmarkTest::RecordingErrorHandler errors;
    ScriptIterations({}, 1);
    Layer::Run(other);
    Layer::Close(other);
    EXPECT_EQ(errors.messages,
              (Strings{"qmInternalError: applicationHandler changed from Open() to Run().",
                       "qmInternalError: applicationHandler changed from Open() to Close()."}));
    EXPECT_EQ(opened.frames, 1) << "the loop runs the handler that was opened";
    EXPECT_EQ(other.frames, 0);
}

TEST(RealtimeWindowsApplication, MessagesWithoutAHandlerAreReportedAndStillHandledByDefault)
{
    ScriptedHandler handler;
    RealtimeApplication application(handler);
    application.Open();
    application.Close();
    QuillmarkTest::RecordingErrorHandler errors;
    // A window of the class made while no application is open.
    HWND stray = CreateWindowExA(0, "QuillmarkApplication", "stray", 0, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(stray, nullptr);
    DestroyWindow(stray);
    EXPECT_EQ(errors.messages, (Strings{kNoHandler, kNoHandler}));
    EXPECT_TRUE(Scripted::GetWindowInfo(stray).destroyed);
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
    EXPECT_TRUE(application.OpenMessageBox("Title", "Text"));
    const HWND window = Scripted::GetLatestWindow();
    EXPECT_EQ(Scripted::GetWindowInfo(window).caption, "Cinderpath2");
    ASSERT_EQ(Scripted::GetMessageBoxCount(), 2);
    const Scripted::MessageBoxRecord& box = Scripted::GetMessageBoxes().front();
    EXPECT_EQ(box.owner, window);
    EXPECT_EQ(box.caption, "Title");
    EXPECT_EQ(box.text, "Text");
    EXPECT_EQ(box.type, UINT(MB_OK));
}

}  // namespace
