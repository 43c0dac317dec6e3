// Floats enter the checksum as their bit patterns: a replay must match to the last bit, and any
// rounding difference is exactly what it is there to catch.
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

class Checksum
{
public:
    void Add(std::uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
        {
            mValue = (mValue ^ ((value >> shift) & 0xFFu)) * kFnvPrime;
        }
    }

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
        if (const auto* sprite = dynamic_cast<const Quillmark::Graphics::Sprite*>(&graphic))
        {
            Add(sprite->GetScale().x);
            Add(sprite->GetScale().y);
            Add(sprite->GetRotation());
        }
    }

    std::uint32_t Value() const { return mValue; }

private:
    std::uint32_t mValue = kFnvOffset;
};

}  // namespace

std::uint32_t ChecksumOfScene(const Quillmark::Game::GameScene& scene)
{
    Checksum checksum;
    for (const Quillmark::Game::Entity* entity : scene.GetEntities())
    {
        checksum.Add(*entity);
        for (const Quillmark::Graphics::Graphic* graphic : entity->GetGraphics())
        {
            // Lists may hold null entries; they draw nothing and move nothing.
            if (graphic != nullptr)
            {
                checksum.Add(*graphic);
            }
        }
    }
    return checksum.Value();
}

}  // namespace qmImplementation
