// SPDX-License-Identifier: Zlib
// The player follows the cursor exactly (also outside the window, where client coordinates go
// negative or past the size) and grows by 0.04 pixels of radius per step up to twice its size.
#include "cinderpath2/player_entity.h"

#include <cstdint>

#include "quill_mark/application/qm_input_state.h"
#include "quill_mark/graphics/qm_color.h"

namespace Cinderpath2
{

namespace
{
constexpr unsigned int kAzure = 0xFF00AAFFu;
constexpr float kMaximumRadius = 128.0f;
// Added in double precision, so the radius stops at 128.00146, the first float not below 128.
constexpr double kGrowthPerStep = 0.04;
}  // namespace

PlayerEntity::PlayerEntity()
{
    SetPosition(kWindowCentre.x, kWindowCentre.y);
    mSprite.SetColor(Quillmark::Graphics::Color(kAzure));
}

PlayerEntity::~PlayerEntity() = default;

void PlayerEntity::OnUpdate(float deltaTime)
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    Quillmark::Application::GetMousePosition(x, y);
    SetPosition(static_cast<float>(x), static_cast<float>(y));
    BasicEntity::OnUpdate(deltaTime);
}

void PlayerEntity::OnSimulate()
{
    BasicEntity::OnSimulate();
    if (radius < kMaximumRadius)
    {
        SetRadius(static_cast<float>(radius + kGrowthPerStep));
    }
}

}  // namespace Cinderpath2
