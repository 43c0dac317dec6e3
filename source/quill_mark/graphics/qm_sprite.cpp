// SPDX-License-Identifier: Zlib
// Making sprite frames against their texture's size, and drawing a sprite in immediate mode. The
// texture coordinates are worked out once, when the frame is made, so drawing divides nothing.
#include "quill_mark/graphics/qm_sprite.h"

#include <GL/gl.h>

#include "quill_mark/core/qm_error.h"

namespace Quillmark::Graphics
{

namespace
{

// A texture measuring 0 along an axis has nothing to address there; 0 keeps the coordinates
// finite instead of the infinities and NaNs of a division by zero.
float TextureCoordinate(float pixel, int textureSize)
{
    return textureSize == 0 ? 0.0f : pixel / static_cast<float>(textureSize);
}

// Signed, so that a frame larger than its texture gives a negative room and fails the checks.
void CheckFrameFits(int frameX, int frameY, int frameWidth, int frameHeight, int textureWidth,
                    int textureHeight)
{
    qmTriggerErrorIf(
        frameWidth > textureWidth,
        "qmExternalError: Expected frameWidth to be less than or equal to textureWidth");
    qmTriggerErrorIf(
        frameHeight > textureHeight,
        "qmExternalError: Expected frameHeight to be less than or equal to textureHeight");
    qmTriggerErrorIf(
        frameX > textureWidth - frameWidth,
        "qmExternalError: Expected frameX location to allow frame (width) to fit on texture.");
    qmTriggerErrorIf(
        frameY > textureHeight - frameHeight,
        "qmExternalError: Expected frameY location to allow frame (height) to fit on texture.");
}

}  // namespace

Vector2 GetAnchorPoint(const AnchorLocation& anchor, float width, float height)
{
    switch (anchor)
    {
        case kAnchorTopLeft:
            return Vector2(0.0f, 0.0f);
        case kAnchorTopCenter:
            return Vector2(width * 0.5f, 0.0f);
        case kAnchorTopRight:
            return Vector2(width, 0.0f);
        case kAnchorCenterLeft:
            return Vector2(0.0f, height * 0.5f);
        case kAnchorCenterRight:
            return Vector2(width, height * 0.5f);
        case kAnchorBottomLeft:
            return Vector2(0.0f, height);
        case kAnchorBottomCenter:
            return Vector2(width * 0.5f, height);
        case kAnchorBottomRight:
            return Vector2(width, height);
        case kAnchorCenter:
        default:
            return Vector2(width * 0.5f, height * 0.5f);
    }
}

SpriteFrame CreateSpriteFrame(const TextureHandle& texture, const PixelSpace& frameX,
                              const PixelSpace& frameY, const PixelSpace& frameWidth,
                              const PixelSpace& frameHeight)
{
    qmTriggerErrorIf(
        texture == kInvalidTexture,
        "qmExternalError: Expected texture handle to be valid when creating SpriteFrame.");
    const int textureWidth = theTextureManager.GetTextureWidth(texture);
    const int textureHeight = theTextureManager.GetTextureHeight(texture);
    const int width = frameWidth == 0 ? textureWidth : frameWidth;
    const int height = frameHeight == 0 ? textureHeight : frameHeight;
    CheckFrameFits(frameX, frameY, width, height, textureWidth, textureHeight);

    SpriteFrame frame;
    frame.texture = texture;
    frame.x = static_cast<float>(frameX);
    frame.y = static_cast<float>(frameY);
    frame.width = static_cast<float>(width);
    frame.height = static_cast<float>(height);
    frame.uvLeft = TextureCoordinate(frame.x, textureWidth);
    frame.uvTop = TextureCoordinate(frame.y, textureHeight);
    frame.uvRight = TextureCoordinate(frame.x + frame.width, textureWidth);
    frame.uvBottom = TextureCoordinate(frame.y + frame.height, textureHeight);
    return frame;
}

Sprite::Sprite(const SpriteFrame& frame)
    : mOrigin(frame.width * 0.5f, frame.height * 0.5f), mFrame(frame)
{
}

void Sprite::SetOrigin(const AnchorLocation& anchor)
{
    mOrigin = GetAnchorPoint(anchor, mFrame.width, mFrame.height);
}

// Drawn point = position + R(rotation) * S(scale) * (p - origin), at z = depth: the origin lands
// on the position whatever the scale and rotation. The colour multiplies the texture through the
// default texture environment; the colour and binding are left as set here.
void Sprite::OnRender()
{
    theTextureManager.BindTexture(mFrame.texture);
    glPushMatrix();
    glTranslatef(GetPosition().x, GetPosition().y, GetDepth());
    glRotatef(mRotation, 0.0f, 0.0f, 1.0f);
    glTranslatef(-(mOrigin.x * mScale.x), -(mOrigin.y * mScale.y), 0.0f);
    glScalef(mScale.x, mScale.y, 1.0f);
    glColor4f(mColor.GetRed(), mColor.GetGreen(), mColor.GetBlue(), mColor.GetAlpha());
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(mFrame.uvLeft, mFrame.uvBottom);
    glVertex2f(0.0f, mFrame.height);
    glTexCoord2f(mFrame.uvLeft, mFrame.uvTop);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(mFrame.uvRight, mFrame.uvBottom);
    glVertex2f(mFrame.width, mFrame.height);
    glTexCoord2f(mFrame.uvRight, mFrame.uvTop);
    glVertex2f(mFrame.width, 0.0f);
    glEnd();
    glPopMatrix();
}

}  // namespace Quillmark::Graphics
