// SPDX-License-Identifier: Zlib
// The game loop's frame. Frame time is accumulated and stepped out in 32-bit floats, so the
// number of steps a frame runs is that of single-precision arithmetic, also at the edges (a
// remainder of 0.0100000016 is more than one step). The loop allocates nothing of its own.
#include "quill_mark/game/implementation/qmi_game_application_handler.h"

#include <GL/gl.h>

#include "quill_mark/audio/qm_audio_manager.h"
#include "quill_mark/game/implementation/qmi_default_scene.h"
#include "quill_mark/game/implementation/qmi_drawing_2d.h"
#include "quill_mark/game/implementation/qmi_scene_checksum.h"
#include "quill_mark/game/qm_game_application.h"
#include "quill_mark/game/qm_game_scene.h"
#include "quill_mark/platform/qm_frame_observer.h"

namespace qmImplementation
{

using Quillmark::Game::GameScene;

GameApplicationHandler theGameApplicationHandler;
GameScene* pendingScene = nullptr;
GameScene* currentScene = nullptr;

namespace
{

void ChangeScene()
{
    if (pendingScene == nullptr)
    {
        return;
    }
    if (currentScene != nullptr)
    {
        currentScene->OnClose();
    }
    currentScene = pendingScene;
    // Cleared before OnOpen, so a scene that makes another scene pending from its OnOpen gets
    // that change at the next frame instead of losing it.
    pendingScene = nullptr;
    currentScene->OnOpen();
}

}  // namespace

GameApplicationHandler::~GameApplicationHandler() = default;

void GameApplicationHandler::RunFixedSteps(GameScene& scene, float frameTime)
{
    float& accumulator = scene.mTimeAccumulator;
    accumulator += frameTime;
    int steps = 0;
    while (Quillmark::Game::kFixedTimeStep < accumulator &&
           steps < Quillmark::Game::kMaximumStepsPerFrame)
    {
        scene.OnSimulate();
        accumulator -= Quillmark::Game::kFixedTimeStep;
        ++steps;
    }
}

void GameApplicationHandler::OnOpen()
{
    CheckGameApplicationIsSet(gameApplication);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Quillmark::Game::InitializeClock();
    frameTimer.Start();
}

void GameApplicationHandler::OnFrame()
{
    frameTimer.Update();
    float frameTime = static_cast<float>(frameTimer.GetDeltaTime());
    if (frameTime > Quillmark::Game::kMaximumFrameTime)
    {
        frameTime = Quillmark::Game::kMaximumFrameTime;
    }
    StepScene(frameTime);
}

void GameApplicationHandler::StepScene(float frameTime)
{
    ChangeScene();
    GameScene& scene = currentScene != nullptr ? *currentScene : theDefaultScene;

    RunFixedSteps(scene, frameTime);
    Quillmark::Audio::theAudioManager.Update();
    scene.OnUpdate(frameTime);

    if (Quillmark::Platform::AreFramesDrawn())
    {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        BeginDrawing2D();
        scene.OnRender();
        EndDrawing2D();
    }

    // Only a run that is recorded or replayed pays for the checksum.
    if (const Quillmark::Platform::FrameObserver observer = Quillmark::Platform::GetFrameObserver())
    {
        observer(ChecksumOfScene(scene));
    }
}

}  // namespace qmImplementation
