// SPDX-License-Identifier: Zlib
// Test support for the text suites: DejaVu Sans (fonts-dejavu-core), copies of it damaged on
// purpose, and a text drawn alone on a cleared frame in the game loop's 2D state.
#pragma once

#include <string>

#include "graphics_test_fixture.h"
#include "quill_mark/graphics/qm_font.h"
#include "quill_mark/graphics/qm_text.h"

namespace QuillmarkTest
{

constexpr char kDejaVuSans[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// A TrueType file's big-endian 32-bit value at `at`.
inline std::size_t BigEndian32(const std::string& font, std::size_t at)
{
    std::size_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | std::uint8_t(font[at + i]);
    return value;
}

// Where a table of a TrueType file starts, from its directory; npos when it has none.
inline std::size_t TableOffset(const std::string& font, const char* tag)
{
    const std::size_t tables = std::size_t(std::uint8_t(font[4])) << 8 | std::uint8_t(font[5]);
    for (std::size_t i = 0; i < tables; ++i)
        if (font.compare(12 + 16 * i, 4, tag) == 0)
            return BigEndian32(font, 12 + 16 * i + 8);
    return std::string::npos;
}

class TextTest : public DrawingTest
{
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_FALSE(ReadBytes(kDejaVuSans).empty()) << "needs Debian's fonts-dejavu-core";
    }
    static std::array<int, 4> DrawnAt(const Quillmark::Graphics::Font& font,
                                      const std::string& text, float x, float y)
    {
        Quillmark::Graphics::Text drawn(font, text);
        drawn.SetPosition(x, y);
        return DrawnBox(DrawAlone(drawn));
    }
};

}  // namespace QuillmarkTest
