// SPDX-License-Identifier: Zlib
// The window layer on the platform seam. The order of the steps, the checks and their messages,
// the flags and the handling of each message are what the rest of the framework relies on, so
// they stay as they are even where the platform underneath would tolerate others.
// Every check reports and then carries on; the few places that would otherwise call through a
// null handler skip that call instead.
#include "quill_mark/application/implementation/windows/qmi_realtime_windows_application.h"

#include <GL/gl.h>

#include <cstdint>
#include <set>

#include "quill_mark/application/implementation/qmi_input_state.h"
#include "quill_mark/core/qm_error.h"

namespace qmImplementation::RealtimeWindowsApplication
{

namespace Input = Quillmark::Application;

namespace
{

// Process-wide: one application, one window, one loop.
HWND theWindowHandle = nullptr;
ApplicationHandlerInterface* theApplicationHandler = nullptr;
bool isRunning = false;
bool hasApplication = false;
// Modeless dialogs that get first sight of every message; nothing in the system adds one.
std::set<HWND> dialogWindows;

constexpr char kWindowClassName[] = "QuillmarkApplication";
constexpr int kWindowX = 50;
constexpr int kWindowY = 50;
constexpr LPARAM kRepeatBit = LPARAM{1} << 30;

void RegisterWindowClass()
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // The system colour index used directly as the brush.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kWindowClassName;
    // A second Open() in the same process finds the class registered already; that is fine.
    RegisterClassA(&windowClass);
}

HWND CreateApplicationWindow(const Quillmark::Application::WindowProperties& properties)
{
    // Fixed size: can be minimised, but not maximised or resized.
    const DWORD style =
        WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    return CreateWindowExA(0, kWindowClassName, "Quillmark Project", style, kWindowX, kWindowY,
                           properties.width, properties.height, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// The window was created with the requested size as its outer size; grow it by the frame so
// that the client area gets exactly that size.
void FitClientArea(const Quillmark::Application::WindowProperties& properties)
{
    RECT clientRect = {};
    RECT windowRect = {};
    GetClientRect(theWindowHandle, &clientRect);
    GetWindowRect(theWindowHandle, &windowRect);
    const int outerWidth = (windowRect.right - windowRect.left) -
                           (clientRect.right - clientRect.left) + properties.width;
    const int outerHeight = (windowRect.bottom - windowRect.top) -
                            (clientRect.bottom - clientRect.top) + properties.height;
    SetWindowPos(theWindowHandle, nullptr, 0, 0, outerWidth, outerHeight,
                 SWP_NOMOVE | SWP_NOZORDER);
}

PIXELFORMATDESCRIPTOR DescribePixelFormat()
{
    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.nSize = static_cast<WORD>(sizeof(PIXELFORMATDESCRIPTOR));
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 32;
    descriptor.cDepthBits = 16;
    descriptor.cStencilBits = 8;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}

// No result is examined: a failed step leaves the window without OpenGL output.
void CreateOpenGLContext()
{
    HDC deviceContext = GetDC(theWindowHandle);
    const PIXELFORMATDESCRIPTOR descriptor = DescribePixelFormat();
    const int pixelFormat = ChoosePixelFormat(deviceContext, &descriptor);
    SetPixelFormat(deviceContext, pixelFormat, &descriptor);
    HGLRC context = wglCreateContext(deviceContext);
    wglMakeCurrent(deviceContext, context);
    ReleaseDC(theWindowHandle, deviceContext);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void ReadMousePosition()
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    ScreenToClient(theWindowHandle, &cursor);
    Input::SetMousePosition(cursor.x, cursor.y);
}

bool OfferToDialogWindows(MSG& message)
{
    for (HWND dialog : dialogWindows)
    {
        if (IsDialogMessageA(dialog, &message) != 0)
        {
            return true;
        }
    }
    return false;
}

void DrainMessageQueue()
{
    MSG message = {};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0)
    {
        if (message.message == WM_QUIT)
        {
            // Still passed on below, like every other message.
            isRunning = false;
        }
        if (!OfferToDialogWindows(message))
        {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void HandleKeyDown(WPARAM virtualKeyCode, LPARAM flags)
{
    Input::Key key;
    const bool isRepeat = (flags & kRepeatBit) != 0;
    if (virtualKeyCode <= UINT32_MAX && !isRepeat &&
        Input::FindKey(static_cast<std::uint32_t>(virtualKeyCode), key))
    {
        Input::PressKey(key);
    }
}

void HandleKeyUp(WPARAM virtualKeyCode)
{
    Input::Key key;
    if (virtualKeyCode <= UINT32_MAX &&
        Input::FindKey(static_cast<std::uint32_t>(virtualKeyCode), key))
    {
        Input::ReleaseKey(key);
    }
}

void HandleCreate(HWND window)
{
    qmTriggerErrorIf(theWindowHandle != nullptr,
                     "qmInternalError: Expected window handle to be unused at this moment.");
    theWindowHandle = window;
}

void HandleDestroy()
{
    if (theApplicationHandler != nullptr)
    {
        theApplicationHandler->OnClose();
    }
    PostQuitMessage(0);
}

void HandleActivate(WPARAM wParam)
{
    if (theApplicationHandler == nullptr)
    {
        return;
    }
    // The whole value is tested, not only its low word.
    if (wParam != 0)
    {
        theApplicationHandler->OnBecomeActive();
    }
    else
    {
        theApplicationHandler->OnBecomeInactive();
    }
}

// Presents what is already in the back buffer; nothing new is drawn.
void HandlePaint(HWND window)
{
    HDC deviceContext = GetDC(window);
    SwapBuffers(deviceContext);
    ReleaseDC(window, deviceContext);
}

}  // namespace

void Open(ApplicationHandlerInterface& applicationHandler)
{
    qmTriggerErrorIf(
        hasApplication,
        "qmExternalError: Quillmark currently supports only a single application at a time.");
    qmTriggerErrorIf(theApplicationHandler != nullptr,
                     "qmInternalError: Expected application handler to by null at this moment.");
    qmTriggerErrorIf(isRunning,
                     "qmInternalError: Expected application not to be running at this moment.");

    Quillmark::Application::WindowProperties properties;
    hasApplication = true;
    theApplicationHandler = &applicationHandler;
    applicationHandler.CollectWindowProperties(properties);

    RegisterWindowClass();
    HWND createdWindow = CreateApplicationWindow(properties);
    qmTriggerErrorIf(theWindowHandle == nullptr,
                     "qmInternalError, Expected window handle to be valid.");
    qmTriggerErrorIf(theWindowHandle != createdWindow,
                     "qmInternalError, Expected window handle to match.");
    FitClientArea(properties);

    Input::BuildKeyTable();
    CreateOpenGLContext();
    applicationHandler.OnOpen();

    UpdateWindow(theWindowHandle);
    ShowWindow(theWindowHandle, SW_SHOW);
}

void Run(ApplicationHandlerInterface& applicationHandler)
{
    qmTriggerErrorIf(&applicationHandler != theApplicationHandler,
                     "qmInternalError: applicationHandler changed from Open() to Run().");
    // With no open application, or no window because none could be made, no message can ever
    // end the loop: it is left at once instead of spinning for ever.
    if (theApplicationHandler == nullptr || theWindowHandle == nullptr)
    {
        return;
    }

    // Released through the window it came from, even if Close() forgets that window meanwhile.
    HWND loopWindow = theWindowHandle;
    HDC deviceContext = GetDC(loopWindow);
    isRunning = true;
    do
    {
        Input::BeginInputFrame();
        ReadMousePosition();
        DrainMessageQueue();
        if (!isRunning)
        {
            break;
        }
        // Read afresh: a callback may have closed the application meanwhile.
        if (theApplicationHandler != nullptr)
        {
            theApplicationHandler->OnFrame();
        }
        SwapBuffers(deviceContext);
    } while (isRunning);
    ReleaseDC(loopWindow, deviceContext);
}

void Close(ApplicationHandlerInterface& applicationHandler)
{
    qmTriggerErrorIf(&applicationHandler != theApplicationHandler,
                     "qmInternalError: applicationHandler changed from Open() to Close().");

    HDC deviceContext = GetDC(theWindowHandle);
    HGLRC context = wglGetCurrentContext();
    wglMakeCurrent(deviceContext, nullptr);
    wglDeleteContext(context);
    ReleaseDC(theWindowHandle, deviceContext);

    // The window procedure raises OnClose and posts the quit message meanwhile.
    DestroyWindow(theWindowHandle);

    isRunning = false;
    hasApplication = false;
    theApplicationHandler = nullptr;
    theWindowHandle = nullptr;
}

bool HasWindow()
{
    return theWindowHandle != nullptr;
}

void SetWindowTitle(const std::string& title)
{
    SetWindowTextA(theWindowHandle, title.c_str());
}

bool OpenMessageBox(const std::string& title, const std::string& message,
                    const std::string& /*confirmLabel*/, const std::string& cancelLabel)
{
    const UINT style = cancelLabel.empty() ? MB_OK : MB_OKCANCEL;
    return MessageBoxA(theWindowHandle, message.c_str(), title.c_str(), style) == IDOK;
}

LRESULT WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    qmTriggerErrorIf(
        theApplicationHandler == nullptr,
        "qmInternalError: Expected to have a valid ApplicationHandler at this moment.");
    switch (message)
    {
        case WM_CREATE:
            HandleCreate(window);
            break;
        case WM_DESTROY:
            HandleDestroy();
            break;
        case WM_ACTIVATE:
            HandleActivate(wParam);
            break;
        case WM_PAINT:
            HandlePaint(window);
            break;
        case WM_KEYDOWN:
            HandleKeyDown(wParam, lParam);
            break;
        case WM_KEYUP:
            HandleKeyUp(wParam);
            break;
        case WM_LBUTTONDOWN:
            Input::PressKey(Input::kMouseLeft);
            break;
        case WM_LBUTTONUP:
            Input::ReleaseKey(Input::kMouseLeft);
            break;
        case WM_RBUTTONDOWN:
            Input::PressKey(Input::kMouseRight);
            break;
        case WM_RBUTTONUP:
            Input::ReleaseKey(Input::kMouseRight);
            break;
        case WM_MBUTTONDOWN:
            Input::PressKey(Input::kMouseMiddle);
            break;
        case WM_MBUTTONUP:
            Input::ReleaseKey(Input::kMouseMiddle);
            break;
        default:
            break;
    }
    // Everything still gets the default handling: closing destroys the window, paint is
    // validated.
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace qmImplementation::RealtimeWindowsApplication
