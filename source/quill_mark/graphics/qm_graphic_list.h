// SPDX-License-Identifier: Zlib
// A graphic that updates and draws other graphics in the order they were added, moved by its own
// position and depth. It holds pointers it does not own; it neither scales, rotates, colours nor
// clips its children.
#pragma once

#include <list>

#include "quill_mark/graphics/qm_graphic.h"

namespace Quillmark::Graphics
{

class GraphicList : public Graphic
{
public:
    GraphicList() = default;
    ~GraphicList() override;

    // Appends without checks: null and repeated pointers are kept (a repeated one is updated and
    // drawn once per entry). The graphic must outlive its entries.
    void AddGraphic(Graphic* graphic);
    // Removes every entry equal to the pointer; an unknown pointer changes nothing.
    void RemoveGraphic(Graphic* graphic);
    const std::list<Graphic*>& GetGraphics() const { return mGraphics; }

    // The list must not be changed by its children while these walk it.
    void OnUpdate(float deltaTime) override;
    void OnRender() override;

private:
    std::list<Graphic*> mGraphics;
};

}  // namespace Quillmark::Graphics
