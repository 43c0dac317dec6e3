// SPDX-License-Identifier: Zlib
// A line or lines of text in the scene graph, drawn like a sprite: a position, an origin chosen by
// anchor on the text's measured box, a scale, a rotation, a colour, a depth and visibility. The
// glyphs come from a Font's atlas; the layout is worked out when the string or font changes.
#pragma once

#include <string>
#include <vector>

#include "quill_mark/graphics/qm_color.h"
#include "quill_mark/graphics/qm_font.h"
#include "quill_mark/graphics/qm_graphic.h"
#include "quill_mark/graphics/qm_sprite.h"
#include "quill_mark/graphics/qm_vector2.h"

namespace Quillmark::Graphics
{

class Text : public Graphic
{
public:
    // Top-left origin, scale (1, 1), no rotation, white; a Text without a font draws nothing.
    Text();
    explicit Text(const Font& font, const std::string& utf8 = std::string());

    // UTF-8; "\n" starts a new line, left-aligned under the first.
    void SetString(const std::string& utf8);
    void SetFont(const Font& font);
    // The origin follows the anchor when the string or the font changes the text's size.
    void SetOrigin(const AnchorLocation& anchor);
    // Multiplies the glyphs' white; the alpha fades the whole text.
    void SetColor(const Color& color) { mColor = color; }
    void SetScale(float x, float y) { mScale = Vector2(x, y); }
    // Degrees about the origin; positive turns clockwise on screen.
    void SetRotation(float degrees) { mRotation = degrees; }

    const std::string& GetString() const { return mString; }
    const Font& GetFont() const { return mFont; }
    // The measured size at scale 1 (Font::Measure of the string).
    const Vector2& GetSize() const { return mSize; }
    // In unscaled pixels from the text's top-left corner.
    const Vector2& GetOrigin() const { return mOrigin; }
    const Vector2& GetScale() const { return mScale; }
    float GetRotation() const { return mRotation; }
    const Color& GetColor() const { return mColor; }

    void OnRender() override;

private:
    struct Quad
    {
        float x, y, width, height, uvLeft, uvTop, uvRight, uvBottom;
    };
    void Relayout();

    Font mFont;
    std::string mString;
    AnchorLocation mAnchor = kAnchorTopLeft;
    Vector2 mOrigin;
    Vector2 mScale{1.0f, 1.0f};
    float mRotation = 0.0f;
    Color mColor;
    Vector2 mSize;
    std::vector<Quad> mQuads;
};

}  // namespace Quillmark::Graphics
