// SPDX-License-Identifier: Zlib
// One font file baked at one pixel height: its glyphs rasterised into an atlas texture made through
// the texture manager, their metrics, and the layout of UTF-8 text into quads on that atlas. Shared
// (read-only but for the once-only reports) by every Font and Text that use it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

#include "quill_mark/graphics/implementation/qmi_truetype_file.h"
#include "quill_mark/graphics/qm_texture_manager.h"
#include "quill_mark/graphics/qm_vector2.h"

namespace qmImplementation
{

struct BakedGlyph
{
    int glyph = 0;
    float advance = 0.0f;
    // The bitmap's top-left corner from the pen on the baseline, and its size, in pixels.
    int left = 0, top = 0, width = 0, height = 0;
    float uvLeft = 0.0f, uvTop = 0.0f, uvRight = 0.0f, uvBottom = 0.0f;
};

// A glyph placed in laid-out text: its top-left pixel from the text's top-left corner.
struct PlacedGlyph
{
    const BakedGlyph* glyph;
    float x, y;
};

class BakedFont
{
public:
    BakedFont(const std::string& filePath, int pixelHeight, const std::string& extraCharacters);

    bool IsLoaded() const { return mLoaded; }
    const std::string& GetFilePath() const { return mFilePath; }
    int GetPixelHeight() const { return mPixelHeight; }
    float GetLineHeight() const { return mLineHeight; }
    Quillmark::Graphics::TextureHandle GetTexture() const { return mTexture; }

    // Lays the text out line by line ("\n" breaks a line; "\r" is ignored), kerning each pair, and
    // hands every glyph with pixels to `place`. The size is the widest line's advance by the line
    // count times the line height; (0, 0) for empty text or a font that did not load.
    Quillmark::Graphics::Vector2 Layout(const std::string& utf8,
                                        const std::function<void(const PlacedGlyph&)>& place) const;

private:
    bool ReadFile();
    void Bake(const std::string& extraCharacters);
    const BakedGlyph& Find(std::uint32_t codepoint) const;

    std::string mFilePath;
    int mPixelHeight;
    bool mLoaded = false;
    TrueTypeFile mFile;
    float mScale = 0.0f, mAscent = 0.0f, mLineHeight = 0.0f;
    std::unordered_map<std::uint32_t, BakedGlyph> mGlyphs;
    BakedGlyph mMissing;
    Quillmark::Graphics::TextureHandle mTexture = Quillmark::Graphics::kInvalidTexture;
    mutable bool mMissingReported = false;
};

}  // namespace qmImplementation
