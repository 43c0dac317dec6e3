// SPDX-License-Identifier: Zlib
// An OpenGL context with no window and no display server, behind a headless context while a
// replay loads the game's textures (and for the sprite-sheet fuzzer): textures are made exactly
// as on a screen, while drawing goes nowhere and costs little. EGL on Linux, WGL on Windows.
#pragma once

#include <string>

namespace qmImplementation
{

class OffscreenGlContext
{
public:
    OffscreenGlContext() = default;
    ~OffscreenGlContext();
    OffscreenGlContext(const OffscreenGlContext&) = delete;
    OffscreenGlContext& operator=(const OffscreenGlContext&) = delete;

    // Whether this machine can make such contexts at all.
    static bool IsAvailable();
    // Leaves the thread with no current context.
    static void ReleaseCurrent();

    // Creates the context on first use. False when none could be had; Error() says which step.
    bool MakeCurrent();
    const std::string& Error() const { return mError; }

private:
    bool Create();

    void* mDisplay = nullptr;
    void* mContext = nullptr;
    bool mTried = false;
    std::string mError;
};

}  // namespace qmImplementation
