// Forced into every source file of a platform layer built for the switchable seam (the compiler's
// -include), with QM_LAYER_PREFIX set to the layer's prefix (qmSdl, qmScripted). It renames the
// seam's operations, the handle types the layer defines and the internal namespace, so that both
// layers and the dispatcher that owns the real names can live in one program; the layer's own
// files stay as they are. CrtRand is not renamed: the random sequence is one per process.
#pragma once

#include "quill_mark/platform/session/qmi_seam_handles.h"

#define QM_LAYER_JOIN(prefix, name) prefix##name
#define QM_LAYER_EXPAND(prefix, name) QM_LAYER_JOIN(prefix, name)
#define QM_LAYER_NAME(name) QM_LAYER_EXPAND(QM_LAYER_PREFIX, name)

// Types and namespace: each layer's windows, device contexts and contexts are its own.
#define HWND__ QM_LAYER_NAME(HWND__)
#define HDC__ QM_LAYER_NAME(HDC__)
#define HGLRC__ QM_LAYER_NAME(HGLRC__)
#define qmImplementation QM_LAYER_NAME(Implementation)

// The operations of qm_platform.h, in its order.
#define GetModuleHandleA QM_LAYER_NAME(GetModuleHandleA)
#define RegisterClassA QM_LAYER_NAME(RegisterClassA)
#define LoadIconA QM_LAYER_NAME(LoadIconA)
#define LoadCursorA QM_LAYER_NAME(LoadCursorA)
#define CreateWindowExA QM_LAYER_NAME(CreateWindowExA)
#define GetClientRect QM_LAYER_NAME(GetClientRect)
#define GetWindowRect QM_LAYER_NAME(GetWindowRect)
#define SetWindowPos QM_LAYER_NAME(SetWindowPos)
#define UpdateWindow QM_LAYER_NAME(UpdateWindow)
#define ShowWindow QM_LAYER_NAME(ShowWindow)
#define SetWindowTextA QM_LAYER_NAME(SetWindowTextA)
#define DestroyWindow QM_LAYER_NAME(DestroyWindow)
#define PeekMessageA QM_LAYER_NAME(PeekMessageA)
#define TranslateMessage QM_LAYER_NAME(TranslateMessage)
#define DispatchMessageA QM_LAYER_NAME(DispatchMessageA)
#define IsDialogMessageA QM_LAYER_NAME(IsDialogMessageA)
#define DefWindowProcA QM_LAYER_NAME(DefWindowProcA)
#define PostQuitMessage QM_LAYER_NAME(PostQuitMessage)
#define GetCursorPos QM_LAYER_NAME(GetCursorPos)
#define ScreenToClient QM_LAYER_NAME(ScreenToClient)
#define GetDC QM_LAYER_NAME(GetDC)
#define ReleaseDC QM_LAYER_NAME(ReleaseDC)
#define ChoosePixelFormat QM_LAYER_NAME(ChoosePixelFormat)
#define SetPixelFormat QM_LAYER_NAME(SetPixelFormat)
#define wglCreateContext QM_LAYER_NAME(wglCreateContext)
#define wglMakeCurrent QM_LAYER_NAME(wglMakeCurrent)
#define wglGetCurrentContext QM_LAYER_NAME(wglGetCurrentContext)
#define wglDeleteContext QM_LAYER_NAME(wglDeleteContext)
#define SwapBuffers QM_LAYER_NAME(SwapBuffers)
#define MessageBoxA QM_LAYER_NAME(MessageBoxA)
#define QueryPerformanceFrequency QM_LAYER_NAME(QueryPerformanceFrequency)
#define QueryPerformanceCounter QM_LAYER_NAME(QueryPerformanceCounter)
