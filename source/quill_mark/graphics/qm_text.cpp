// SPDX-License-Identifier: Zlib
// Laying text out into quads once, and drawing them in immediate mode with the sprite's transform:
// drawn point = position + R(rotation) * S(scale) * (p - origin), at z = depth.
#include "quill_mark/graphics/qm_text.h"

#include <GL/gl.h>

#include "quill_mark/graphics/implementation/qmi_baked_font.h"

namespace Quillmark::Graphics
{

Text::Text() = default;

Text::Text(const Font& font, const std::string& utf8) : mFont(font), mString(utf8)
{
    Relayout();
}

void Text::SetString(const std::string& utf8)
{
    if (utf8 != mString)
    {
        mString = utf8;
        Relayout();
    }
}

void Text::SetFont(const Font& font)
{
    mFont = font;
    Relayout();
}

void Text::SetOrigin(const AnchorLocation& anchor)
{
    mAnchor = anchor;
    mOrigin = GetAnchorPoint(mAnchor, mSize.x, mSize.y);
}

void Text::Relayout()
{
    mQuads.clear();
    mSize = Vector2();
    if (mFont.mBaked)
    {
        mSize = mFont.mBaked->Layout(
            mString,
            [this](const qmImplementation::PlacedGlyph& placed)
            {
                const qmImplementation::BakedGlyph& g = *placed.glyph;
                mQuads.push_back(Quad{placed.x, placed.y, float(g.width), float(g.height), g.uvLeft,
                                      g.uvTop, g.uvRight, g.uvBottom});
            });
    }
    mOrigin = GetAnchorPoint(mAnchor, mSize.x, mSize.y);
}

void Text::OnRender()
{
    if (mQuads.empty())
    {
        return;
    }
    theTextureManager.BindTexture(mFont.GetTexture());
    glPushMatrix();
    glTranslatef(GetPosition().x, GetPosition().y, GetDepth());
    glRotatef(mRotation, 0.0f, 0.0f, 1.0f);
    glTranslatef(-(mOrigin.x * mScale.x), -(mOrigin.y * mScale.y), 0.0f);
    glScalef(mScale.x, mScale.y, 1.0f);
    glColor4f(mColor.GetRed(), mColor.GetGreen(), mColor.GetBlue(), mColor.GetAlpha());
    glBegin(GL_QUADS);
    for (const Quad& q : mQuads)
    {
        glTexCoord2f(q.uvLeft, q.uvTop);
        glVertex2f(q.x, q.y);
        glTexCoord2f(q.uvLeft, q.uvBottom);
        glVertex2f(q.x, q.y + q.height);
        glTexCoord2f(q.uvRight, q.uvBottom);
        glVertex2f(q.x + q.width, q.y + q.height);
        glTexCoord2f(q.uvRight, q.uvTop);
        glVertex2f(q.x + q.width, q.y);
    }
    glEnd();
    glPopMatrix();
}

}  // namespace Quillmark::Graphics
