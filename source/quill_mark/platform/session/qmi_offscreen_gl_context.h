// An OpenGL context with no window and no display server (EGL on Mesa's surfaceless platform),
// for a headless replay: the game creates its textures exactly as it did when it was recorded,
// while its drawing goes to no surface and costs little. Made current and released on request.
#pragma once

#include <string>

namespace qmImplementation::Session
{

class OffscreenGlContext
{
public:
    OffscreenGlContext() = default;
    ~OffscreenGlContext();
    OffscreenGlContext(const OffscreenGlContext&) = delete;
    OffscreenGlContext& operator=(const OffscreenGlContext&) = delete;

    // Creates the context on first use. False when none could be had; Error() says which step.
    bool MakeCurrent();
    void Release();
    const std::string& Error() const { return mError; }

private:
    bool Create();

    void* mDisplay = nullptr;
    void* mContext = nullptr;
    bool mTried = false;
    std::string mError;
};

}  // namespace qmImplementation::Session
