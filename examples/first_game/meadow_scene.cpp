// Input and the end of the game. Keys are read once per frame, in the update; the scene's base
// class then updates the firefly (and with it the glow animation) with the same frame time.
#include "meadow_scene.h"

#include "quill_mark/application/qm_input_state.h"

namespace FirstGame
{

MeadowScene::MeadowScene(Quillmark::Game::GameApplication& application, int frameLimit)
    : mApplication(application), mFrameLimit(frameLimit)
{
    AddEntity(mFirefly);
}

MeadowScene::~MeadowScene() = default;

void MeadowScene::OnOpen()
{
    GameScene::OnOpen();
    mFirefly.Chirp();
}

void MeadowScene::OnUpdate(float frameTime)
{
    using namespace Quillmark::Application;
    ++mFrameCount;
    if (IsKeyReleased(kMouseLeft))
    {
        mFirefly.Chirp();
    }
    const bool limitReached = mFrameLimit > 0 && mFrameCount >= mFrameLimit;
    if (IsKeyReleased(kKeyEscape) || limitReached)
    {
        // The window closes now; the loop ends once this frame is done.
        mApplication.Close();
    }
    GameScene::OnUpdate(frameTime);
}

}  // namespace FirstGame
