// SPDX-License-Identifier: Zlib
// The base of everything drawable: a position, a depth (the z coordinate under the 2D projection)
// and the switches that gate updating and drawing. Graphics are values and may be copied; lists
// that hold them do not own them.
#pragma once

#include "quill_mark/graphics/qm_vector2.h"

namespace Quillmark::Graphics
{

class Graphic
{
public:
    Graphic() = default;
    Graphic(const Graphic&) = default;
    Graphic& operator=(const Graphic&) = default;
    virtual ~Graphic();

    // The gates: callers go through these, so the switches are honoured everywhere. The time is
    // in seconds (the game loop passes the frame time).
    void Update(float deltaTime);
    void Render();

    // In window pixels, or relative to the list (an entity, say) that draws the graphic.
    const Vector2& GetPosition() const { return mPosition; }
    void SetPosition(float x, float y);
    void SetPosition(const Vector2& position);
    float GetDepth() const { return mDepth; }
    // A larger depth draws in front whatever the order; outside -1 to 1 it is clipped away.
    void SetDepth(float depth) { mDepth = depth; }
    bool IsActive() const { return mIsActive; }
    void SetActive(bool isActive) { mIsActive = isActive; }
    bool IsVisible() const { return mIsVisible; }
    void SetVisible(bool isVisible) { mIsVisible = isVisible; }
    bool IsListDrawable() const { return mListDrawable; }

    // The hooks behind the gates. Public so derived classes of any depth can chain to a base
    // version, but outside code should call Update and Render instead.
    virtual void OnUpdate(float deltaTime);
    virtual void OnRender() = 0;

protected:
    // For graphics that cannot be drawn inside a list; lists report them when they draw them.
    void SetListDrawable(bool listDrawable) { mListDrawable = listDrawable; }

private:
    Vector2 mPosition;
    float mDepth = 0.0f;
    bool mIsActive = true;
    bool mIsVisible = true;
    bool mListDrawable = true;
};

}  // namespace Quillmark::Graphics
