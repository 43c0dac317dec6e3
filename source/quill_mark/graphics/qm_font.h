// SPDX-License-Identifier: Zlib
// A TrueType font baked at one pixel height: its glyphs are rasterised once into an atlas texture
// (made through the texture manager, so the same file, size and characters share one texture),
// and strings are measured or drawn (by Text) from it. The same reader works on every platform.
#pragma once

#include <memory>
#include <string>

#include "quill_mark/graphics/qm_texture_manager.h"
#include "quill_mark/graphics/qm_vector2.h"

namespace qmImplementation
{
class BakedFont;
}  // namespace qmImplementation

namespace Quillmark::Graphics
{

class Text;

// A value that shares its baked font: copies are cheap and all draw from the one atlas.
class Font
{
public:
    // No font: measures every string as (0, 0) and draws nothing.
    Font();
    // Reads the file (resolved against the working directory) and bakes printable ASCII, Latin-1,
    // Latin Extended-A, typographic quotes, the ellipsis and the euro sign, plus any characters
    // listed in `extraCharacters` (UTF-8), at `pixelHeight` pixels from the highest ascender to
    // the lowest descender (1 to 512; outside that it is reported and clamped). A file that cannot
    // be read or is not a TrueType font it can read is reported, and text in it draws nothing.
    // Characters that were not baked (the font lacks them, or they were not listed) are drawn as
    // the font's missing-glyph shape, and the first one is reported, once per font.
    Font(const std::string& filePath, int pixelHeight, const std::string& extraCharacters = "");

    bool IsLoaded() const;
    // The size a Text of this string would have at scale 1, in pixels: the widest line's advance
    // (kerning included) by the number of lines ("\n" breaks a line) times the line height. Empty
    // strings measure (0, 0). Draws nothing.
    Vector2 Measure(const std::string& utf8) const;
    // From one baseline to the next, in pixels.
    float GetLineHeight() const;
    int GetPixelHeight() const;
    const std::string& GetFilePath() const;
    // The atlas; kInvalidTexture when the font did not load.
    TextureHandle GetTexture() const;

private:
    friend class Text;
    std::shared_ptr<const qmImplementation::BakedFont> mBaked;
};

}  // namespace Quillmark::Graphics
