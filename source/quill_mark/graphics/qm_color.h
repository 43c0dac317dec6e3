// SPDX-License-Identifier: Zlib
// A colour made from one packed 0xAARRGGBB value, kept both packed and as four float channels so
// drawing passes the floats straight to OpenGL. Entirely constexpr, so the predefined colours are
// constant-initialised and safe to use from any static initialiser.
#pragma once

#include <cstdint>

namespace Quillmark::Graphics
{

class Color
{
public:
    // White: the colour that leaves a texture as it is.
    constexpr Color() : Color(0xFFFFFFFFu) {}
    constexpr explicit Color(std::uint32_t argb)
        : mAlpha(Channel(argb, 24)),
          mRed(Channel(argb, 16)),
          mGreen(Channel(argb, 8)),
          mBlue(Channel(argb, 0)),
          mArgb(argb)
    {
    }

    constexpr float GetAlpha() const { return mAlpha; }
    constexpr float GetRed() const { return mRed; }
    constexpr float GetGreen() const { return mGreen; }
    constexpr float GetBlue() const { return mBlue; }
    constexpr std::uint32_t GetArgb() const { return mArgb; }

    static const Color kWhite;
    static const Color kBlack;
    static const Color kRed;
    static const Color kGreen;
    static const Color kBlue;

private:
    // Each byte over 255 in double precision, then rounded once to float.
    static constexpr float Channel(std::uint32_t argb, int shift)
    {
        return static_cast<float>(((argb >> shift) & 0xFFu) / 255.0);
    }

    float mAlpha;
    float mRed;
    float mGreen;
    float mBlue;
    std::uint32_t mArgb;
};

inline constexpr Color Color::kWhite{0xFFFFFFFFu};
inline constexpr Color Color::kBlack{0xFF000000u};
inline constexpr Color Color::kRed{0xFFFF0000u};
inline constexpr Color Color::kGreen{0xFF00FF00u};
inline constexpr Color Color::kBlue{0xFF0000FFu};

}  // namespace Quillmark::Graphics
