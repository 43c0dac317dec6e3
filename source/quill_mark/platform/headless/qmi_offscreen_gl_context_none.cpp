// SPDX-License-Identifier: Zlib
// Where no OpenGL context can be had without a window (a browser page, whose one context is its
// canvas's): the headless layer stays bookkeeping only, and says why when asked.
#include "quill_mark/platform/headless/qmi_offscreen_gl_context.h"

namespace qmImplementation
{

bool OffscreenGlContext::IsAvailable()
{
    return false;
}

void OffscreenGlContext::ReleaseCurrent() {}

OffscreenGlContext::~OffscreenGlContext() = default;

bool OffscreenGlContext::MakeCurrent()
{
    if (!mTried)
    {
        mTried = true;
        Create();
    }
    return mContext != nullptr;
}

bool OffscreenGlContext::Create()
{
    mDisplay = nullptr;
    mError = "no OpenGL context without a window here";
    return false;
}

}  // namespace qmImplementation
