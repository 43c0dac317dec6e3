// SPDX-License-Identifier: Zlib
// GameScene: the per-step, per-frame and drawing walks over the scene's entities and graphics,
// and the hand-over with the game loop's scene records when a scene is destroyed.
#include "quill_mark/game/qm_game_scene.h"

#include "quill_mark/game/implementation/qmi_game_application_handler.h"
#include "quill_mark/game/qm_entity.h"

namespace Quillmark::Game
{

GameScene::GameScene() = default;

GameScene::~GameScene()
{
    // The current scene is dropped without OnClose: the scene is half destroyed by now, so none
    // of its hooks may run. A pending scene is dropped as well, or the next frame would open
    // a freed scene.
    if (qmImplementation::currentScene == this)
    {
        qmImplementation::currentScene = nullptr;
    }
    if (qmImplementation::pendingScene == this)
    {
        qmImplementation::pendingScene = nullptr;
    }
    mEntities.clear();
}

void GameScene::OnSimulate()
{
    for (Entity* entity : mEntities)
    {
        entity->Simulate();
    }
}

void GameScene::OnUpdate(float frameTime)
{
    for (Entity* entity : mEntities)
    {
        entity->Update(frameTime);
    }
    mGraphics.Update(frameTime);
}

void GameScene::OnRender()
{
    for (Entity* entity : mEntities)
    {
        entity->Render();
    }
    mGraphics.Render();
}

void GameScene::OnOpen()
{
    mTimeAccumulator = 0.0f;
}

void GameScene::OnClose() {}

void GameScene::AddEntity(Entity& entity)
{
    mEntities.push_back(&entity);
}

void GameScene::AddGraphic(Graphics::Graphic& graphic)
{
    mGraphics.AddGraphic(&graphic);
}

void GameScene::RemoveGraphic(Graphics::Graphic& graphic)
{
    mGraphics.RemoveGraphic(&graphic);
}

}  // namespace Quillmark::Game
