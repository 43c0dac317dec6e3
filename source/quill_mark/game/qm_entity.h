// SPDX-License-Identifier: Zlib
// The base of the game's moving objects: a graphic list (its graphics are drawn relative to the
// entity's position and depth) that also takes part in the scene's fixed simulation steps.
// Entities are owned by whoever made them; scenes only point at them.
#pragma once

#include "quill_mark/graphics/qm_graphic_list.h"

namespace Quillmark::Game
{

class Entity : public Graphics::GraphicList
{
public:
    Entity();
    ~Entity() override = 0;

    // Runs OnSimulate while the entity is active, the same gate as Update.
    void Simulate();

    // One fixed simulation step; nothing by default.
    virtual void OnSimulate();
};

}  // namespace Quillmark::Game
