// SPDX-License-Identifier: Zlib
// The window layer driven through the headless platform, its input scripted per loop iteration:
// opening, what each message does in the loop, and every misuse it reports, in order.
#include "quill_mark/application/implementation/windows/qmi_realtime_windows_application.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "quill_mark/application/qm_input_state.h"
#include "quill_mark/application/qm_realtime_application.h"
#include "quill_mark/platform/headless/qmi_headless_layer.h"
#include "support/recording_error_handler.h"

namespace
{

namespace Headless = qmImplementation::HeadlessLayer;
using namespace qmSeam;
using namespace qmSeam::Calls;
namespace Layer = qmImplementation::RealtimeWindowsApplication;
using namespace Quillmark::Application;
using Strings = std::vector<std::string>;
using Pairs = std::vector<std::pair<int, int>>;

constexpr char kSingle[] =
    "qmExternalError: Quillmark currently supports only a single application at a time.";
constexpr char kHandlerSet[] =
    "qmInternalError: Expected application handler to by null at this moment.";
constexpr char kHandleUsed[] =
    "qmInternalError: Expected window handle to be unused at this moment.";
// lParam of a key message: repeat count 1, bit 30 for a repeat, bits 30 and 31 for a release.
constexpr LPARAM kRepeat = LPARAM{1} << 30 | 1, kUp = LPARAM{3} << 30 | 1;

struct Handler : ApplicationHandlerInterface
{
    void OnOpen() override
    {
        contextAtOpen = wglGetCurrentContext() != nullptr;
        visibleAtOpen = Headless::GetWindowInfo(Headless::GetLatestWindow()).visible;
    }
    void OnClose() override { ++closes; }
    void OnBecomeActive() override { ++activations; }
    void OnBecomeInactive() override { ++deactivations; }
    void OnFrame() override { onFrame(frames++); }
    void CollectWindowProperties(WindowProperties& properties) override { collect(properties); }

