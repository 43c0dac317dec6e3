// SPDX-License-Identifier: Zlib
// Spawning, the collision cooldown and quitting. The timers are stepped with double constants and
// stored back in floats: that rounding decides the exact steps of the spawns (1, 2, 98, 193, ...)
// and the interval's floor (0.4750005), so the arithmetic below keeps those widths on purpose.
#include "cinderpath2/gameplay_scene.h"

#include <cmath>

#include "cinderpath2/scene_manager.h"
#include "quill_mark/application/qm_input_state.h"
#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/platform/qm_random.h"

namespace Cinderpath2
{

namespace
{
constexpr double kStepSeconds = 0.01;
constexpr double kShortestInterval = 0.5;
constexpr double kIntervalShortening = 0.025;
constexpr float kCooldownAfterExplosion = 2.0f;
constexpr float kRingRadius = 600.0f;
constexpr float kSpawnSpeed = 300.0f;
constexpr double kShortestDirection = 0.00001;
}  // namespace

GameplayScene::GameplayScene()
    : mPlayer(), mSpawnTimer(-1.0f), mSpawnInterval(1.0f), mExplosionCooldown(-1.0f)
{
    // First entity of the scene, so it is simulated, updated and drawn before any spawned one.
    AddEntity(mPlayer);
}

// The scene is destroyed only after the loop has ended, so nothing can reach the spawned entities
// any more: they go with it rather than being left to the process exit.
GameplayScene::~GameplayScene() = default;

void GameplayScene::OnOpen()
{
    // Deliberately not GameScene's OnOpen: the time accumulator is left as it is.
    mSpawnTimer = -1.0f;
}

void GameplayScene::OnSimulate()
{
    GameScene::OnSimulate();

    mSpawnTimer = static_cast<float>(mSpawnTimer - kStepSeconds);
    if (mSpawnTimer < 0.0f)
    {
        SpawnEntity();
        mSpawnTimer += mSpawnInterval;
        if (mSpawnInterval > kShortestInterval)
        {
            mSpawnInterval = static_cast<float>(mSpawnInterval - kIntervalShortening);
        }
    }

    if (mExplosionCooldown >= 0.0f)
    {
        mExplosionCooldown = static_cast<float>(mExplosionCooldown - kStepSeconds);
    }

    if (mExplosionCooldown < 0.0f)
    {
        TestCollisions();
    }
}

void GameplayScene::TestCollisions()
{
    // Every entity overlapping in this step plays the event once; the walk does not stop early.
    for (const BasicEntity& entity : mSpawnedEntities)
    {
        if (entity.IsCollidingWith(mPlayer))
        {
            Quillmark::Audio::theAudioManager.PlayEvent("audio_events", "explosion");
            mExplosionCooldown = kCooldownAfterExplosion;
        }
    }
}

void GameplayScene::SpawnEntity()
{
    // dx is drawn before dy: the order is part of the shared random sequence.
    const float firstDraw = Quillmark::Platform::RandomFloat();
    float dx = static_cast<float>((firstDraw - 0.5) * 2.0);
    const float secondDraw = Quillmark::Platform::RandomFloat();
    float dy = static_cast<float>((secondDraw - 0.5) * 2.0);

    const float squared = dx * dx + dy * dy;
    const float length = std::fabs(std::sqrt(squared));
    if (length > kShortestDirection)
    {
        dx /= length;
        dy /= length;
    }

    BasicEntity& entity = mSpawnedEntities.emplace_back();
    entity.SetPosition(kWindowCentre.x - dx * kRingRadius, kWindowCentre.y - dy * kRingRadius);
    entity.velocity.x = dx * kSpawnSpeed;
    entity.velocity.y = dy * kSpawnSpeed;
    AddEntity(entity);
}

void GameplayScene::OnUpdate(float frameTime)
{
    if (Quillmark::Application::IsKeyReleased(Quillmark::Application::kKeyEscape))
    {
        SceneManager::QuitGame();
    }
    GameScene::OnUpdate(frameTime);
}

}  // namespace Cinderpath2
