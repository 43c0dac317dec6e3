// The first game's one scene: a firefly in the dark. A left click makes it chirp, releasing Escape
// quits. A frame limit above 0 ends the game after that many frames, for automated runs.
#pragma once

#include "firefly.h"
#include "quill_mark/game/qm_game_application.h"
#include "quill_mark/game/qm_game_scene.h"

namespace FirstGame
{

class MeadowScene : public Quillmark::Game::GameScene
{
public:
    MeadowScene(Quillmark::Game::GameApplication& application, int frameLimit);
    ~MeadowScene() override;

    // The firefly greets the player when the scene starts.
    void OnOpen() override;
    void OnUpdate(float frameTime) override;

    int GetFrameCount() const { return mFrameCount; }

private:
    Quillmark::Game::GameApplication& mApplication;
    int mFrameLimit;
    int mFrameCount = 0;
    Firefly mFirefly;
};

}  // namespace FirstGame
