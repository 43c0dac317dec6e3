// SPDX-License-Identifier: Zlib
// The player's circle: tinted azure, placed under the mouse cursor every frame and growing in
// every fixed step until its radius reaches 128. It has no state of its own beyond BasicEntity's.
#pragma once

#include "cinderpath2/basic_entity.h"

namespace Cinderpath2
{

class PlayerEntity : public BasicEntity
{
public:
    PlayerEntity();
    ~PlayerEntity() override;

    // Moves to the mouse cursor.
    void OnUpdate(float deltaTime) override;
    void OnSimulate() override;
};

}  // namespace Cinderpath2
