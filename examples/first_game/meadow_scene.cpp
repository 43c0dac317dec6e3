// SPDX-License-Identifier: Zlib
// Input, the score and the end of the game. Keys are read once per frame, in the update; the
// scene's base class then updates the firefly (and with it the glow animation) with the same frame
// time, and draws the score above it. The music is fed by the audio manager every frame.
#include "meadow_scene.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "quill_mark/application/qm_input_state.h"
#include "quill_mark/platform/qm_random.h"

namespace FirstGame
{

namespace
{
constexpr float kCatchRadius = 32.0f;  // the glow drawn at twice its 32-pixel frame
constexpr float kScoreDepth = 0.5f;    // in front of the firefly

std::string ScoreText(int caught)
{
    return "Fireflies caught: " + std::to_string(caught);
}
}  // namespace

MeadowScene::MeadowScene(Quillmark::Game::GameApplication& application, int frameLimit)
    : mApplication(application),
      mFrameLimit(frameLimit),
      mFont("data/fonts/DejaVuSans.ttf", 28),
      mScore(mFont, ScoreText(0)),
      mMusic("data/music/meadow.ogg")
{
    AddEntity(mFirefly);
    mScore.SetPosition(24.0f, 20.0f);
    mScore.SetDepth(kScoreDepth);
    mScore.SetColor(Quillmark::Graphics::Color(0xFFDCFF5Au));
    AddGraphic(mScore);
    mMusic.SetLooping(true);
    mMusic.SetVolume(0.6f);
}

MeadowScene::~MeadowScene()
{
    // The score is a member: take it out of the scene's list before it goes.
    RemoveGraphic(mScore);
}

void MeadowScene::OnOpen()
{
    GameScene::OnOpen();
    mFirefly.Chirp();
    mMusic.Play();
}

void MeadowScene::OnClose()
{
    mMusic.Stop();
    GameScene::OnClose();
}

// A catch: the firefly chirps and flies off to a random place, from where it drifts back.
void MeadowScene::Catch()
{
    ++mCaught;
    mScore.SetString(ScoreText(mCaught));
    mFirefly.Chirp();
    using Quillmark::Platform::RandomFloat;
    mFirefly.SetPosition(80.0f + RandomFloat() * 1120.0f, 80.0f + RandomFloat() * 560.0f);
}

void MeadowScene::OnUpdate(float frameTime)
{
    using namespace Quillmark::Application;
    ++mFrameCount;
    std::int32_t mouseX = 0;
    std::int32_t mouseY = 0;
    GetMousePosition(mouseX, mouseY);
    const Quillmark::Graphics::Vector2& firefly = mFirefly.GetPosition();
    const float dx = float(mouseX) - firefly.x;
    const float dy = float(mouseY) - firefly.y;
    const bool onFirefly = std::sqrt(dx * dx + dy * dy) < kCatchRadius;
    if (IsKeyReleased(kMouseLeft) && onFirefly)
    {
        Catch();
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
