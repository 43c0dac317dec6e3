// SPDX-License-Identifier: Zlib
// The update and render gates of Graphic. Nothing here touches OpenGL: drawing is the derived
// classes' business.
#include "quill_mark/graphics/qm_graphic.h"

namespace Quillmark::Graphics
{

Graphic::~Graphic() = default;

void Graphic::Update(float deltaTime)
{
    if (mIsActive)
    {
        OnUpdate(deltaTime);
    }
}

void Graphic::Render()
{
    if (mIsVisible)
    {
        OnRender();
    }
}

void Graphic::SetPosition(float x, float y)
{
    mPosition.x = x;
    mPosition.y = y;
}

void Graphic::SetPosition(const Vector2& position)
{
    if (&position != &mPosition)
    {
        mPosition = position;
    }
}

void Graphic::OnUpdate(float /*deltaTime*/) {}

}  // namespace Quillmark::Graphics
