// SPDX-License-Identifier: Zlib
// Walking a graphic list: children are updated through their own gates, and drawn inside one
// pushed modelview matrix translated by the list's position and depth, so offsets add up as lists
// nest. The modelview matrix is the only OpenGL state touched, and it is restored.
#include "quill_mark/graphics/qm_graphic_list.h"

#include <GL/gl.h>

#include "quill_mark/core/qm_error.h"

namespace Quillmark::Graphics
{

GraphicList::~GraphicList() = default;

void GraphicList::AddGraphic(Graphic* graphic)
{
    mGraphics.push_back(graphic);
}

void GraphicList::RemoveGraphic(Graphic* graphic)
{
    mGraphics.remove(graphic);
}

void GraphicList::OnUpdate(float deltaTime)
{
    for (Graphic* graphic : mGraphics)
    {
        // Null entries are accepted by AddGraphic; walking past them beats crashing on them.
        if (graphic != nullptr)
        {
            graphic->Update(deltaTime);
        }
    }
}

void GraphicList::OnRender()
{
    glPushMatrix();
    glTranslatef(GetPosition().x, GetPosition().y, GetDepth());
    for (Graphic* graphic : mGraphics)
    {
        if (graphic == nullptr)
        {
            continue;
        }
        // Reported, then drawn all the same: the report is the whole of the support missing.
        // Tested here rather than through qmTriggerErrorIf to spare every child a call.
        if (!graphic->IsListDrawable())
        {
            qmTriggerError(
                "qmInternalError: Not yet implemented or supported, maybe in the future.");
        }
        graphic->Render();
    }
    glPopMatrix();
}

}  // namespace Quillmark::Graphics
