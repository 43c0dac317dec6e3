// SPDX-License-Identifier: Zlib
// The game loop: the application handler every GameApplication runs on, the scene records it
// reads at the start of each frame, and the scene step (scene change, fixed simulation steps,
// audio, per-frame update, drawing in a pixel-exact 2D projection unless frames are not drawn,
// and the frame observer's checksum when a session is recorded or replayed).
#pragma once

#include "quill_mark/application/qm_application_handler_interface.h"
#include "quill_mark/game/qm_game_clock.h"

namespace Quillmark::Game
{
class GameApplication;
class GameScene;
}  // namespace Quillmark::Game

namespace qmImplementation
{

class GameApplicationHandler : public Quillmark::Application::ApplicationHandlerInterface
{
public:
    ~GameApplicationHandler() override;

    // Clears the new window to opaque black and starts the game clock.
    void OnOpen() override;
    // Measures the frame time, cuts it to kMaximumFrameTime and runs the scene step.
    void OnFrame() override;

    // One frame of the current scene (or the default scene) with an already clamped frame time.
    // OnFrame's work after timing; drivers that choose the frame time themselves call it directly.
    void StepScene(float frameTime);

    // Set by each GameApplication as it is constructed (one per process); never cleared.
    Quillmark::Game::GameApplication* gameApplication = nullptr;
    Quillmark::Game::Stopwatch frameTimer;

private:
    // Adds the frame time to the scene's accumulator and runs the fixed steps it holds, at most
    // kMaximumStepsPerFrame; the rest carries over.
    static void RunFixedSteps(Quillmark::Game::GameScene& scene, float frameTime);
};

extern GameApplicationHandler theGameApplicationHandler;

// The scene to make current at the start of the next frame, and the scene the loop runs (the
// default scene when null). A scene clears whichever of them points at it when it is destroyed.
extern Quillmark::Game::GameScene* pendingScene;
extern Quillmark::Game::GameScene* currentScene;

// Reports a handler that opens without a GameApplication; lives beside the application so that the
// report names the application's file.
void CheckGameApplicationIsSet(const Quillmark::Game::GameApplication* gameApplication);

}  // namespace qmImplementation
