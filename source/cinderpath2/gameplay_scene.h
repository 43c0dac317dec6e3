// SPDX-License-Identifier: Zlib
// The game's only scene: spawns circles on a ring around the window's centre ever more often,
// lets them fly through, and plays the "explosion" event when one overlaps the player. No score,
// no removal, no end: releasing Escape quits through the scene manager.
#pragma once

#include <deque>

#include "cinderpath2/basic_entity.h"
#include "cinderpath2/player_entity.h"
#include "quill_mark/core/qm_noncopyable.h"
#include "quill_mark/game/qm_game_scene.h"

namespace Cinderpath2
{

class GameplayScene : public Quillmark::Game::GameScene, private Quillmark::Core::Noncopyable
{
public:
    GameplayScene();
    ~GameplayScene() override;

    void OnSimulate() override;
    void OnUpdate(float frameTime) override;
    void OnOpen() override;

    // Read-only views for tools and tests (the game itself never asks).
    const PlayerEntity& GetPlayer() const { return mPlayer; }
    const std::deque<BasicEntity>& GetSpawnedEntities() const { return mSpawnedEntities; }

private:
    void SpawnEntity();
    void TestCollisions();

    PlayerEntity mPlayer;
    // In creation order, which is also the order collisions are tested in. A deque, so entities
    // never move while the scene's entity list points at them.
    std::deque<BasicEntity> mSpawnedEntities;
    // Seconds until the next spawn, which happens when it drops below 0.
    float mSpawnTimer;
    float mSpawnInterval;
    // Collisions are tested only while this is below 0.
    float mExplosionCooldown;
};

}  // namespace Cinderpath2
