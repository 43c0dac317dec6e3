// SPDX-License-Identifier: Zlib
// Floats enter the checksum as their bit patterns: a replay must match to the last bit, and any
// rounding difference is exactly what it is there to catch. The checksum is taken after every
// recorded frame, so it must cost little beside the frame: each graphic's values are folded with
// rotations (a cycle each) and only the fold is mixed in with a multiplication.
#include "quill_mark/game/implementation/qmi_scene_checksum.h"

#include <cstring>

#include "quill_mark/game/qm_entity.h"
#include "quill_mark/game/qm_game_scene.h"
#include "quill_mark/graphics/qm_sprite.h"

namespace qmImplementation
{

namespace
{

constexpr std::uint32_t kFnvOffset = 2166136261u;
constexpr std::uint32_t kFnvPrime = 16777619u;

class GraphicFold
{
public:
    void Add(std::uint32_t word) { mValue = ((mValue << 5) | (mValue >> 27)) ^ word; }

    void Add(float value)
    {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof(bits));
        Add(bits);
    }

    void Add(const Quillmark::Graphics::Graphic& graphic)
    {
        Add(graphic.GetPosition().x);
        Add(graphic.GetPosition().y);
        Add(graphic.GetDepth());
        Add(static_cast<std::uint32_t>(graphic.IsActive()) |
            static_cast<std::uint32_t>(graphic.IsVisible()) << 1);
    }

    // Only for an entity's own graphics: for those that are sprites the cast is a quick match of
    // the exact type, while a failing cast (as on every entity) walks the hierarchy by name.
    void AddSpritePart(const Quillmark::Graphics::Graphic& graphic)
    {
        if (const auto* sprite = dynamic_cast<const Quillmark::Graphics::Sprite*>(&graphic))
        {
            Add(sprite->GetScale().x);
            Add(sprite->GetScale().y);
            Add(sprite->GetRotation());
        }
    }

    std::uint32_t Value() const { return mValue; }

private:
    std::uint32_t mValue = 0;
};

}  // namespace

std::uint32_t ChecksumOfScene(const Quillmark::Game::GameScene& scene)
{
    std::uint32_t checksum = kFnvOffset;
    const auto mix = [&checksum](const GraphicFold& fold)
    { checksum = (checksum ^ fold.Value()) * kFnvPrime; };
    for (const Quillmark::Game::Entity* entity : scene.GetEntities())
    {
        GraphicFold entityFold;
        entityFold.Add(*entity);
        mix(entityFold);
        for (const Quillmark::Graphics::Graphic* graphic : entity->GetGraphics())
        {
            // Lists may hold null entries; they draw nothing and move nothing.
            if (graphic != nullptr)
            {
                GraphicFold graphicFold;
                graphicFold.Add(*graphic);
                graphicFold.AddSpritePart(*graphic);
                mix(graphicFold);
            }
        }
    }
    return checksum;
}

}  // namespace qmImplementation
