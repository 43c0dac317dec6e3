// SPDX-License-Identifier: Zlib
// Sprite frames (one rectangle of one texture, with its texture coordinates) and the sprite that
// draws a frame as a textured, coloured quad about an origin, scaled and rotated. Frames and
// sprites are plain values; the texture stays the texture manager's.
#pragma once

#include "quill_mark/graphics/qm_color.h"
#include "quill_mark/graphics/qm_graphic.h"
#include "quill_mark/graphics/qm_texture_manager.h"
#include "quill_mark/graphics/qm_vector2.h"

namespace Quillmark::Graphics
{

struct SpriteFrame
{
    float x = 0.0f;  // left edge, texture pixels
    float y = 0.0f;  // top edge, texture pixels (row 0 is the image's top row)
    float width = 0.0f;
    float height = 0.0f;
    float uvLeft = 0.0f;
    float uvTop = 0.0f;
    float uvRight = 0.0f;
    float uvBottom = 0.0f;
    TextureHandle texture = kInvalidTexture;
};

// A frameWidth or frameHeight of 0 means the texture's whole width or height. Every check
// reports and the frame is built all the same; along an axis where the texture measures 0 (no
// texture, an unknown handle, an image that failed to load) the texture coordinates are 0.
SpriteFrame CreateSpriteFrame(const TextureHandle& texture, const PixelSpace& frameX,
                              const PixelSpace& frameY, const PixelSpace& frameWidth,
                              const PixelSpace& frameHeight);

// Where on the frame the origin goes. Any other value counts as the centre.
enum AnchorLocation : int
{
    kAnchorCenter = 0,
    kAnchorTopLeft = 1,
    kAnchorTopCenter = 2,
    kAnchorTopRight = 3,
    kAnchorCenterLeft = 4,
    kAnchorCenterRight = 5,
    kAnchorBottomLeft = 6,
    kAnchorBottomCenter = 7,
    kAnchorBottomRight = 8,
};

// The point of a width x height box that the anchor names, from the box's top-left corner.
Vector2 GetAnchorPoint(const AnchorLocation& anchor, float width, float height);

class Sprite : public Graphic
{
public:
    // Centred origin, scale (1, 1), no rotation, white.
    explicit Sprite(const SpriteFrame& frame);

    void SetOrigin(const AnchorLocation& anchor);
    // Multiplies the texture's colours (and alpha); white shows the texture as it is.
    void SetColor(const Color& color) { mColor = color; }
    // Factors along x and y; 1 draws the frame one texture pixel per window pixel.
    void SetScale(float x, float y) { mScale = Vector2(x, y); }
    // Degrees about the z axis; positive turns clockwise on screen (y grows downwards).
    void SetRotation(float degrees) { mRotation = degrees; }

    // In unscaled frame pixels from the frame's top-left corner: the point placed on the
    // position, and the pivot of scaling and rotation.
    const Vector2& GetOrigin() const { return mOrigin; }
    const Vector2& GetScale() const { return mScale; }
    float GetRotation() const { return mRotation; }
    const SpriteFrame& GetFrame() const { return mFrame; }
    const Color& GetColor() const { return mColor; }

    void OnRender() override;

private:
    Vector2 mOrigin;
    Vector2 mScale{1.0f, 1.0f};
    float mRotation = 0.0f;
    SpriteFrame mFrame;
    Color mColor;
};

}  // namespace Quillmark::Graphics
