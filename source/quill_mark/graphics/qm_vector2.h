// SPDX-License-Identifier: Zlib
// A pair of 32-bit floats: positions, origins and scales of graphics, in window pixels or factors.
// A plain value; no arithmetic is offered because nothing in the framework needs it.
#pragma once

namespace Quillmark::Graphics
{

struct Vector2
{
    constexpr Vector2() = default;
    constexpr Vector2(float xValue, float yValue) : x(xValue), y(yValue) {}

    float x = 0.0f;
    float y = 0.0f;
};

}  // namespace Quillmark::Graphics
