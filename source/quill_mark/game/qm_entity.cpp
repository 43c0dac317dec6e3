// SPDX-License-Identifier: Zlib
// Entity: the active gate around the fixed simulation step. Updating and drawing are the graphic
// list's own.
#include "quill_mark/game/qm_entity.h"

namespace Quillmark::Game
{

Entity::Entity() = default;

Entity::~Entity() = default;

void Entity::Simulate()
{
    if (IsActive())
    {
        OnSimulate();
    }
}

void Entity::OnSimulate() {}

}  // namespace Quillmark::Game
