// SPDX-License-Identifier: Zlib
// The spawned circles: a sprite from the prototyping sheet, a radius and a straight-line motion
// advanced in fixed steps. The float widths of each computation are part of the game's behaviour
// (they decide in which step two circles first overlap), so they are spelled out.
#include "cinderpath2/basic_entity.h"

#include <cmath>

#include "quill_mark/game/qm_game_application.h"
#include "quill_mark/graphics/qm_sprite_manager.h"

namespace Cinderpath2
{

namespace
{
// The "solid_circle" frame is a disc 128 pixels across, so scale 1 draws radius 64.
constexpr float kFrameRadius = 64.0f;
constexpr double kScalePerRadius = 1.0 / 64.0;
}  // namespace

BasicEntity::BasicEntity()
    : radius(kFrameRadius),
      velocity{0.0f, 0.0f},
      mSprite(Quillmark::Graphics::theSpriteManager.GetSprite("prototyping_sheet", "solid_circle"))
{
    AddGraphic(&mSprite);
}

BasicEntity::~BasicEntity()
{
    // The sprite is a member: take it out of our own list before it goes.
    RemoveGraphic(&mSprite);
}

void BasicEntity::SetRadius(float newRadius)
{
    radius = newRadius;
    const float scale = static_cast<float>(newRadius * kScalePerRadius);
    mSprite.SetScale(scale, scale);
}

bool BasicEntity::IsCollidingWith(const BasicEntity& other) const
{
    const float dx = other.GetPosition().x - GetPosition().x;
    const float dy = other.GetPosition().y - GetPosition().y;
    const float squared = dx * dx + dy * dy;
    const float distance = std::sqrt(squared);
    return other.radius + radius > distance;
}

void BasicEntity::OnSimulate()
{
    Entity::OnSimulate();
    // One step of the game loop is kFixedTimeStep seconds, so velocity is a speed per second.
    const Quillmark::Graphics::Vector2& position = GetPosition();
    const float x = position.x + velocity.x * Quillmark::Game::kFixedTimeStep;
    const float y = position.y + velocity.y * Quillmark::Game::kFixedTimeStep;
    SetPosition(x, y);
}

}  // namespace Cinderpath2
