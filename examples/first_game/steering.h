// SPDX-License-Identifier: Zlib
// Where the firefly heads: the mouse cursor, or a point a gamepad's left stick moves. Moving the
// mouse brings the point back under the cursor; pushing the stick of the first connected pad
// moves it from wherever it is, at up to kStickSpeed pixels a second, within the window.
#pragma once

#include <cstdint>

#include "quill_mark/graphics/qm_vector2.h"

namespace FirstGame
{

class Steering
{
public:
    static constexpr float kStickSpeed = 600.0f;

    // One fixed step of the given seconds; the point to head for, in window pixels.
    Quillmark::Graphics::Vector2 Step(float seconds);

private:
    bool mHasCursor = false;
    std::int32_t mCursorX = 0;
    std::int32_t mCursorY = 0;
    Quillmark::Graphics::Vector2 mTarget;
};

}  // namespace FirstGame
