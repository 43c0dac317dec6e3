// SPDX-License-Identifier: Zlib
// A desktop (compatibility) context without any surface, which Mesa allows through
// EGL_KHR_surfaceless_context; textures and their names need nothing more. Where the surfaceless
// platform is missing, the default EGL display is tried.
#include "quill_mark/platform/headless/qmi_offscreen_gl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace qmImplementation
{

namespace
{

EGLDisplay OpenDisplay()
{
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay != nullptr)
    {
        EGLDisplay display =
            getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr) == EGL_TRUE)
        {
            return display;
        }
    }
    EGLDisplay display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr) == EGL_TRUE)
    {
        return display;
    }
    return EGL_NO_DISPLAY;
}

// One display for the whole process: contexts come and go, the display stays initialised.
EGLDisplay TheDisplay()
{
    static const EGLDisplay display = OpenDisplay();
    return display;
}

}  // namespace

bool OffscreenGlContext::IsAvailable()
{
    return TheDisplay() != EGL_NO_DISPLAY;
}

void OffscreenGlContext::ReleaseCurrent()
{
    if (eglGetCurrentContext() != EGL_NO_CONTEXT)
    {
        eglMakeCurrent(eglGetCurrentDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
}

OffscreenGlContext::~OffscreenGlContext()
{
    if (mContext == nullptr)
    {
        return;
    }
    if (eglGetCurrentContext() == mContext)
    {
        ReleaseCurrent();
    }
    eglDestroyContext(mDisplay, mContext);
}

bool OffscreenGlContext::MakeCurrent()
{
    if (!mTried)
    {
        mTried = true;
        Create();
    }
    return mContext != nullptr &&
           eglMakeCurrent(mDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, mContext) == EGL_TRUE;
}

bool OffscreenGlContext::Create()
{
    EGLDisplay display = TheDisplay();
    if (display == EGL_NO_DISPLAY)
    {
        mError = "no EGL display could be initialised";
        return false;
    }
    mDisplay = display;
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE)
    {
        mError = "EGL offers no desktop OpenGL";
        return false;
    }
    const EGLint attributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    eglChooseConfig(display, attributes, &config, 1, &configCount);
    // Without a config the context is made configless, which Mesa supports as well.
    EGLContext context =
        eglCreateContext(display, configCount > 0 ? config : nullptr, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT)
    {
        mError = "eglCreateContext failed";
        return false;
    }
    mContext = context;
    return true;
}

}  // namespace qmImplementation