    int closes = 0, activations = 0, deactivations = 0, frames = 0;
    bool contextAtOpen = false, visibleAtOpen = true;
    std::function<void(int frame)> onFrame = [](int) {};
    std::function<void(WindowProperties&)> collect = [](WindowProperties&) {};
};

// actions[i] runs as iteration i starts, before the queue is drained; the user closes at `closeAt`.
void Script(std::vector<std::function<void()>> actions, std::int64_t closeAt)
{
    Headless::SetIterationHook(
        [actions, closeAt](std::int64_t iteration)
        {
            if (iteration < std::int64_t(actions.size()) && actions[iteration])
                actions[iteration]();
            if (iteration == closeAt)
                Headless::PostUserClose();
        });
}

// The same with the messages (message, wParam, lParam) each iteration posts; the cursor is put at
// (10 i - 25, 5 - i) in client pixels, left of and below the window's origin at first.
using Posted = std::tuple<UINT, WPARAM, LPARAM>;
void ScriptMessages(const std::vector<std::vector<Posted>>& iterations, std::int64_t closeAt)
{
    std::vector<std::function<void()>> actions;
    for (std::size_t i = 0; i < iterations.size(); ++i)
        actions.push_back(
            [posts = iterations[i], i = LONG(i)]
            {
                Headless::SetCursorClientPosition(10 * i - 25, 5 - i);
                for (const auto& [message, wParam, lParam] : posts)
                    Headless::PostWindowMessage(message, wParam, lParam);
            });
    Script(actions, closeAt);
}

// A window procedure of the test's own, for a class registered under the layer's class name.
std::function<void(UINT)> theForeignProcedure;
LRESULT ForeignProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    theForeignProcedure(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(RealtimeWindowsApplication, OpenShowsAWindowOfExactlyTheCollectedClientSize)
{
    Headless::Reset();
    QuillmarkTest::RecordingErrorHandler errors;
    Handler handler;
    handler.collect = [](WindowProperties& properties)
    {
        EXPECT_EQ(properties.width, 1280);
        EXPECT_EQ(properties.height, 720);
        properties = {800, 600};
    };
    Headless::SetFrameMetrics(3, 26, 5, 7);
    RealtimeApplication application(handler);
    application.Open();
    EXPECT_TRUE(handler.contextAtOpen);
    EXPECT_FALSE(handler.visibleAtOpen) << "shown only after OnOpen";
    const Headless::WindowInfo window = Headless::GetWindowInfo(Headless::GetLatestWindow());
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
    EXPECT_EQ(errors.messages, Strings{});

    application.SetWindowTitle("Cinderpath2");
    EXPECT_EQ(Headless::GetWindowInfo(Headless::GetLatestWindow()).caption, "Cinderpath2");
}

TEST(RealtimeWindowsApplication, EachFrameSeesTheKeysAndCursorOfItsIterationUntilTheQuit)
{
    Headless::Reset();
    Handler handler;
    Pairs releases, cursor;  // (frame, key) for every key seen released; the cursor per frame
    std::vector<std::int64_t> swapsAtFrame;
    handler.onFrame = [&](int frame)
    {
        for (int key = 0; key < kKeyCount; ++key)
            if (IsKeyReleased(static_cast<Key>(key)))
                releases.emplace_back(frame, key);
        std::int32_t x = 0, y = 0;
        GetMousePosition(x, y);
        cursor.emplace_back(x, y);
        swapsAtFrame.push_back(Headless::GetSwapCount());
    };
    RealtimeApplication application(handler);
    application.Open();
    // A repeat of a key that is up presses nothing; pressed and released in one iteration leaves
    // no trace; keys outside the table (F1, Shift) and system keys change nothing. The messages
    // drained with the close are still dispatched; an activation counts by its whole value.
    ScriptMessages({{{WM_KEYDOWN, 'A', 1}},
                    {{WM_KEYDOWN, 'A', kRepeat}, {WM_KEYDOWN, 'A', kRepeat}},
                    {{WM_KEYUP, 'A', kUp}},
                    {{WM_KEYDOWN, VK_ESCAPE, kRepeat}, {WM_KEYDOWN, ' ', 1}, {WM_KEYUP, ' ', kUp}},
                    {{WM_KEYUP, VK_ESCAPE, kUp}},
                    {{WM_KEYDOWN, 0x70, 1}, {WM_KEYDOWN, 0x10, 1}, {WM_SYSKEYDOWN, 'B', 1}},
                    {{WM_KEYUP, 0x70, kUp}, {WM_KEYUP, 0x10, kUp}, {WM_SYSKEYUP, 'B', kUp}},
                    {{WM_KEYDOWN, VK_RETURN, 1}, {WM_LBUTTONDOWN, 0, 0}, {WM_RBUTTONDOWN, 0, 0}},
                    {{WM_KEYUP, VK_RETURN, kUp}, {WM_RBUTTONUP, 0, 0}},
                    {{WM_LBUTTONUP, 0, 0}},
                    {{WM_ACTIVATE, 0, 0}, {WM_ACTIVATE, 0x10000, 0}}},
                   10);
    application.Run();
    EXPECT_EQ(releases, (Pairs{{2, kKeyA}, {8, kKeyEnter}, {8, kMouseRight}, {9, kMouseLeft}}));
    Pairs ownCursor;  // where ScriptMessages put it in each frame's own iteration
    for (int i = 0; i < 10; ++i)
        ownCursor.emplace_back(10 * i - 25, 5 - i);
    EXPECT_EQ(cursor, ownCursor);
    EXPECT_EQ(handler.deactivations, 1);
    EXPECT_EQ(handler.activations, 1);
    EXPECT_EQ(handler.closes, 1);
    ASSERT_EQ(swapsAtFrame.size(), 10u);
    EXPECT_EQ(Headless::GetSwapCount(), swapsAtFrame.back() + 1);
}

TEST(RealtimeWindowsApplication, OpenReportsEachMisuseInOrderAndGoesOn)
{
    Handler one, two;
    RealtimeApplication first(one), second(two);
    // The reports a script makes on a fresh platform, the class name taken by `foreign` if given.
    const auto reportsOf = [&](std::function<void(UINT)> foreign, std::function<void()> script)
    {
        Headless::Reset();
        theForeignProcedure = foreign;
        WNDCLASSA foreignClass = {};
        foreignClass.lpfnWndProc = ForeignProcedure;
        foreignClass.lpszClassName = "QuillmarkApplication";
        if (foreign)
            RegisterClassA(&foreignClass);
        QuillmarkTest::RecordingErrorHandler errors;
        script();
        const Strings reports = errors.messages;
        Layer::Close(one);
        Layer::Close(two);
        return reports;
    };
    const auto openTwice = [&] { first.Open(), second.Open(); };
    EXPECT_EQ(reportsOf(nullptr, openTwice), (Strings{kSingle, kHandlerSet, kHandleUsed}));
    EXPECT_EQ(reportsOf(nullptr, [&] { first.Open(), first.Close(), second.Open(); }), Strings{});
    const auto openWhileRunning = [&] { second.Open(); };
    EXPECT_EQ(reportsOf(nullptr, [&] { first.Open(), Script({openWhileRunning}, 1), first.Run(); }),
              (Strings{kSingle, kHandlerSet,
                       "qmInternalError: Expected application not to be running at this moment.",
                       kHandleUsed}));
    // A procedure that never tells the layer of its window, then one that tells of another.
    const std::string match = "qmInternalError, Expected window handle to match.";
    EXPECT_EQ(reportsOf([](UINT) {}, [&] { first.Open(); }),
              (Strings{"qmInternalError, Expected window handle to be valid.", match}));
    const auto other = [](UINT message)
    {
        if (message == WM_CREATE)
            Layer::WindowProcedure(reinterpret_cast<HWND>(std::uintptr_t{7}), message, 0, 0);
    };
    EXPECT_EQ(reportsOf(other, [&] { first.Open(); }), Strings{match});
}

TEST(RealtimeWindowsApplication, RunAndCloseReportAHandlerOtherThanTheOpenedOne)
{
    Headless::Reset();
    Handler opened, other;
    RealtimeApplication application(opened);
    application.Open();
    QuillmarkTest::RecordingErrorHandler errors;
    Script({}, 1);
    Layer::Run(other);
    Layer::Close(other);
    EXPECT_EQ(errors.messages,
              (Strings{"qmInternalError: applicationHandler changed from Open() to Run().",
                       "qmInternalError: applicationHandler changed from Open() to Close()."}));
    EXPECT_EQ(opened.frames, 1) << "the loop runs the handler that was opened";
    EXPECT_EQ(other.frames, 0);
}

}  // namespace
