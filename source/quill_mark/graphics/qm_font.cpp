// SPDX-License-Identifier: Zlib
// Font values forward to the shared baked font; an empty Font answers as one that did not load.
#include "quill_mark/graphics/qm_font.h"

#include "quill_mark/graphics/implementation/qmi_baked_font.h"

namespace Quillmark::Graphics
{

namespace
{

const std::string kNoFilePath;

}  // namespace

Font::Font() = default;

Font::Font(const std::string& filePath, int pixelHeight, const std::string& extraCharacters)
    : mBaked(std::make_shared<qmImplementation::BakedFont>(filePath, pixelHeight, extraCharacters))
{
}

bool Font::IsLoaded() const
{
    return mBaked && mBaked->IsLoaded();
}

Vector2 Font::Measure(const std::string& utf8) const
{
    return mBaked ? mBaked->Layout(utf8, [](const qmImplementation::PlacedGlyph&) {}) : Vector2();
}

float Font::GetLineHeight() const
{
    return mBaked ? mBaked->GetLineHeight() : 0.0f;
}

int Font::GetPixelHeight() const
{
    return mBaked ? mBaked->GetPixelHeight() : 0;
}

const std::string& Font::GetFilePath() const
{
    return mBaked ? mBaked->GetFilePath() : kNoFilePath;
}

TextureHandle Font::GetTexture() const
{
    return mBaked ? mBaked->GetTexture() : kInvalidTexture;
}

}  // namespace Quillmark::Graphics
