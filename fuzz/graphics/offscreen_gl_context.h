// An OpenGL context without a window or an X display: EGL on Mesa's surfaceless platform (or the
// default EGL display where that is missing), made current on construction. Fuzzers that create
// textures use it, so they run headless wherever Mesa is installed.
#pragma once

#include <string>

namespace QuillmarkFuzz
{

class OffscreenGlContext
{
public:
    OffscreenGlContext();
    ~OffscreenGlContext();
    OffscreenGlContext(const OffscreenGlContext&) = delete;
    OffscreenGlContext& operator=(const OffscreenGlContext&) = delete;

    // False when no context could be made current; Error() then says which step failed.
    bool IsValid() const { return mContext != nullptr; }
    const std::string& Error() const { return mError; }

private:
    void* mDisplay = nullptr;
    void* mContext = nullptr;
    std::string mError;
};

}  // namespace QuillmarkFuzz
