// SPDX-License-Identifier: Zlib
// The firefly's motion and sound. Motion goes in the fixed simulation step, so it covers the same
// path at any frame rate; the glow advances in the per-frame update the entity passes on to it.
#include "firefly.h"

#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/game/qm_game_application.h"
#include "quill_mark/graphics/qm_sprite_manager.h"

namespace FirstGame
{

namespace
{
constexpr float kGlowFramesPerSecond = 10.0f;
constexpr float kDrawScale = 2.0f;
constexpr float kFollowPerStep = 0.1f;
}  // namespace

Firefly::Firefly()
    : mGlow(Quillmark::Graphics::theSpriteManager.GetSpriteSheet("sprites"), "glow",
            kGlowFramesPerSecond, true)
{
    mGlow.SetScale(kDrawScale, kDrawScale);
    // Drawn at the entity's position: the entity's graphics are placed relative to it.
    AddGraphic(&mGlow);
    SetPosition(640.0f, 360.0f);
}

Firefly::~Firefly()
{
    // The animation is a member: take it out of the entity's own list before it goes.
    RemoveGraphic(&mGlow);
}

void Firefly::OnSimulate()
{
    const Quillmark::Graphics::Vector2 target = mSteering.Step(Quillmark::Game::kFixedTimeStep);
    const Quillmark::Graphics::Vector2& position = GetPosition();
    SetPosition(position.x + (target.x - position.x) * kFollowPerStep,
                position.y + (target.y - position.y) * kFollowPerStep);
}

void Firefly::Chirp()
{
    Quillmark::Audio::theAudioManager.PlayEvent("sounds", "chirp");
}

}  // namespace FirstGame
