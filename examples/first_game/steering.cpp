// SPDX-License-Identifier: Zlib
// The steering's one step. The stick is read as the input state gives it (past its dead zone,
// y downwards like the window), so a pad at rest leaves the point where the mouse put it.
#include "steering.h"

#include <algorithm>

#include "quill_mark/application/qm_input_state.h"

namespace FirstGame
{

namespace
{
constexpr float kWindowWidth = 1280.0f;
constexpr float kWindowHeight = 720.0f;
}  // namespace

Quillmark::Graphics::Vector2 Steering::Step(float seconds)
{
    using namespace Quillmark::Application;
    std::int32_t cursorX = 0;
    std::int32_t cursorY = 0;
    GetMousePosition(cursorX, cursorY);
    if (!mHasCursor || cursorX != mCursorX || cursorY != mCursorY)
    {
        mHasCursor = true;
        mCursorX = cursorX;
        mCursorY = cursorY;
        mTarget = {static_cast<float>(cursorX), static_cast<float>(cursorY)};
    }
    for (int slot = 0; slot < kGamepadSlotCount; ++slot)
    {
        if (!IsGamepadConnected(slot))
        {
            continue;
        }
        const float right = GetGamepadAxis(slot, kGamepadLeftStickX);
        const float down = GetGamepadAxis(slot, kGamepadLeftStickY);
        if (right != 0.0f || down != 0.0f)
        {
            mTarget.x = std::clamp(mTarget.x + right * kStickSpeed * seconds, 0.0f, kWindowWidth);
            mTarget.y = std::clamp(mTarget.y + down * kStickSpeed * seconds, 0.0f, kWindowHeight);
        }
        break;
    }
    return mTarget;
}

}  // namespace FirstGame
