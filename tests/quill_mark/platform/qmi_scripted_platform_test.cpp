// The message semantics both platform layers promise the window layer, checked on the shared
// queue and on the scripted layer: creation and destruction are told before the call returns,
// closing destroys, quit comes after what was queued, paint repeats until validated, stale
// handles are harmless, and the scripted controls (iteration hook, counter, log) behave.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quill_mark/platform/implementation/qmi_message_queue.h"
#include "quill_mark/platform/implementation/qmi_window_class_table.h"
#include "quill_mark/platform/qm_platform.h"
#include "quill_mark/platform/scripted/qmi_scripted_platform.h"

namespace
{

namespace Scripted = qmImplementation::ScriptedPlatform;

std::vector<UINT> theDelivered;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    theDelivered.push_back(message);
    if (message == WM_DESTROY)
    {
        PostQuitMessage(7);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateTestWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProcedure;
    windowClass.lpszClassName = "TestClass";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "testclass", "Caption", 0, 10, 20, 300, 200, nullptr, nullptr,
                           nullptr, nullptr);
}

std::vector<UINT> DrainAndDispatch()
{
    std::vector<UINT> taken;
    MSG message = {};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0)
    {
        taken.push_back(message.message);
        DispatchMessageA(&message);
    }
    return taken;
}

TEST(MessageQueue, HandsOutPostedThenQuitThenPaintUntilValidated)
{
    qmImplementation::MessageQueue queue;
    HWND window = reinterpret_cast<HWND>(std::uintptr_t{0x1000});
    MSG message = {};
    EXPECT_FALSE(queue.Retrieve(message));

    queue.Invalidate(window);
    queue.PostQuit(3);
    queue.Post(window, WM_KEYDOWN, 'A', 1);
    queue.Post(window, WM_KEYUP, 'A', 2);

    std::vector<UINT> order;
    for (int i = 0; i < 5 && queue.Retrieve(message); ++i)
    {
        order.push_back(message.message);
    }
    const std::vector<UINT> expected = {WM_KEYDOWN, WM_KEYUP, WM_QUIT, WM_PAINT, WM_PAINT};
    EXPECT_EQ(order, expected);
    queue.Validate(window);
    EXPECT_FALSE(queue.Retrieve(message));
}

TEST(WindowClassTable, FindsNamesIgnoringCaseAndRefusesDuplicates)
{
    qmImplementation::WindowClassTable table;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProcedure;
    windowClass.style = 3;
    std::string name = "QuillmarkApplication";
    windowClass.lpszClassName = name.c_str();
    EXPECT_NE(table.Register(windowClass), 0);
    name = "changed after registering";  // the table keeps its own copy of the name

    const qmImplementation::RegisteredWindowClass* found = table.Find("QUILLMARKAPPLICATION");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->name, "QuillmarkApplication");
    EXPECT_EQ(found->windowClass.style, 3u);
    windowClass.lpszClassName = "quillmarkapplication";
    EXPECT_EQ(table.Register(windowClass), 0);
    EXPECT_EQ(table.Find(nullptr), nullptr);
}

TEST(ScriptedPlatform, CreationAndDestructionAreToldBeforeTheCallsReturn)
{
    HWND window = CreateTestWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(theDelivered, std::vector<UINT>{WM_CREATE});

    Scripted::PostKeyDown('Q');
    Scripted::PostUserClose();
    Scripted::PostKeyUp('Q');
    // The close destroys the window while it is dispatched; the key-up queued after it has no
    // window left, and the quit comes once everything queued was taken.
    const std::vector<UINT> taken = DrainAndDispatch();
    const std::vector<UINT> expectedTaken = {WM_KEYDOWN, WM_CLOSE, WM_KEYUP, WM_QUIT};
    EXPECT_EQ(taken, expectedTaken);
    const std::vector<UINT> expectedDelivered = {WM_CREATE, WM_KEYDOWN, WM_CLOSE, WM_DESTROY};
    EXPECT_EQ(theDelivered, expectedDelivered);
    EXPECT_TRUE(Scripted::GetWindowInfo(window).destroyed);

    // Stale handles fail quietly.
    RECT rect = {};
    EXPECT_EQ(DestroyWindow(window), 0);
    EXPECT_EQ(GetClientRect(window, &rect), 0);
    EXPECT_EQ(GetDC(window), nullptr);
    EXPECT_EQ(SetWindowTextA(window, "x"), 0);
    EXPECT_EQ(SwapBuffers(nullptr), 0);
    EXPECT_EQ(
        CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
        nullptr);
}

