// SPDX-License-Identifier: Zlib
// A circle that flies at a constant velocity: the game's spawned obstacles, and the base of the
// player. It draws the sheet's "solid_circle" sprite scaled to its radius and knows the circle
// test; it does not decide when it is spawned or what a collision means (the gameplay scene does).
#pragma once

#include "quill_mark/game/qm_entity.h"
#include "quill_mark/graphics/qm_graphic.h"
#include "quill_mark/graphics/qm_sprite.h"

namespace Cinderpath2
{

// The centre of the 1280 x 720 window: where the player starts and what spawned circles cross.
constexpr Quillmark::Graphics::Vector2 kWindowCentre = {640.0f, 360.0f};

class BasicEntity : public Quillmark::Game::Entity
{
public:
    BasicEntity();
    ~BasicEntity() override;

    BasicEntity(const BasicEntity&) = delete;
    BasicEntity& operator=(const BasicEntity&) = delete;

    // Keeps the sprite's scale at radius / 64, the radius its frame is drawn with at scale 1.
    void SetRadius(float newRadius);

    // True when the two circles overlap; circles that only touch do not collide.
    bool IsCollidingWith(const BasicEntity& other) const;

    // Read by the collision test and the player's growth; written through SetRadius.
    float radius;
    // Pixels per second of game time; the gameplay scene sets it once after spawning.
    Quillmark::Graphics::Vector2 velocity;

    // One fixed step of straight-line motion.
    void OnSimulate() override;

protected:
    Quillmark::Graphics::Sprite mSprite;
};

}  // namespace Cinderpath2
