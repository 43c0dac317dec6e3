// SPDX-License-Identifier: Zlib
// Owns the game's scenes while the game runs and lets any part of the game reach them by
// identifier or end the game. One manager at most, reached through theSceneManager; scene
// changes are not its business (the game application makes a scene current).
#pragma once

#include <memory>
#include <vector>

#include "quill_mark/core/qm_noncopyable.h"
#include "quill_mark/game/qm_game_application.h"
#include "quill_mark/game/qm_game_scene.h"

namespace Cinderpath2
{

// Index into the manager's scene list.
enum SceneIdentifier : int
{
    kGameplayScene = 0,
};

class SceneManager : private Quillmark::Core::Noncopyable
{
public:
    static void Create(Quillmark::Game::GameApplication& gameApplication);
    static void Destroy();
    static Quillmark::Game::GameScene& GetScene(const SceneIdentifier& sceneIdentifier);
    // Closes the window; the game loop ends after the current frame.
    static void QuitGame();

    // Deletes the scenes, the last created first.
    ~SceneManager();

private:
    explicit SceneManager(Quillmark::Game::GameApplication& gameApplication);

    std::vector<std::unique_ptr<Quillmark::Game::GameScene>> mScenes;
    Quillmark::Game::GameApplication& mGameApplication;
};

// The current manager; null before Create and after Destroy. A manager replaced by a second
// Create is kept, scenes and all, until Destroy deletes every manager.
extern SceneManager* theSceneManager;

}  // namespace Cinderpath2