TEST(ScriptedPlatform, ContextsNeedAPixelFormatAndFollowMakeCurrent)
{
    HWND window = CreateTestWindow();
    HDC deviceContext = GetDC(window);
    EXPECT_EQ(wglCreateContext(deviceContext), nullptr);

    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.cDepthBits = 24;
    const int format = ChoosePixelFormat(deviceContext, &descriptor);
    EXPECT_EQ(SetPixelFormat(deviceContext, format, &descriptor), 1);
    EXPECT_EQ(SetPixelFormat(deviceContext, format, &descriptor), 0) << "set once only";
    EXPECT_EQ(Scripted::GetWindowInfo(window).pixelFormatDescriptor.cDepthBits, 24);

    HGLRC context = wglCreateContext(deviceContext);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr) << "creating does not make current";
    EXPECT_EQ(wglMakeCurrent(deviceContext, context), 1);
    EXPECT_EQ(wglGetCurrentContext(), context);
    EXPECT_EQ(wglDeleteContext(context), 1);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(wglDeleteContext(context), 0);
    EXPECT_EQ(wglMakeCurrent(deviceContext, context), 0);

    EXPECT_EQ(ReleaseDC(nullptr, deviceContext), 0) << "released through another window";
    EXPECT_EQ(ReleaseDC(window, deviceContext), 1);
    EXPECT_EQ(ReleaseDC(window, deviceContext), 0);
}

TEST(ScriptedPlatform, IterationHookScriptsEachLoopTurnAndMayRemoveItself)
{
    HWND window = CreateTestWindow();
    LARGE_INTEGER frequency = {};
    LARGE_INTEGER start = {};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    EXPECT_EQ(frequency.QuadPart, 10000000);

    std::vector<std::int64_t> seen;
    Scripted::SetIterationHook(
        [&seen](std::int64_t iteration)
        {
            seen.push_back(iteration);
            Scripted::AdvanceCounterSeconds(0.01);
            Scripted::SetCursorClientPosition(static_cast<LONG>(iteration), -1);
            if (iteration == 2)
            {
                Scripted::SetIterationHook(nullptr);
            }
        });
    POINT cursor = {};
    for (int i = 0; i < 4; ++i)
    {
        GetCursorPos(&cursor);
        ScreenToClient(window, &cursor);
    }
    EXPECT_EQ(seen, (std::vector<std::int64_t>{0, 1, 2}));
    EXPECT_EQ(Scripted::GetIterationCount(), 4);
    EXPECT_EQ(cursor.x, 2);
    EXPECT_EQ(cursor.y, -1);
    LARGE_INTEGER now = {};
    QueryPerformanceCounter(&now);
    EXPECT_EQ(now.QuadPart - start.QuadPart, 300000);
}

TEST(ScriptedPlatform, CallLogStaysWithinItsCapacity)
{
    Scripted::SetCallLogCapacity(5);
    MSG message = {};
    for (int i = 0; i < 100; ++i)
    {
        PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
    }
    EXPECT_EQ(Scripted::GetCallLog().size(), 5u);
    EXPECT_EQ(Scripted::GetDroppedCallCount(), 95);
    EXPECT_STREQ(Scripted::GetCallName(Scripted::GetCallLog()[0].call), "PeekMessageA");

    Scripted::SetCallLogCapacity(0);
    Scripted::ClearCallLog();
    PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
    EXPECT_TRUE(Scripted::GetCallLog().empty());
}

TEST(ScriptedPlatform, MessageBoxesAreAnsweredInOrderAndRecorded)
{
    Scripted::QueueMessageBoxAnswer(IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "text", nullptr, MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, "caption", MB_OK), IDOK);
    Scripted::SetDefaultMessageBoxAnswer(0);
    EXPECT_EQ(MessageBoxA(nullptr, "", "", MB_OK), 0);

    const std::vector<Scripted::MessageBoxRecord>& boxes = Scripted::GetMessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].type, MB_OKCANCEL);
    EXPECT_EQ(boxes[1].text, "");
    EXPECT_EQ(Scripted::GetMessageBoxCount(), 3);
}

}  // namespace
