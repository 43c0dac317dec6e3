// SPDX-License-Identifier: Zlib
// The firefly: an entity that drifts after the mouse cursor (or where a gamepad's stick steers
// it) in fixed steps, glowing with the sprite sheet's "glow" animation. It chirps when asked; when
// it chirps is the scene's business.
#pragma once

#include "quill_mark/game/qm_entity.h"
#include "quill_mark/graphics/qm_animation_player.h"
#include "steering.h"

namespace FirstGame
{

class Firefly : public Quillmark::Game::Entity
{
public:
    Firefly();
    ~Firefly() override;
    Firefly(const Firefly&) = delete;
    Firefly& operator=(const Firefly&) = delete;

    // One fixed step: a tenth of the way to where it is steered.
    void OnSimulate() override;
    // Plays the "chirp" event, at a pitch drawn anew each time.
    void Chirp();

private:
    Quillmark::Graphics::AnimationPlayer mGlow;
    Steering mSteering;
};

}  // namespace FirstGame
